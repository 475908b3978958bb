#pragma once

#include <string_view>

// One string of a PStringList with its mark: touched means the entry was read through
// ReadString or written through WriteString since the last Read. The text is kept by the list.
struct IniEntry
{
    std::string_view text;
    bool touched = false;
};
