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
    // Parsed aside while loading: lines that cannot be understood leave the entries as they were.
    IniPStringList parsed;
    std::vector<std::string> otherBlocks;
    bool loaded = false;
    std::optional<std::string> notUnderstood;
    {
        const LockHolder lock(*this, lockFile());
        // Reading goes on without the lock when it cannot be had.
        m_lastError.clear();
        try {
            loaded = IniLineParser::parsePieces(
                [this](const LinePieceTaker &take) { return loadLinesInPieces(take); }, parsed,
                otherBlocks);
        } catch (const IniError &error) {
            notUnderstood = error.what();
        }
    }
    if (loaded && !notUnderstood) {
        takeParsed(std::move(parsed), std::move(otherBlocks));
        m_readFailed = false;
    } else {
        forgetFileContent();
        m_readFailed = true;
        if (notUnderstood)
            m_lastError = "The file cannot be understood: " + *notUnderstood;
        else if (m_lastError.empty())
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
    const bool saved = saveUnderLock();
    // What the linkers replaced, and what the file no longer holds, can go now.
    gatherTextsWhenWasteful();
    return saved;
}

bool IniBase::saveUnderLock()
{
    if (!lockFile()) {
        if (m_lastError.empty())
            m_lastError = "The file is in use by another program.";
        return false;
    }
    const LockHolder lock(*this, true);
    m_mergedOutsideChange = false;
    m_conflicts.clear();
    std::optional<LineBuffer> theirs;
    std::optional<StoredMerge> merge;
    try {
        if (!loadFileContent(theirs, merge)) {
            if (m_lastError.empty())
                m_lastError = "The file cannot be read.";
            return false;
        }
        if (!theirs && !merge)
            merge.emplace(m_fileEntries, m_entries, m_replacedKeys, m_mergeRoom);
        if (theirs ? mergeThreeWayAndSave(*theirs) : mergeAndSave(*merge))
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
    const std::string_view entry = m_entries.touch(index);
    return std::string(entry.substr(entry.find('=') + 1));
}

void IniBase::writeString(std::string_view section, std::string_view ident, std::string_view value,
                          bool replaceSection)
{
    const std::string_view trimmedSection = IniText::trim(section);
    if (replaceSection)
        claimSection(trimmedSection);
    const std::string_view trimmedIdent = IniText::trim(ident);
    std::string &entry = m_lookup;
    entry.assign(trimmedSection).append(1, ';').append(trimmedIdent);
    if (m_clearedSection.empty() || !IniText::sameText(trimmedSection, m_clearedSection)) {
        for (int old = m_entries.indexOfName(entry); old >= 0; old = m_entries.indexOfName(entry))
            m_entries.removeAt(old);
    }
    entry.append(1, '=').append(value);
    const int index = m_entries.add(entry);
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
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text.assign(trimmed).append(1, ';');
            makeEntry(i, text);
            run.push_back({m_entries.keep(text), true});
        }
    } catch (...) {
        m_entries.addRun(std::move(run));
        endSection();
        throw;
    }
    m_entries.addRun(std::move(run));
    endSection();
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
        const std::string_view entry = m_entries.at(i);
        keys.emplace_back(entry.substr(keyStart, entry.find('=', keyStart) - keyStart));
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

void IniBase::takeParsed(IniPStringList parsed, std::vector<std::string> otherBlocks)
{
    forgetFileContent();
    ++m_entriesGeneration;
    m_entries = std::move(parsed);
    m_gatheredBytes = m_entries.keptBytes();
    m_keptAfterFreeing = m_gatheredBytes;
    rememberFileContent(std::move(otherBlocks));
}

bool IniBase::loadLinesInPieces(const LinePieceTaker &take)
{
    LineBuffer lines;
    if (!loadLines(lines))
        return false;
    take(lines);
    return true;
}

bool IniBase::loadFileContent(std::optional<LineBuffer> &theirs, std::optional<StoredMerge> &merge)
{
    if (m_fileMark != 0) {
        // While the file is checked, the merge into the content it is expected to hold is made.
        bool holds = false;
        SideBySide::run(
            [&] { merge.emplace(m_fileEntries, m_entries, m_replacedKeys, m_mergeRoom); },
            [&] { holds = holdsContent(m_fileMark); });
        if (holds)
            return true;
        merge.reset();
    }
    m_fileMark = 0;
    LineBuffer lines;
    // The content this store last read or wrote stays the base of the next write.
    if (!loadLines(lines))
        return false;
    if (m_fileKnown && !holdsFileContent(lines)) {
        theirs.emplace(std::move(lines));
        return true;
    }
    if (!m_fileKnown) {
        IniPStringList parsed;
        std::vector<std::string> otherBlocks;
        IniLineParser::parseAll(lines, parsed, otherBlocks);
        m_fileEntries.clear();
        m_fileEntries.reserve(static_cast<std::size_t>(parsed.count()));
        for (int i = 0; i < parsed.count(); ++i)
            m_fileEntries.push_back(m_entries.keep(parsed.at(i)));
        m_fileOtherBlocks = std::move(otherBlocks);
        m_fileKnown = true;
    }
    m_fileMark = contentMark();
    return true;
}

bool IniBase::holdsFileContent(const LineBuffer &lines) const
{
    IniPStringList parsed;
    std::vector<std::string> otherBlocks;
    IniLineParser::parseAll(lines, parsed, otherBlocks);
    if (otherBlocks != m_fileOtherBlocks)
        return false;
    return ThreeWayMerge::sameContent(parsed.texts(), m_fileEntries);
}

void IniBase::rememberFileContent(std::vector<std::string> otherBlocks)
{
    m_fileMark = contentMark();
    m_fileEntries = m_entries.texts();
    m_fileOtherBlocks = std::move(otherBlocks);
    m_fileKnown = true;
}

void IniBase::forgetFileContent()
{
    m_fileMark = 0;
    m_fileEntries = {};
    m_fileOtherBlocks = {};
    m_fileKnown = false;
}

bool IniBase::fileChanged()
{
    if (!m_fileKnown)
        return true;
    if (m_fileMark != 0)
        return !holdsContent(m_fileMark);
    LineBuffer lines;
    try {
        return !loadLines(lines) || !holdsFileContent(lines);
    } catch (const IniError &) {
        return true;
    }
}

void IniBase::resolveAgainstTheirs(std::string_view section, std::string_view ident)
{
    std::string name = IniText::upperCase(IniText::trim(section));
    if (!ident.empty())
        name.append(1, ';').append(IniText::upperCase(IniText::trim(ident)));
    m_resolved.insert(std::move(name));
}

bool IniBase::mergeThreeWayAndSave(const LineBuffer &theirs)
{
    m_resolved.clear();
    if (m_onOutsideChange)
        m_onOutsideChange(LineBuffer::of(EntryLines(m_fileEntries, m_fileOtherBlocks)), theirs);
    ThreeWayMerge merge(m_fileEntries, theirs);
    const std::vector<std::string_view> merged =
        merge.merge(m_entries, m_replacedSections, m_resolved);
    m_resolved.clear();
    std::vector<std::string> otherBlocks = merge.takeOtherBlocks();
    // On failure the file still holds theirs, and this store has not taken their changes: the
    // next write merges against the same base again.
    if (!saveLines(EntryLines(merged, otherBlocks)))
        return false;
    replaceEntries(merged);
    rememberFileContent(std::move(otherBlocks));
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
    // merged is in sorted order: each sorted insertion appends. It views the texts of the
    // entries replaced, among others.
    IniPStringList replaced;
    for (const std::string_view text : merged)
        replaced.add(text);
    forgetFileContent();
    ++m_entriesGeneration;
    m_entries = std::move(replaced);
    m_gatheredBytes = m_entries.keptBytes();
    m_keptAfterFreeing = m_gatheredBytes;
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
    m_fileMark = 0;
    if (!saveLines(EntryLines(merge.merged(), m_fileOtherBlocks))) {
        forgetFileContent();
        return false;
    }
    // The merged entries are what the file holds now; every one views a text of the entries.
    // The room takes the views the file held before, for the next merge to write over.
    m_fileEntries.swap(m_mergeRoom.merged);
    m_fileMark = contentMark();
    return true;
}

void IniBase::gatherTextsWhenWasteful()
{
    constexpr std::size_t leastWaste = 1024 * 1024;
    const std::size_t held = m_entries.entryBytes();
    // The texts one write replaces (a list, the settings) fill blocks of their own, which a
    // later write empties: those blocks go without copying anything, once they may add up to an
    // eighth of what the entries hold.
    if (m_entries.keptBytes() > m_keptAfterFreeing + held / 8 + leastWaste) {
        m_entries.freeUnusedTexts(m_fileEntries);
        m_keptAfterFreeing = m_entries.keptBytes();
    }
    // The rest is copied away past twice what the entries hold, and half as much again as after
    // the last gathering (the file's content may hold texts the entries do not), so that each
    // gathering frees at least a third of what it goes through.
    const std::size_t kept = m_entries.keptBytes();
    if (kept <= 2 * held + leastWaste || kept <= m_gatheredBytes + m_gatheredBytes / 2 + leastWaste)
        return;
    m_entries.gatherTexts(m_fileEntries);
    m_gatheredBytes = m_entries.keptBytes();
    m_keptAfterFreeing = m_gatheredBytes;
}
