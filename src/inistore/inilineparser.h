#pragma once

#include "inipstringlist.h"
#include "linebuffer.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads INI text one line at a time, keeping the current section and user block.
//  - blank line after trimming: nothing
//  - "[name]" (not "[**"): the current section, trimmed, without ";"
//  - "[**n]" or "[**n;comment]": the current user block n (decimal); only block 0 is data
//  - a line with "=" in block 0: key (trimmed, without ";") and value (after the first "=")
// A marker whose number is not a decimal integer throws IniError.
class IniLineParser
{
public:
    struct Result
    {
        // The line belongs to user block 0 (a marker belongs to the block it selects).
        bool inBlockZero = true;
        // section + ";" + key + "=" + value for a key line of block 0, valid until the next
        // parse.
        std::optional<std::string_view> entry;
    };

    Result parse(std::string_view line);
    // Replaces the entries by those of user block 0 of lines (kept by the list, in order without
    // repeats) and appends the lines of the other blocks, markers included, to otherBlocks.
    static void parseAll(const LineBuffer &lines, IniPStringList &entries,
                         std::vector<std::string> &otherBlocks);
    // As parseAll, for the lines load(take) hands to take in pieces; returns what load returns.
    static bool parsePieces(const std::function<bool(const LinePieceTaker &take)> &load,
                            IniPStringList &entries, std::vector<std::string> &otherBlocks);

    const std::string &section() const { return m_section; }
    int userBlock() const { return m_userBlock; }

private:
    std::string m_section;
    std::string m_entry;
    int m_userBlock = 0;
};
