#include "iniprocessor.h"

#include "customlinker.h"

#include <algorithm>
#include <iterator>

IniProcessor &IniProcessor::instance()
{
    static IniProcessor processor;
    return processor;
}

void IniProcessor::append(CustomIniLinker *linker)
{
    m_linkers.push_back(linker);
}

void IniProcessor::remove(CustomIniLinker *linker)
{
    m_linkers.erase(std::remove(m_linkers.begin(), m_linkers.end(), linker), m_linkers.end());
}

std::vector<CustomIniLinker *> IniProcessor::linkersOf(const IniBase *store) const
{
    std::vector<CustomIniLinker *> bound;
    std::copy_if(m_linkers.begin(), m_linkers.end(), std::back_inserter(bound),
                 [store](const CustomIniLinker *linker) { return linker->iniMain() == store; });
    return bound;
}

bool IniProcessor::isBound(const CustomIniLinker *linker, const IniBase *store) const
{
    return std::find(m_linkers.begin(), m_linkers.end(), linker) != m_linkers.end() &&
           linker->iniMain() == store;
}

void IniProcessor::storeDestroyed(const IniBase *store)
{
    for (CustomIniLinker *linker : linkersOf(store))
        linker->setIniMain(nullptr);
}
