#include "programarguments.h"

#ifdef _WIN32
// shellapi.h needs the declarations of windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace {

std::string utf8Of(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

} // namespace

std::vector<std::string> programArguments(int, char **)
{
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(utf8Of(wide[i]));
    LocalFree(wide);
    return arguments;
}

#else

std::vector<std::string> programArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

#endif
