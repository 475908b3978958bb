#pragma once

#include <string>
#include <vector>

// The list that the churning worker saves with generation g: 300 lines when g is odd, 350
// when even, each "<g>:<line number>", so that a list of one generation never passes for
// another.
inline std::vector<std::string> churnLines(int generation)
{
    std::vector<std::string> lines(generation % 2 ? 300 : 350);
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = std::to_string(generation) + ':' + std::to_string(i + 1);
    return lines;
}
