#pragma once

#include "components/globalhotkey.h"

#include <QObject>
#include <functional>

class QWidget;
struct NotesSettings;

// The program's hot key as the notes window registers it: the key of the settings handed to
// the system (or to a stand-in tests put in its place), whether that worked, and the message
// when the system refuses the key. A press of the registered key is activated().
class AppHotKey : public QObject
{
    Q_OBJECT

public:
    AppHotKey(const NotesSettings &settings, QWidget *window);

    // RegisterAppHotKey: registers the hot key of the settings in place of the one registered
    // before. With none set it returns false and changes nothing; when the system refuses the
    // key the user is told, with the exclamation sound. Keeps and returns the outcome.
    bool registerAppHotKey();
    bool isRegistered() const { return m_registered; }
    // The outcome as the options dialog sees it: it puts the earlier one back when cancelled.
    bool &registered() { return m_registered; }
    // What registers a hot key code with the system.
    void setGrab(std::function<bool(int code)> grab);

signals:
    void activated();

private:
    const NotesSettings &m_settings;
    QWidget *m_window;
    GlobalHotKey m_hotKey;
    std::function<bool(int)> m_grab;
    bool m_registered = false;
};
