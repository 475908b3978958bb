#include "inipstringlist.h"

#include "inierror.h"
#include "initext.h"

namespace {

bool startsWithText(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && IniText::sameText(text.substr(0, prefix.size()), prefix);
}

} // namespace

IniPStringList::IniPStringList()
{
    setSorted(true);
}

std::string_view IniPStringList::sectionOf(std::string_view entry)
{
    const std::size_t pos = entry.find(';');
    return pos == std::string_view::npos ? std::string_view() : entry.substr(0, pos);
}

int IniPStringList::indexOfSectRef(std::string_view section) const
{
    if (!sorted())
        throw IniError("TIniPStringList.IndexOfSectRef says, \"Sort the list you fool\".");
    const std::string prefix = std::string(section) + ';';
    const int first = lowerBound(
        [&prefix](const IniEntry &entry) { return IniText::lessText(entry.text, prefix); });
    return first < count() && startsWithText(at(first), prefix) ? first : -1;
}

void IniPStringList::deleteSectRef(std::string_view section)
{
    const auto [first, last] = sectRefRange(section);
    if (first < last)
        removeRange(first, last);
}

void IniPStringList::touchSectRef(std::string_view section)
{
    const auto [first, last] = sectRefRange(section);
    for (int i = first; i < last; ++i)
        setTouched(i, true);
}

std::pair<int, int> IniPStringList::sectRefRange(std::string_view section) const
{
    const int first = indexOfSectRef(section);
    if (first < 0)
        return {0, 0};
    const std::string prefix = std::string(section) + ';';
    const int last = entries().partitionPoint([&prefix](const IniEntry &entry) {
        return IniText::lessText(entry.text, prefix) || startsWithText(entry.text, prefix);
    });
    return {first, last};
}
