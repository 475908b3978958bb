#include "customlinker.h"

#include "iniprocessor.h"

CustomIniLinker::~CustomIniLinker()
{
    IniProcessor::instance().remove(this);
}

void CustomIniLinker::setIniMain(IniBase *store)
{
    if (m_iniMain)
        IniProcessor::instance().remove(this);
    m_iniMain = store;
    if (m_iniMain)
        IniProcessor::instance().append(this);
}
