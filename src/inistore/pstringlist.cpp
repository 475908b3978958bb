#include "pstringlist.h"

#include "inierror.h"
#include "initext.h"

#include <algorithm>
#include <unordered_map>

void PStringList::setSeparator(std::string separator)
{
    m_separator = std::move(separator);
}

void PStringList::setTouched(int index, bool touched)
{
    m_entries.at(index).touched = touched;
}

namespace {

bool lessEntry(const IniEntry &a, const IniEntry &b)
{
    return IniText::lessText(a.text, b.text);
}

// Orders the entries (stable) and drops every entry equal to an earlier one.
void orderWithoutRepeats(std::vector<IniEntry> &all)
{
    // Lines of a file this store wrote come in order already.
    if (!std::is_sorted(all.begin(), all.end(), lessEntry))
        std::stable_sort(all.begin(), all.end(), lessEntry);
    const auto end = std::unique(all.begin(), all.end(), [](const IniEntry &a, const IniEntry &b) {
        return IniText::sameText(a.text, b.text);
    });
    all.erase(end, all.end());
}

// As orderWithoutRepeats, but an entry kept takes the touched marks of the ones dropped.
void orderKeepingMarks(std::vector<IniEntry> &all)
{
    if (!std::is_sorted(all.begin(), all.end(), lessEntry))
        std::stable_sort(all.begin(), all.end(), lessEntry);
    auto kept = all.begin();
    for (auto next = all.begin() + 1; next < all.end(); ++next) {
        if (IniText::sameText(kept->text, next->text))
            kept->touched = kept->touched || next->touched;
        else if (++kept != next)
            *kept = std::move(*next);
    }
    all.erase(kept + 1, all.end());
}

} // namespace

std::string_view PStringList::touch(int index)
{
    IniEntry &entry = m_entries.at(index);
    entry.touched = true;
    return entry.text;
}

void PStringList::setSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    if (!sorted)
        return;
    std::vector<IniEntry> all = m_entries.takeAll();
    orderWithoutRepeats(all);
    m_entries.assign(std::move(all));
}

void PStringList::assign(std::vector<IniEntry> entries)
{
    if (m_sorted)
        orderWithoutRepeats(entries);
    m_entries.assign(std::move(entries));
}

int PStringList::add(std::string_view text)
{
    return addKept(text, true);
}

int PStringList::addKept(std::string_view text, bool copy)
{
    if (!m_sorted) {
        m_entries.pushBack({copy ? m_texts.add(text) : text, false});
        return count() - 1;
    }
    const int index =
        lowerBound([&text](const IniEntry &entry) { return IniText::lessText(entry.text, text); });
    if (index < count() && IniText::sameText(m_entries.at(index).text, text))
        return index;
    m_entries.insert(index, {copy ? m_texts.add(text) : text, false});
    return index;
}

void PStringList::addRun(std::vector<IniEntry> entries)
{
    if (entries.empty())
        return;
    if (m_sorted) {
        orderKeepingMarks(entries);
        const std::string_view first = entries.front().text;
        const int index = lowerBound(
            [&first](const IniEntry &entry) { return IniText::lessText(entry.text, first); });
        // An entry of the list within the run's span: each finds its place on its own.
        if (index < count() && !IniText::lessText(entries.back().text, m_entries.at(index).text)) {
            for (const IniEntry &entry : entries) {
                const int at = addKept(entry.text, false);
                if (entry.touched)
                    setTouched(at, true);
            }
            return;
        }
        m_entries.insertRun(index, std::move(entries));
        return;
    }
    for (IniEntry &entry : entries)
        m_entries.pushBack(std::move(entry));
}

void PStringList::insert(int index, std::string_view text)
{
    if (m_sorted)
        throw IniError("Operation not allowed on sorted list");
    m_entries.insert(index, {m_texts.add(text), false});
}

void PStringList::removeAt(int index)
{
    m_entries.erase(index, index + 1);
}

void PStringList::removeRange(int first, int last)
{
    m_entries.erase(first, last);
}

void PStringList::clear()
{
    m_entries.clear();
    m_texts.clear();
}

std::size_t PStringList::entryBytes() const
{
    std::size_t bytes = 0;
    m_entries.visitFrom(0, [&bytes](int, const IniEntry &entry) {
        bytes += entry.text.size();
        return true;
    });
    return bytes;
}

void PStringList::freeUnusedTexts(const std::vector<std::string_view> &alsoHeld)
{
    m_texts.freeBlocksNotUsed([&](const auto &use) {
        m_entries.visitFrom(0, [&use](int, const IniEntry &entry) {
            use(entry.text.data());
            return true;
        });
        for (const std::string_view text : alsoHeld)
            use(text.data());
    });
}

void PStringList::gatherTexts(std::vector<std::string_view> &alsoHeld)
{
    TextPool gathered;
    // A text seen by several entries or views is kept once.
    std::unordered_map<const char *, std::string_view> moved;
    moved.reserve(static_cast<std::size_t>(count()) + alsoHeld.size());
    const auto move = [&](std::string_view &text) {
        if (text.empty())
            return;
        auto [at, added] = moved.try_emplace(text.data());
        if (added || at->second.size() != text.size())
            at->second = gathered.add(text);
        text = at->second;
    };
    std::vector<IniEntry> all = m_entries.takeAll();
    for (IniEntry &entry : all)
        move(entry.text);
    for (std::string_view &text : alsoHeld)
        move(text);
    m_entries.assign(std::move(all));
    m_texts = std::move(gathered);
}

std::vector<std::string_view> PStringList::texts() const
{
    std::vector<std::string_view> views;
    views.reserve(static_cast<std::size_t>(count()));
    m_entries.visitFrom(0, [&views](int, const IniEntry &entry) {
        views.push_back(entry.text);
        return true;
    });
    return views;
}

void PStringList::appendTouched(std::vector<std::string_view> &views) const
{
    m_entries.visitFrom(0, [&views](int, const IniEntry &entry) {
        if (entry.touched)
            views.push_back(entry.text);
        return true;
    });
}

std::optional<std::string_view> PStringList::namePart(std::string_view text) const
{
    // Every list of the store separates by one character: a byte search finds it fastest.
    const std::size_t pos =
        m_separator.size() == 1 ? text.find(m_separator.front()) : text.find(m_separator);
    if (pos == std::string_view::npos)
        return std::nullopt;
    return text.substr(0, pos);
}

std::string PStringList::nameOf(int index) const
{
    return std::string(namePart(at(index)).value_or(std::string_view()));
}

bool PStringList::findName(std::string_view name, int &index, bool &unsorted) const
{
    m_key.assign(name).append(m_separator);
    const std::string_view key = m_key;
    unsorted = false;
    index = lowerBound([&](const IniEntry &entry) {
        const auto entryName = namePart(entry.text);
        if (!entryName) {
            unsorted = true;
            return false;
        }
        const std::string_view prefix(entry.text.data(), entryName->size() + m_separator.size());
        return IniText::lessText(prefix, key);
    });
    if (unsorted || index >= count())
        return false;
    const auto foundName = namePart(at(index));
    return foundName && IniText::sameText(*foundName, name);
}

int PStringList::indexOfName(std::string_view name) const
{
    if (m_sorted) {
        int index = 0;
        bool unsorted = false;
        const bool found = findName(name, index, unsorted);
        if (!unsorted)
            return found ? index : -1;
    }
    int result = -1;
    m_entries.visitFrom(0, [&](int index, const IniEntry &entry) {
        const auto entryName = namePart(entry.text);
        if (entryName && IniText::sameText(*entryName, name)) {
            result = index;
            return false;
        }
        return true;
    });
    return result;
}

int PStringList::indexOf(std::string_view text) const
{
    if (m_sorted) {
        const int index = lowerBound(
            [&text](const IniEntry &entry) { return IniText::lessText(entry.text, text); });
        return index < count() && IniText::sameText(at(index), text) ? index : -1;
    }
    int result = -1;
    m_entries.visitFrom(0, [&](int index, const IniEntry &entry) {
        if (!IniText::sameText(entry.text, text))
            return true;
        result = index;
        return false;
    });
    return result;
}
