#include "inibase.h"

#include "customlinker.h"
#include "inierror.h"
#include "inilineparser.h"
#include "iniprocessor.h"
#include "initext.h"

#include <algorithm>
#include <iterator>

namespace {

// Holds the store's lock from a successful lockFile() until the end of the scope.
class LockHolder
{
public:
    LockHolder(IniBase &store, bool locked) : m_store(store), m_locked(locked) {}
    ~LockHolder()
    {
        if (m_locked)
            m_store.unlockFile();
    }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

private:
    IniBase &m_store;
    bool m_locked;
};

// The section;key part of an entry.
std::string_view nameOf(std::string_view entry)
{
    return entry.substr(0, entry.find('='));
}

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Reading trims every line of its blanks and control characters and then drops each ";" of a
// name. A name that begins or ends with such characters keeps them behind or before a ";".
bool beginsWithBlank(std::string_view name)
{
    return !name.empty() && isBlankOrControl(name.front());
}

bool endsWithBlank(std::string_view name)
{
    return !name.empty() && isBlankOrControl(name.back());
}

// "[" + section + "]"; a section beginning with "**" (read from a header such as "[ **3]")
// keeps a blank after the bracket, or it would come back as a user-block marker.
void setSectionHeader(std::string &line, std::string_view section)
{
    line.assign(1, '[');
    if (beginsWithBlank(section))
        line.append(1, ';');
    else if (section.substr(0, 2) == "**")
        line.append(1, ' ');
    line.append(section);
    if (endsWithBlank(section))
        line.append(1, ';');
    line.append(1, ']');
}

// "key=value". A key that lost a ";" when it was read can make the line begin with "[" (after
// the blanks the trim takes) while the value ends with "]": such a line would come back as a
// section header or a user-block marker, so it keeps a ";" in front, which reading drops again.
void setKeyLine(std::string &line, std::string_view text)
{
    const std::string_view key = text.substr(0, text.find('='));
    const std::string_view trimmed = IniText::trim(text);
    line.clear();
    if (beginsWithBlank(key) || (trimmed.starts_with('[') && trimmed.ends_with(']')))
        line.append(1, ';');
    line.append(key);
    if (endsWithBlank(key))
        line.append(1, ';');
    line.append(text.substr(key.size()));
}

} // namespace

IniBase::IniBase(std::string name) : m_name(std::move(name)) {}

IniBase::~IniBase()
{
    IniProcessor::instance().storeDestroyed(this);
}

void IniBase::setDefaultSection(std::string_view section)
{
    m_defaultSection = normalizeName(section);
}

void IniBase::read()
{
    if (m_dontRead)
        return;
    m_replacedSections.clear();
    m_replacedKeys.clear();
    std::vector<std::string> lines;
    bool loaded = false;
    {
        const LockHolder lock(*this, lockFile());
        // Reading goes on without the lock when it cannot be had.
        m_lastError.clear();
        loaded = loadLines(lines);
    }
    if (loaded) {
        try {
            parseInto(lines);
            m_readFailed = false;
            rememberFileLines(std::move(lines));
        } catch (const IniError &error) {
            forgetFileLines();
            m_readFailed = true;
            m_lastError = std::string("The file cannot be understood: ") + error.what();
        }
    } else {
        forgetFileLines();
        m_readFailed = true;
        if (m_lastError.empty())
            m_lastError = "The file cannot be read.";
    }
    for (CustomIniLinker *linker : IniProcessor::instance().linkersOf(this)) {
        if (IniProcessor::instance().isBound(linker, this))
            linker->iniRead();
    }
}

bool IniBase::write()
{
    if (m_readFailed)
        return false;
    m_lastError.clear();
    if (m_dontWrite)
        return false;
    for (CustomIniLinker *linker : IniProcessor::instance().linkersOf(this)) {
        if (IniProcessor::instance().isBound(linker, this))
            linker->iniWrite();
    }
    if (!lockFile()) {
        if (m_lastError.empty())
            m_lastError = "The file is in use by another program.";
        return false;
    }
    const LockHolder lock(*this, true);
    if (!loadFileLines()) {
        if (m_lastError.empty())
            m_lastError = "The file cannot be read.";
        return false;
    }
    try {
        if (mergeAndSave())
            return true;
    } catch (const IniError &error) {
        m_lastError = std::string("The file cannot be understood: ") + error.what();
        return false;
    }
    if (m_lastError.empty())
        m_lastError = "The file cannot be written.";
    return false;
}

std::string IniBase::readString(std::string_view section, std::string_view ident,
                                bool replaceSection)
{
    const std::string_view trimmedSection = IniText::trim(section);
    if (replaceSection)
        claimSection(trimmedSection);
    m_lookup.assign(trimmedSection).append(1, ';').append(IniText::trim(ident));
    const int index = m_entries.indexOfName(m_lookup);
    if (index < 0)
        return {};
    m_entries.setTouched(index, true);
    const std::string &entry = m_entries.at(index);
    return entry.substr(entry.find('=') + 1);
}

void IniBase::writeString(std::string_view section, std::string_view ident, std::string_view value,
                          bool replaceSection)
{
    const std::string_view trimmedSection = IniText::trim(section);
    if (replaceSection)
        claimSection(trimmedSection);
    const std::string_view trimmedIdent = IniText::trim(ident);
    std::string entry;
    entry.reserve(trimmedSection.size() + trimmedIdent.size() + value.size() + 2);
    entry.append(trimmedSection).append(1, ';').append(trimmedIdent);
    if (m_clearedSection.empty() || !IniText::sameText(trimmedSection, m_clearedSection)) {
        for (int old = m_entries.indexOfName(entry); old >= 0; old = m_entries.indexOfName(entry))
            m_entries.removeAt(old);
    }
    entry.append(1, '=').append(value);
    const int index = m_entries.add(std::move(entry));
    m_entries.setTouched(index, true);
}

void IniBase::clearSection(std::string_view section)
{
    if (!m_clearedSection.empty()) {
        throw IniError("Error - TIniBase(" + m_name +
                       ") - each ClearSection should have a corresponding EndSection, Nested "
                       "ClearSections are not allowed!");
    }
    m_clearedSection = IniText::upperCase(IniText::trim(section));
    m_entries.deleteSectRef(m_clearedSection);
}

void IniBase::endSection()
{
    m_clearedSection.clear();
}

std::string IniBase::normalizeName(std::string_view name)
{
    std::string result(IniText::trim(name));
    result.erase(std::remove(result.begin(), result.end(), ';'), result.end());
    result.erase(std::remove(result.begin(), result.end(), '='), result.end());
    return result;
}

std::vector<std::string> IniBase::keysOfSection(std::string_view section) const
{
    const std::string_view wanted = IniText::trim(section);
    std::vector<std::string> keys;
    const int first = m_entries.indexOfSectRef(wanted);
    for (int i = first; i >= 0 && i < m_entries.count(); ++i) {
        const std::string &entry = m_entries.at(i);
        if (!IniText::sameText(IniPStringList::sectionOf(entry), wanted))
            break;
        const std::size_t keyStart = wanted.size() + 1;
        keys.push_back(entry.substr(keyStart, entry.find('=', keyStart) - keyStart));
    }
    return keys;
}

void IniBase::claimSection(std::string_view section)
{
    // A list claims its section once for every line it writes.
    if (!m_replacedSections.empty() && IniText::sameText(m_replacedSections.back(), section))
        return;
    if (m_replacedKeys.insert(IniText::upperCase(section)).second)
        m_replacedSections.emplace_back(section);
}

void IniBase::parseInto(const std::vector<std::string> &lines)
{
    IniLineParser parser;
    std::vector<std::string> parsed;
    for (const std::string &line : lines) {
        auto result = parser.parse(line);
        if (result.entry)
            parsed.push_back(std::move(*result.entry));
    }
    m_entries.clear();
    m_entries.setSorted(false);
    for (std::string &entry : parsed)
        m_entries.add(std::move(entry));
    m_entries.setSorted(true);
}

bool IniBase::loadFileLines()
{
    if (m_fileMark != 0 && holdsContent(m_fileMark))
        return true;
    forgetFileLines();
    std::vector<std::string> lines;
    if (!loadLines(lines))
        return false;
    rememberFileLines(std::move(lines));
    return true;
}

void IniBase::rememberFileLines(std::vector<std::string> lines)
{
    m_fileMark = contentMark();
    m_fileLines = std::move(lines);
}

void IniBase::forgetFileLines()
{
    m_fileMark = 0;
    m_fileLines = {};
}

bool IniBase::mergeAndSave()
{
    IniLineParser parser;
    IniPStringList stored;
    stored.setSorted(false);
    std::vector<std::string> otherBlocks;
    // The stored copy of a claimed section goes as a whole: its key lines are passed over
    // unparsed (only a line beginning with "[" can change the section or the user block).
    const auto isClaimed = [this](std::string_view name) {
        return m_replacedKeys.count(IniText::upperCase(name)) > 0;
    };
    std::string section;
    bool claimed = isClaimed(section);
    for (const std::string &line : m_fileLines) {
        if (claimed && parser.userBlock() == 0 && !IniText::trim(line).starts_with('['))
            continue;
        auto result = parser.parse(line);
        if (!result.inBlockZero)
            otherBlocks.push_back(line);
        else if (result.entry)
            stored.add(std::move(*result.entry));
        if (parser.section() != section) {
            section = parser.section();
            claimed = isClaimed(section);
        }
    }
    stored.setSorted(true);

    // Views of both lists: nothing is copied until the lines are made.
    std::vector<std::string_view> touched;
    for (int i = 0; i < m_entries.count(); ++i) {
        if (m_entries.isTouched(i))
            touched.push_back(m_entries.at(i));
    }
    // Every stored entry of a touched name goes, duplicates included, so that the value
    // written is the one the file gives back. Both lists are sorted, and so are their names.
    std::vector<std::string_view> untouched;
    untouched.reserve(static_cast<std::size_t>(stored.count()));
    std::size_t next = 0;
    for (int i = 0; i < stored.count(); ++i) {
        const std::string_view name = nameOf(stored.at(i));
        while (next < touched.size() && IniText::lessText(nameOf(touched[next]), name))
            ++next;
        if (next == touched.size() || !IniText::sameText(nameOf(touched[next]), name))
            untouched.push_back(stored.at(i));
    }
    std::vector<std::string_view> merged;
    merged.reserve(untouched.size() + touched.size());
    std::merge(untouched.begin(), untouched.end(), touched.begin(), touched.end(),
               std::back_inserter(merged), IniText::lessText);

    // The file's old lines are no longer needed (every view above is into other strings):
    // the new ones take their places and reuse their memory.
    std::vector<std::string> &out = m_fileLines;
    m_fileMark = 0;
    sectionLines(merged, out);
    std::move(otherBlocks.begin(), otherBlocks.end(), std::back_inserter(out));
    if (!saveLines(out)) {
        forgetFileLines();
        return false;
    }
    m_fileMark = contentMark();
    return true;
}

void IniBase::sectionLines(const std::vector<std::string_view> &entries,
                           std::vector<std::string> &lines)
{
    std::size_t count = 0;
    const auto nextLine = [&lines, &count]() -> std::string & {
        if (count == lines.size())
            lines.emplace_back();
        return lines[count++];
    };
    std::string_view lastSection;
    for (const std::string_view entry : entries) {
        const std::string_view section = IniPStringList::sectionOf(entry);
        if (!IniText::sameText(section, lastSection)) {
            if (!lastSection.empty())
                nextLine().clear();
            setSectionHeader(nextLine(), section);
            lastSection = section;
        }
        setKeyLine(nextLine(), entry.substr(section.size() + 1));
    }
    nextLine().clear();
    lines.resize(count);
}
