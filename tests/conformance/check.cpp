#include "check.h"

#include "inistore/inibase.h"

#include <cstdio>

namespace {

std::vector<std::string> &currentFailures()
{
    static std::vector<std::string> failures;
    return failures;
}

std::string printable(const std::string &bytes)
{
    std::string shown = "\"";
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 32 && code < 127 && c != '\\' && c != '"') {
            shown += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", code);
            shown += escape;
        }
    }
    return shown + '"';
}

} // namespace

void Check::begin()
{
    currentFailures().clear();
}

void Check::record(bool condition, const std::string &what)
{
    if (!condition)
        currentFailures().push_back(what);
}

const std::vector<std::string> &Check::failures()
{
    return currentFailures();
}

void check(bool condition, const std::string &what)
{
    Check::record(condition, what);
}

void checkSame(const std::string &actual, const std::string &expected, const std::string &what)
{
    Check::record(actual == expected,
                  what + ": got " + printable(actual) + ", expected " + printable(expected));
}

void checkDone(bool done, const IniBase &store, const std::string &what)
{
    if (!done)
        Check::record(false, what + ": " + store.lastError());
}
