#include "inilinker.h"

#include "inibase.h"
#include "initext.h"
#include "linkedcomponent.h"

#include <exception>

void IniLinker::setIniSection(std::string_view section)
{
    m_iniSection = IniBase::normalizeName(section);
}

void IniLinker::setIniIdent(std::string_view ident)
{
    m_iniIdent = IniBase::normalizeName(ident);
    if (m_iniIdent.empty())
        m_iniIdent = defaultIdent;
}

std::string IniLinker::resolvedIdent() const
{
    if (m_component && IniText::upperCase(IniText::trim(m_iniIdent)) == "[DEFAULT]")
        return IniBase::normalizeName(m_component->componentName());
    return m_iniIdent;
}

void IniLinker::iniWrite()
{
    if (!m_component || !iniMain())
        return;
    try {
        resolveSection();
        iniMain()->writeString(m_iniSection, resolvedIdent(), m_component->iniValue(), false);
    } catch (const std::exception &) {
    }
}

void IniLinker::iniRead()
{
    if (!m_component || !iniMain())
        return;
    try {
        resolveSection();
        const std::string value = iniMain()->readString(m_iniSection, resolvedIdent(), false);
        if (!value.empty())
            m_component->setIniValue(value);
    } catch (const std::exception &) {
    }
}

void IniLinker::resolveSection()
{
    if (m_iniSection.empty())
        m_iniSection = iniMain()->defaultSection();
}
