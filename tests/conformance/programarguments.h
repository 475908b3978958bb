#pragma once

#include <string>
#include <vector>

// The command-line arguments as UTF-8, the program's name left out. On Windows they come
// from the wide command line, so a folder name outside the ANSI code page arrives intact.
std::vector<std::string> programArguments(int argc, char **argv);
