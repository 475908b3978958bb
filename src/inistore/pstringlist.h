#pragma once

#include "entryblocks.h"
#include "textpool.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A list of "name" + separator + "value" strings, each with a touched mark. In sorted mode the
// list keeps its entries ordered by their whole text compared case-insensitively
// (IniText::compareText), and adding a string equal to an entry adds nothing. The list keeps the
// texts in a pool of its own: a text it gave out stays valid, whatever the list does, until the
// list is cleared, dropped or gathers its texts (gatherTexts).
class PStringList
{
public:
    PStringList() = default;
    virtual ~PStringList() = default;
    PStringList(const PStringList &) = delete;
    PStringList &operator=(const PStringList &) = delete;
    PStringList(PStringList &&) = default;
    PStringList &operator=(PStringList &&) = default;

    const std::string &separator() const { return m_separator; }
    void setSeparator(std::string separator);

    int count() const { return m_entries.size(); }
    std::string_view at(int index) const { return m_entries.at(index).text; }
    bool isTouched(int index) const { return m_entries.at(index).touched; }
    void setTouched(int index, bool touched);
    // Marks the entry touched and gives its text.
    std::string_view touch(int index);

    bool sorted() const { return m_sorted; }
    // Switching sorted mode on sorts the entries (stable) and drops every entry equal to an
    // earlier one, so a sorted list never holds two equal strings.
    void setSorted(bool sorted);

    // A copy of text kept by the list, for the entries given to addRun and assign.
    std::string_view keep(std::string_view text) { return m_texts.add(text); }

    // Sorted: inserts in order and returns the index; an equal entry yields its index and
    // nothing is added. Unsorted: appends.
    int add(std::string_view text);
    // Adds the entries, whose texts the list keeps (keep()), as add() of each in turn would,
    // keeping the marks they carry (a mark of an entry equal to one already there goes to that
    // one). Entries that no entry of the list lies between, such as those of a section the list
    // does not hold, go in together.
    void addRun(std::vector<IniEntry> entries);
    // Replaces every entry by `entries`, whose texts the list keeps, in their order; a sorted
    // list then orders them and drops repeats as setSorted(true) does.
    void assign(std::vector<IniEntry> entries);
    // Unsorted lists only; throws IniError on a sorted list.
    void insert(int index, std::string_view text);
    void removeAt(int index);
    // Removes the entries [first, last).
    void removeRange(int first, int last);
    // Removes every entry and every text kept.
    void clear();

    // The bytes of the texts kept, those of entries removed or replaced included.
    std::size_t keptBytes() const { return m_texts.bytes(); }
    // The bytes of the entries' texts.
    std::size_t entryBytes() const;
    // Frees the memory of kept texts that lie apart from the entries' texts and those of
    // `alsoHeld` (views of texts this list keeps), where that costs no copying.
    void freeUnusedTexts(const std::vector<std::string_view> &alsoHeld);
    // Keeps only the entries' texts and those of `alsoHeld` (views of texts this list keeps),
    // in a new pool: every entry and every view of alsoHeld then sees its text there.
    void gatherTexts(std::vector<std::string_view> &alsoHeld);

    // Appends a view of the text of every touched entry, in list order.
    void appendTouched(std::vector<std::string_view> &views) const;
    // A view of the text of every entry, in list order.
    std::vector<std::string_view> texts() const;

    // The text up to, not including, the first separator; empty without a separator.
    std::string nameOf(int index) const;

    // Binary search for the first entry whose text up to and including its first separator
    // equals name + separator (case-insensitively). index is where it is or would be.
    // unsorted is set when a probed entry holds no separator (the search then gives up).
    bool findName(std::string_view name, int &index, bool &unsorted) const;
    // The first entry named `name`, or -1. Binary search when sorted, else a linear scan.
    int indexOfName(std::string_view name) const;
    // The index of an entry equal to text (case-insensitively), or -1.
    int indexOf(std::string_view text) const;

protected:
    const EntryBlocks &entries() const { return m_entries; }
    // The first index whose entry does not satisfy `before` (entries satisfying it come
    // first). Runs of lookups and insertions in order hit the remembered last position and
    // need no search.
    template <typename Before>
    int lowerBound(const Before &before) const;
    // The text before the first separator, nothing without a separator.
    std::optional<std::string_view> namePart(std::string_view text) const;

private:
    int addKept(std::string_view text, bool copy);

    std::string m_separator = "=";
    TextPool m_texts;
    EntryBlocks m_entries;
    bool m_sorted = false;
    mutable int m_hint = 0;
    // The key of the last findName, kept so that a search allocates nothing.
    mutable std::string m_key;
};

template <typename Before>
int PStringList::lowerBound(const Before &before) const
{
    const int size = count();
    // Walks in order (adds and look-ups alike) go on right after the last position.
    for (const int candidate : {m_hint + 1, m_hint}) {
        if (candidate < 0 || candidate > size)
            continue;
        if ((candidate == 0 || before(m_entries.at(candidate - 1))) &&
            (candidate == size || !before(m_entries.at(candidate)))) {
            m_hint = candidate;
            return candidate;
        }
    }
    m_hint = m_entries.partitionPoint(before);
    return m_hint;
}
