#include "changeflags.h"

void ChangeFlags::mark(Flag flag)
{
    m_set |= flag;
    if (m_saving)
        m_markedDuringSave |= flag;
}

void ChangeFlags::saveStarted()
{
    m_saving = true;
    m_markedDuringSave = 0;
}

void ChangeFlags::saveEnded(bool written)
{
    m_saving = false;
    if (written) {
        m_set = m_markedDuringSave;
        m_unsaved = 0;
    } else {
        m_unsaved = m_set;
    }
    m_markedDuringSave = 0;
}

void ChangeFlags::clear()
{
    m_set = 0;
    m_unsaved = 0;
}

void ChangeFlags::clearAllButUnsaved()
{
    m_set &= m_unsaved;
}
