#pragma once

#include <string>
#include <string_view>
#include <vector>

// Sorted entries "section;key=value" as the lines of INI text that read back to them.
namespace EntryLines {

// A header before each change of section, a blank line between sections and one after the
// last. lines is overwritten, its strings reused.
void write(const std::vector<std::string_view> &entries, std::vector<std::string> &lines);

} // namespace EntryLines
