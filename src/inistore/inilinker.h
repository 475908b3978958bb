#pragma once

#include "customlinker.h"

#include <string>
#include <string_view>

class LinkedComponent;

// Binds one component's value to one key. An empty section becomes the store's default
// section at the first read or write; the key "[default]" (any case) stands for the
// component's name. Nothing happens while no store or no component is bound.
class IniLinker : public CustomIniLinker
{
public:
    static constexpr const char *defaultIdent = "[default]";

    const std::string &iniSection() const { return m_iniSection; }
    // Stored through IniBase::normalizeName.
    void setIniSection(std::string_view section);
    // The key as set (normalised; empty becomes "[default]").
    const std::string &iniIdent() const { return m_iniIdent; }
    void setIniIdent(std::string_view ident);
    // The key a read or write uses: the component's name for "[default]".
    std::string resolvedIdent() const;

    LinkedComponent *component() const { return m_component; }
    // The owner clears it (nullptr) before the component goes away.
    void setComponent(LinkedComponent *component) { m_component = component; }
    bool uservar() const { return m_uservar; }
    void setUservar(bool uservar) { m_uservar = uservar; }

    void iniWrite() override;
    void iniRead() override;

private:
    void resolveSection();

    std::string m_iniSection;
    std::string m_iniIdent = defaultIdent;
    LinkedComponent *m_component = nullptr;
    bool m_uservar = false;
};
