#pragma once

#include <string>

// One string of a PStringList with its mark: touched means the entry was read through
// ReadString or written through WriteString since the last Read.
struct IniEntry
{
    std::string text;
    bool touched = false;
};
