#include "inivarlinker.h"

#include "inibase.h"
#include "initext.h"
#include "valuecodec.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <iterator>

namespace {

constexpr const char *itemsKey = "Items";

// Only a corrupt item number leaves a list with more empty lines than this beyond the keys of
// its section: such a list reads no more lines than its section has keys.
constexpr long maxGapLines = 65536;

// "ItemData(" + number, left-padded with "0" to `width` digits, + ")".
std::string itemKey(long number, std::size_t width = 4)
{
    const std::string digits = std::to_string(number);
    std::string key = "ItemData(";
    key.reserve(key.size() + std::max(width, digits.size()) + 1);
    key.append(width > digits.size() ? width - digits.size() : 0, '0');
    key += digits;
    key += ')';
    return key;
}

std::string unpaddedItemKey(long number)
{
    return itemKey(number, 0);
}

// The number of an "ItemData(n)" key (any padding, any case), 0 for other keys.
long itemNumber(std::string_view key)
{
    constexpr std::string_view prefix = "ITEMDATA(";
    if (key.size() < prefix.size() + 2 || key.back() != ')' ||
        !IniText::sameText(key.substr(0, prefix.size()), prefix))
        return 0;
    long number = 0;
    for (const char c : key.substr(prefix.size(), key.size() - prefix.size() - 1)) {
        if (c < '0' || c > '9')
            return 0;
        number = std::min(number * 10 + (c - '0'), 0x7FFFFFFFL);
    }
    return number;
}

// Appends number in decimal, left-padded with "0" to `width` digits.
std::string &appendDecimal(std::string &text, std::size_t number, std::size_t width = 1)
{
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    const auto size = static_cast<std::size_t>(end - digits);
    return text.append(width > size ? width - size : 0, '0').append(digits, size);
}

// Appends the key and value of the list's entry at index to text: the items first, "Items" last.
void appendListEntry(const std::vector<std::string> &list, std::size_t index, std::string &text)
{
    if (index == list.size()) {
        appendDecimal(text.append(itemsKey).append(1, '='), list.size());
        return;
    }
    appendDecimal(text.append("ItemData("), index + 1, 4).append(")=").append(list[index]);
}

} // namespace

void IniVarLinker::iniWrite()
{
    m_mode = vlWrite;
    if (m_onIniReadWrite)
        m_onIniReadWrite(*this, vlWrite);
}

void IniVarLinker::iniRead()
{
    m_mode = vlRead;
    if (m_onIniReadWrite)
        m_onIniReadWrite(*this, vlRead);
}

void IniVarLinker::linkObjToIni(std::string_view section, std::string_view ident,
                                std::vector<std::string> *list, BadCount badCount)
{
    if (!iniMain() || !list)
        return;
    try {
        const std::string listSection =
            resolveSection(section) + ' ' + IniBase::normalizeName(ident);
        if (m_mode == vlWrite)
            writeList(listSection, *list);
        else
            readList(listSection, *list, badCount);
    } catch (const std::exception &) {
    }
}

void IniVarLinker::keepList(std::string_view section, std::string_view ident)
{
    if (!iniMain() || m_mode != vlWrite)
        return;
    try {
        iniMain()->keepSection(resolveSection(section) + ' ' + IniBase::normalizeName(ident));
    } catch (const std::exception &) {
    }
}

void IniVarLinker::linkStrToIni(std::string_view section, std::string_view ident, std::string &s)
{
    linkValue(
        section, ident, [&s] { return ValueCodec::encodeString(s); },
        [&s](const std::string &stored) {
            std::string decoded = ValueCodec::decodeString(stored);
            if (!decoded.empty())
                s = std::move(decoded);
        });
}

void IniVarLinker::linkIntToIni(std::string_view section, std::string_view ident, std::int32_t &i)
{
    linkValue(
        section, ident, [&i] { return ValueCodec::encodeInt(i); },
        [&i](const std::string &stored) {
            if (const auto value = ValueCodec::decodeInt(stored))
                i = *value;
        });
}

void IniVarLinker::linkVarToIni(std::string_view section, std::string_view ident, void *data,
                                std::uint16_t size)
{
    if (!data)
        return;
    linkValue(
        section, ident, [data, size] { return ValueCodec::encodeHex(data, size); },
        [data, size](const std::string &stored) { ValueCodec::decodeHex(stored, data, size); });
}

void IniVarLinker::linkValue(std::string_view section, std::string_view ident,
                             const std::function<std::string()> &encode,
                             const std::function<void(const std::string &)> &decode)
{
    if (!iniMain())
        return;
    try {
        const std::string sectionName = resolveSection(section);
        const std::string key = IniBase::normalizeName(ident);
        if (m_mode == vlWrite)
            iniMain()->writeString(sectionName, key, encode(), false);
        else
            decode(iniMain()->readString(sectionName, key, false));
    } catch (const std::exception &) {
    }
}

std::string IniVarLinker::resolveSection(std::string_view section) const
{
    std::string name = IniBase::normalizeName(section);
    return name.empty() ? iniMain()->defaultSection() : name;
}

void IniVarLinker::readList(const std::string &section, std::vector<std::string> &list,
                            BadCount badCount)
{
    IniBase &store = *iniMain();
    const std::string items = store.readString(section, itemsKey, true);
    if (items.empty())
        return;
    auto count = ValueCodec::decodeInt(items);
    if (!count && badCount == BadCount::ReadsItems)
        count = -1;
    if (!count || *count == 0)
        return;
    // The lines run to the highest item the section holds (never past a positive count): a
    // gap reads as empty lines, so that the next write keeps every item after it.
    const std::vector<std::string> keys = store.keysOfSection(section);
    long highest = 0;
    for (const std::string &key : keys)
        highest = std::max(highest, itemNumber(key));
    long last = *count > 0 ? std::min(static_cast<long>(*count), highest) : highest;
    const long keyCount = static_cast<long>(keys.size());
    if (last > keyCount + maxGapLines)
        last = keyCount;
    list.clear();
    list.reserve(static_cast<std::size_t>(last));
    for (long number = 1; number <= last; ++number) {
        std::string value = store.readString(section, itemKey(number), true);
        if (value.empty())
            value = store.readString(section, unpaddedItemKey(number), true);
        list.push_back(std::move(value));
    }
}

void IniVarLinker::writeList(const std::string &section, const std::vector<std::string> &list)
{
    // The items first and the count last: up to "ItemData(9999)" that is the order of the
    // entries, so that they need no sorting.
    iniMain()->writeSection(section, list.size() + 1, [&list](std::size_t i, std::string &text) {
        appendListEntry(list, i, text);
    });
}

bool IniVarLinker::holdsListAsWritten(std::string_view section, std::string_view ident,
                                      const std::vector<std::string> &list) const
{
    // Past "ItemData(9999)" the entries' order is no longer the items' order.
    constexpr std::size_t itemsInOrder = 9999;
    if (!iniMain() || list.size() > itemsInOrder)
        return false;
    const std::string listSection = resolveSection(section) + ' ' + IniBase::normalizeName(ident);
    const std::string_view trimmed = IniText::trim(listSection);
    const IniPStringList &entries = iniMain()->entries();
    const auto [first, last] = entries.sectRefRange(trimmed);
    if (static_cast<std::size_t>(last - first) != list.size() + 1)
        return false;
    std::string text;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        text.assign(trimmed).append(1, ';');
        appendListEntry(list, i, text);
        if (entries.at(first + static_cast<int>(i)) != text)
            return false;
    }
    return true;
}
