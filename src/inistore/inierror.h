#pragma once

#include <stdexcept>
#include <string>

// Raised for the programming errors of the store's callers (an unsorted list searched by
// section, nested ClearSection blocks) and for a malformed user-block marker while parsing.
// what() is the message text.
class IniError : public std::runtime_error
{
public:
    explicit IniError(const std::string &message) : std::runtime_error(message) {}
};
