#pragma once

#include "linebuffer.h"

#include <string>
#include <string_view>
#include <vector>

// Sorted entries "section;key=value" as the lines of INI text that read back to them.
namespace EntryLines {

// A header before each change of section, a blank line between sections and one after the
// last. lines is overwritten, its memory reused.
void write(const std::vector<std::string_view> &entries, LineBuffer &lines);

} // namespace EntryLines
