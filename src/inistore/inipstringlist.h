#pragma once

#include "pstringlist.h"

#include <string_view>
#include <utility>

// The entry list of a store: entries "section;key=value", sorted from construction.
// A section reference is the part of an entry before its first ";".
class IniPStringList : public PStringList
{
public:
    IniPStringList();

    // The text before the first ";" (empty when there is none).
    static std::string_view sectionOf(std::string_view entry);

    // Index of the first entry of the section, or -1. Throws IniError with the text
    // "TIniPStringList.IndexOfSectRef says, \"Sort the list you fool\"." when not sorted.
    int indexOfSectRef(std::string_view section) const;
    // Deletes every entry of the section.
    void deleteSectRef(std::string_view section);
    // Marks every entry of the section touched.
    void touchSectRef(std::string_view section);

    // The entries [first, last) of the section; empty when it has none.
    std::pair<int, int> sectRefRange(std::string_view section) const;
};
