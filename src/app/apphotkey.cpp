#include "apphotkey.h"

#include "components/dialogseam.h"
#include "notes/notessettings.h"

#include <QApplication>

AppHotKey::AppHotKey(const NotesSettings &settings, QWidget *window)
    : m_settings(settings), m_window(window),
      m_grab([this](int code) { return m_hotKey.registerHotKey(code); })
{
    connect(&m_hotKey, &GlobalHotKey::activated, this, &AppHotKey::activated);
}

bool AppHotKey::registerAppHotKey()
{
    if (HotKeyCode(m_settings.hotKeyCode).isNone())
        return false;
    m_registered = m_grab(m_settings.hotKeyCode);
    if (!m_registered) {
        QApplication::beep();
        DialogSeam::ask(m_window, DialogSeam::Kind::Plain,
                        QStringLiteral("Hot Key combination is already in use please try another"));
    }
    return m_registered;
}

void AppHotKey::setGrab(std::function<bool(int)> grab)
{
    m_grab = std::move(grab);
}
