#include "inibase.h"

#include "customlinker.h"
#include "entrylines.h"
#include "inierror.h"
#include "inilineparser.h"
#include "iniprocessor.h"
#include "initext.h"
#include "sidebyside.h"
#include "storedmerge.h"
#include "threewaymerge.h"

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
    m_lastClaimed.reset();
    LineBuffer lines;
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
    m_mergedOutsideChange = false;
    m_conflicts.clear();
    std::optional<LineBuffer> base;
    std::optional<StoredMerge> merge;
    if (!loadFileLines(base, merge)) {
        if (m_lastError.empty())
            m_lastError = "The file cannot be read.";
        return false;
    }
    try {
        if (!base && !merge)
            merge.emplace(m_fileLines, m_entries, m_replacedKeys);
        if (base ? mergeThreeWayAndSave(std::move(*base)) : mergeAndSave(*merge))
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
    const std::string &entry = m_entries.touch(index);
    return entry.substr(entry.find('=') + 1);
}

void IniBase::writeString(std::string_view section, std::string_view ident, std::string_view value,
                          bool replaceSection)
{
    const std::string_view trimmedSection = IniText::trim(section);
    if (replaceSection)
        claimSection(trimmedSection);
    const std::string_view trimmedIdent = IniText::trim(ident);
    std::string entry = spareText();
    entry.clear();
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
    m_spareTexts.clear();
    m_nextSpare = 0;
    m_entries.takeSectRef(m_clearedSection, m_spareTexts);
}

void IniBase::endSection()
{
    m_clearedSection.clear();
    m_spareTexts.clear();
    m_nextSpare = 0;
}

void IniBase::writeSection(std::string_view section, std::size_t count, const EntryMaker &makeEntry)
{
    const std::string_view trimmed = IniText::trim(section);
    clearSection(trimmed);
    claimSection(trimmed);
    std::vector<IniEntry> run;
    // However the making ends, the entries made so far are in place and the section is closed,
    // as after the same writeString calls.
    try {
        run.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            std::string text = spareText();
            text.assign(trimmed).append(1, ';');
            makeEntry(i, text);
            run.push_back({std::move(text), true});
        }
    } catch (...) {
        m_entries.addRun(std::move(run));
        endSection();
        throw;
    }
    m_entries.addRun(std::move(run));
    endSection();
}

std::string IniBase::spareText()
{
    if (m_nextSpare == m_spareTexts.size())
        return {};
    return std::move(m_spareTexts[m_nextSpare++]);
}

void IniBase::keepSection(std::string_view section)
{
    const std::string_view trimmed = IniText::trim(section);
    claimSection(trimmed);
    m_entries.touchSectRef(trimmed);
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
    const auto [first, last] = m_entries.sectRefRange(wanted);
    std::vector<std::string> keys;
    keys.reserve(static_cast<std::size_t>(last - first));
    const std::size_t keyStart = wanted.size() + 1;
    for (int i = first; i < last; ++i) {
        const std::string &entry = m_entries.at(i);
        keys.push_back(entry.substr(keyStart, entry.find('=', keyStart) - keyStart));
    }
    return keys;
}

void IniBase::claimSection(std::string_view section)
{
    // A list claims its section once for every line it reads or writes: the same spelling
    // again is known to be claimed without a look-up.
    if (m_lastClaimed && section == *m_lastClaimed)
        return;
    if (m_replacedKeys.insert(IniText::upperCase(section)).second)
        m_replacedSections.emplace_back(section);
    m_lastClaimed.emplace(section);
}

void IniBase::parseInto(const LineBuffer &lines)
{
    IniLineParser parser;
    std::vector<IniEntry> parsed;
    parsed.reserve(lines.size());
    for (const std::string_view line : lines) {
        auto result = parser.parse(line);
        if (result.entry)
            parsed.push_back({std::move(*result.entry), false});
    }
    ++m_entriesGeneration;
    m_entries.assign(std::move(parsed));
}

bool IniBase::loadFileLines(std::optional<LineBuffer> &base,
                            std::optional<StoredMerge> &merge)
{
    if (m_fileMark != 0) {
        // While the file is checked, the merge into the lines it is expected to hold is made.
        bool holds = false;
        SideBySide::run(
            [&] {
                try {
                    merge.emplace(m_fileLines, m_entries, m_replacedKeys);
                } catch (const IniError &) {
                    // Made again, and the error reported, once the lines are known.
                }
            },
            [&] { holds = holdsContent(m_fileMark); });
        if (holds)
            return true;
        merge.reset();
    }
    LineBuffer previous = std::move(m_fileLines);
    const bool previousKnown = m_fileLinesKnown;
    forgetFileLines();
    LineBuffer lines;
    if (!loadLines(lines)) {
        // The lines this store last read or wrote stay the base of the next write.
        m_fileLines = std::move(previous);
        m_fileLinesKnown = previousKnown;
        return false;
    }
    if (previousKnown && !(lines == previous))
        base = std::move(previous);
    rememberFileLines(std::move(lines));
    return true;
}

void IniBase::rememberFileLines(LineBuffer lines)
{
    m_fileMark = contentMark();
    m_fileLines = std::move(lines);
    m_fileLinesKnown = true;
}

void IniBase::forgetFileLines()
{
    m_fileMark = 0;
    m_fileLines = {};
    m_fileLinesKnown = false;
}

bool IniBase::fileChanged()
{
    if (!m_fileLinesKnown)
        return true;
    if (m_fileMark != 0)
        return !holdsContent(m_fileMark);
    LineBuffer lines;
    return !loadLines(lines) || !(lines == m_fileLines);
}

void IniBase::resolveAgainstTheirs(std::string_view section, std::string_view ident)
{
    std::string name = IniText::upperCase(IniText::trim(section));
    if (!ident.empty())
        name.append(1, ';').append(IniText::upperCase(IniText::trim(ident)));
    m_resolved.insert(std::move(name));
}

bool IniBase::mergeThreeWayAndSave(LineBuffer base)
{
    m_resolved.clear();
    if (m_onOutsideChange)
        m_onOutsideChange(base, m_fileLines);
    ThreeWayMerge merge(base, m_fileLines);
    const std::vector<std::string_view> merged =
        merge.merge(m_entries, m_replacedSections, m_resolved);
    m_resolved.clear();
    LineBuffer out;
    EntryLines::write(merged, out);
    for (const std::string &line : merge.takeOtherBlocks())
        out.push_back(line);
    if (!saveLines(out)) {
        // The file still holds theirs, and this store has not taken their changes: the next
        // write merges against the same base again.
        m_fileMark = 0;
        m_fileLines = std::move(base);
        m_fileLinesKnown = true;
        return false;
    }
    replaceEntries(merged);
    m_fileLines = std::move(out);
    m_fileMark = contentMark();
    m_fileLinesKnown = true;
    m_conflicts = merge.conflicts();
    m_mergedOutsideChange = true;
    return true;
}

void IniBase::replaceEntries(const std::vector<std::string_view> &merged)
{
    // Every entry of a claimed section stays touched; elsewhere the names that were touched.
    std::string lastSection;
    bool lastClaimed = false;
    const auto isClaimed = [&](std::string_view entry) {
        const std::string_view section = IniPStringList::sectionOf(entry);
        if (lastSection.empty() || !IniText::sameText(section, lastSection)) {
            lastSection = section;
            lastClaimed = m_replacedKeys.count(IniText::upperCase(section)) > 0;
        }
        return lastClaimed;
    };
    std::unordered_set<std::string> touched;
    for (int i = 0; i < m_entries.count(); ++i) {
        if (m_entries.isTouched(i) && !isClaimed(m_entries.at(i)))
            touched.insert(IniText::upperCase(nameOf(m_entries.at(i))));
    }
    // merged is in sorted order: each sorted insertion appends.
    std::vector<std::string> texts(merged.begin(), merged.end());
    ++m_entriesGeneration;
    m_entries.clear();
    for (std::string &text : texts)
        m_entries.add(std::move(text));
    lastSection.clear();
    for (int i = 0; i < m_entries.count(); ++i) {
        const std::string_view entry = m_entries.at(i);
        if (isClaimed(entry) ||
            (!touched.empty() && touched.count(IniText::upperCase(nameOf(entry))) > 0))
            m_entries.setTouched(i, true);
    }
}

bool IniBase::mergeAndSave(StoredMerge &merge)
{
    // The file's old lines are no longer needed (every view above is into other strings):
    // the new ones take their places and reuse their memory.
    LineBuffer &out = m_fileLines;
    m_fileMark = 0;
    EntryLines::write(merge.merged(), out);
    for (const std::string &line : merge.otherBlocks())
        out.push_back(line);
    if (!saveLines(out)) {
        forgetFileLines();
        return false;
    }
    m_fileMark = contentMark();
    return true;
}
