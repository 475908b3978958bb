#include "globalhotkey.h"

#include <QCoreApplication>

bool GlobalHotKey::registerHotKey(int code)
{
    const HotKeyCode hotKey(code);
    if (hotKey.isNone())
        return false;
    unregisterHotKey();
    m_registered = grabNative(hotKey);
    return m_registered;
}

void GlobalHotKey::unregisterHotKey()
{
    releaseNative();
    m_registered = false;
}
