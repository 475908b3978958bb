#pragma once

#include "inistore/linkedcomponent.h"
#include "notesstore.h"

// The main window as the INI store's window linker sees it: its object name and its bounds
// as one form value.
class BoundsComponent : public LinkedComponent
{
public:
    explicit BoundsComponent(BoundsWindow &window) : m_window(window) {}

    std::string componentName() const override;
    std::string iniValue() const override;
    void setIniValue(std::string_view value) override;

private:
    BoundsWindow &m_window;
};
