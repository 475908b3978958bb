#pragma once

#include <string>
#include <string_view>

// What IniLinker needs of a component: its name and its value as one INI value.
// A GUI layer implements it for the window it links (see FormValue for the window's value).
class LinkedComponent
{
public:
    virtual ~LinkedComponent() = default;

    virtual std::string componentName() const = 0;
    virtual std::string iniValue() const = 0;
    // Called with a non-empty stored value; a malformed value changes nothing.
    virtual void setIniValue(std::string_view value) = 0;
};
