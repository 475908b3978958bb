#include "traypresence.h"

TrayPresence::TrayPresence(QObject *parent) : QObject(parent)
{
    m_retry.setInterval(RetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &TrayPresence::retry);
}

void TrayPresence::setWanted(bool wanted)
{
    m_wanted = wanted;
    retry();
}

void TrayPresence::retry()
{
    m_icon.setActive(m_wanted);
    if (m_wanted && !m_icon.isActive())
        m_retry.start();
    else
        m_retry.stop();
}
