#pragma once

#include "inipstringlist.h"
#include "linebuffer.h"
#include "linesource.h"
#include "storedmerge.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// A store of named values in sections, kept in memory as sorted entries "section;key=value".
// read() fills the entries from the backing lines; write() merges the touched entries into
// the file's current lines and saves them, so keys this process never touched keep whatever
// the file holds at the moment of writing. Where the lines come from is left to the four
// hooks (lockFile, unlockFile, loadLines, saveLines) of a subclass such as IniFileMain.
// Linkers bound to the store (CustomIniLinker::setIniMain) move values in and out during
// read() and write(), in the order they were bound.

class IniBase
{
public:
    enum class IniControl
    {
        Manual,       // the owner calls read() and write()
        FormShowClose // a form adapter reads at the first show and writes at the first close
    };
    enum class IniMode
    {
        imGlobal,
        imMultiUser // kept only; no behaviour depends on it
    };

    explicit IniBase(std::string name = {});
    virtual ~IniBase();
    IniBase(const IniBase &) = delete;
    IniBase &operator=(const IniBase &) = delete;

    const std::string &name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }

    IniControl ioControl() const { return m_ioControl; }
    void setIoControl(IniControl control) { m_ioControl = control; }
    const std::string &defaultSection() const { return m_defaultSection; }
    // Stored through normalizeName.
    void setDefaultSection(std::string_view section);
    bool dontRead() const { return m_dontRead; }
    void setDontRead(bool dontRead) { m_dontRead = dontRead; }
    bool dontWrite() const { return m_dontWrite; }
    void setDontWrite(bool dontWrite) { m_dontWrite = dontWrite; }
    IniMode iniMode() const { return m_iniMode; }
    void setIniMode(IniMode mode) { m_iniMode = mode; }

    // The last read() could not load (or parse) the file; while true write() does nothing.
    bool readFailed() const { return m_readFailed; }
    // Why the last read() or write() did not do its work; empty after a full success.
    const std::string &lastError() const { return m_lastError; }

    // The read cycle: loads the lines (under the lock when it can be had), replaces the
    // entries by those of user block 0, then runs the bound linkers in read mode.
    // Does nothing at all while dontRead() is set.
    void read();
    // The write cycle: runs the bound linkers in write mode, then under the lock re-loads
    // the file, merges and saves. Returns true only when the file was really saved.
    // Does nothing (false) while dontWrite() or readFailed() is set.
    bool write();

    // Called by write() under the lock when the file no longer holds what this store last read
    // or wrote, before the merge, with the lines of both contents (base: lines that read back
    // to what this store last read or wrote; theirs: as the file holds them now). The handler may
    // write entries again and resolve sections and keys against theirs.
    using OutsideChangeHandler =
        std::function<void(const LineBuffer &base, const LineBuffer &theirs)>;
    void setOnOutsideChange(OutsideChangeHandler handler)
    {
        m_onOutsideChange = std::move(handler);
    }
    // Inside the outside-change handler: the entries written for the section (or, with an
    // ident, for that one key) are the owner's resolution of both changes and win over theirs.
    void resolveAgainstTheirs(std::string_view section, std::string_view ident = {});
    // The last successful write() merged changes another writer had made since this store's
    // last read or write (see ThreeWayMerge); the entries then hold the merged content.
    bool mergedOutsideChange() const { return m_mergedOutsideChange; }
    // The claimed sections both writers had changed at that write; this store's content was
    // written for them.
    const std::vector<std::string> &conflicts() const { return m_conflicts; }

    // The file no longer holds what this store last read or wrote, or that cannot be told.
    // Reads the file without the lock when its content is not known by its mark.
    bool fileChanged();

    // The value of section/ident, empty when missing; marks the entry touched.
    // With replaceSection the section is claimed: its stored copy is dropped as a whole at
    // every later write before the touched entries are merged in.
    virtual std::string readString(std::string_view section, std::string_view ident,
                                   bool replaceSection);
    // Stores section;ident=value (replacing an entry of that name) and marks it touched.
    virtual void writeString(std::string_view section, std::string_view ident,
                             std::string_view value, bool replaceSection);
    // Removes every entry of the section and opens it until endSection(). Throws IniError
    // when a section is already open.
    virtual void clearSection(std::string_view section);
    virtual void endSection();
    // Writes a whole section in one go, with the entries and marks that clearSection(section),
    // writeString(section, key, value, true) for each of its keys in turn and endSection()
    // give: `count` entries, the i-th made by makeEntry(i, text), which appends key + "=" +
    // value to text (the key trimmed, without ";" or "="). The entries are put in place
    // together instead of each searching its place. Throws IniError as clearSection does.
    using EntryMaker = std::function<void(std::size_t index, std::string &text)>;
    void writeSection(std::string_view section, std::size_t count, const EntryMaker &makeEntry);
    // Claims the section and marks every entry it holds touched, as writing the same entries
    // again through clearSection and writeString would, without making them again. For a
    // writer that knows the entries are what it wrote since entriesGeneration() last changed.
    void keepSection(std::string_view section);
    // Changes whenever the entries are replaced as a whole (a read, a merge with another
    // writer's change); writeString and clearSection leave it.
    std::uint64_t entriesGeneration() const { return m_entriesGeneration; }

    // Hooks of the backing file.
    virtual bool lockFile() = 0;
    virtual void unlockFile() = 0;
    // Fills lines with the file's (deciphered) lines; true unless the file exists and
    // cannot be read.
    virtual bool loadLines(LineBuffer &lines) = 0;
    // Hands the lines loadLines() would fill to take, in pieces in their order (here all in one
    // piece); the same result.
    virtual bool loadLinesInPieces(const LinePieceTaker &take);
    virtual bool saveLines(const LineSource &lines) = 0;

    // Trims blanks and control characters, then removes every ";" and every "=".
    static std::string normalizeName(std::string_view name);

    const IniPStringList &entries() const { return m_entries; }
    const std::vector<std::string> &replacedSections() const { return m_replacedSections; }
    // The section open between clearSection and endSection (upper case), empty when none.
    const std::string &clearedSection() const { return m_clearedSection; }
    // The keys of a section as stored, in entry order.
    std::vector<std::string> keysOfSection(std::string_view section) const;

protected:
    void setLastError(std::string error) { m_lastError = std::move(error); }

    // What the file held at the last loadLines or saveLines: a mark that no other call had,
    // 0 when it is not known. write() keeps the entries it loaded or saved under this mark.
    virtual std::uint64_t contentMark() const { return 0; }
    // True when the file still holds exactly the content of `mark` (called under the lock):
    // write() then merges into the entries it kept instead of loading them again. Nothing is
    // known by default. write() calls it on a second thread while it makes that merge from the
    // store's entries and the kept ones, which it must therefore leave alone.
    virtual bool holdsContent(std::uint64_t mark)
    {
        static_cast<void>(mark);
        return false;
    }

private:
    void claimSection(std::string_view section);
    // The part of write() after the linkers.
    bool saveUnderLock();
    // Makes the entries and the file's content those of lines.
    // The entries and other blocks just read are the store's and the file's content.
    void takeParsed(IniPStringList parsed, std::vector<std::string> otherBlocks);
    // Finds what the file holds unless it is known to be the file's content: when that differs
    // from what this store last read or wrote, theirs takes the file's lines; otherwise the
    // file's content is known afterwards. When it is known to be what the file holds, merge
    // takes the merge into it, made while the file was checked.
    bool loadFileContent(std::optional<LineBuffer> &theirs, std::optional<StoredMerge> &merge);
    // The file's entries as this store knows them, parsed from lines, are the same.
    bool holdsFileContent(const LineBuffer &lines) const;
    void rememberFileContent(std::vector<std::string> otherBlocks);
    void forgetFileContent();
    bool mergeAndSave(StoredMerge &merge);
    bool mergeThreeWayAndSave(const LineBuffer &theirs);
    void replaceEntries(const std::vector<std::string_view> &merged);
    // Gives back the memory of entry texts no longer held: blocks of them at once, the rest
    // once it outweighs the texts held.
    void gatherTextsWhenWasteful();

    std::string m_name;
    IniControl m_ioControl = IniControl::Manual;
    std::string m_defaultSection;
    bool m_dontRead = false;
    bool m_dontWrite = false;
    IniMode m_iniMode = IniMode::imGlobal;

    IniPStringList m_entries;
    std::uint64_t m_entriesGeneration = 0;
    std::vector<std::string> m_replacedSections;
    std::unordered_set<std::string> m_replacedKeys;
    // The spelling of the section claimed last since the last read.
    std::optional<std::string> m_lastClaimed;
    std::string m_clearedSection;
    bool m_readFailed = false;
    std::string m_lastError;
    // The file's content as this store last loaded or saved it (while m_fileKnown): its entries
    // of user block 0 (views of texts the entry list keeps) and the lines of its other blocks;
    // and the subclass's mark of that content (0: not known).
    std::vector<std::string_view> m_fileEntries;
    StoredMerge::Room m_mergeRoom;
    std::vector<std::string> m_fileOtherBlocks;
    bool m_fileKnown = false;
    std::uint64_t m_fileMark = 0;
    // The entry texts' bytes when they were last gathered, and when unused ones were last freed.
    std::size_t m_gatheredBytes = 0;
    std::size_t m_keptAfterFreeing = 0;
    OutsideChangeHandler m_onOutsideChange;
    // Upper-case section and section;key names resolved by the outside-change handler.
    std::unordered_set<std::string> m_resolved;
    bool m_mergedOutsideChange = false;
    std::vector<std::string> m_conflicts;
    // The name readString looks up and the entry writeString makes, kept so that they allocate
    // nothing.
    std::string m_lookup;
};
