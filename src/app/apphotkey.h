#pragma once

#include "components/globalhotkey.h"

#include <QDBusConnection>
#include <QObject>
#include <functional>
#include <memory>

class GlobalShortcutsPortal;
class QWidget;
struct NotesSettings;

// The program's hot key as the notes window registers it: the key of the settings handed to
// the system (or to a stand-in tests put in its place), whether that worked, and the message
// when the system refuses the key. Where no program may grab keys (Wayland), and on X11 when
// the grab is refused while a desktop portal runs, the key goes to the desktop's global
// shortcuts portal instead, which answers later. A press of the registered key is activated().
class AppHotKey : public QObject
{
    Q_OBJECT

public:
    // How the hot key works now.
    enum class Route
    {
        None,   // not registered
        System, // grabbed from the X server (RegisterHotKey on Windows)
        Portal  // held by the desktop portal, or asked of it
    };

    AppHotKey(const NotesSettings &settings, QWidget *window);
    ~AppHotKey() override;

    // RegisterAppHotKey: registers the hot key of the settings in place of the one registered
    // before. With none set it returns false and changes nothing; when the system refuses the
    // key the user is told, with the exclamation sound. Keeps and returns the outcome; a key
    // handed to the portal counts as registered until the portal turns it down.
    bool registerAppHotKey();
    bool isRegistered() const { return m_registered; }
    // The outcome as the options dialog sees it: it puts the earlier one back when cancelled.
    bool &registered() { return m_registered; }
    // What registers a hot key code with the system.
    void setGrab(std::function<bool(int code)> grab);

    // The bus the portal is asked on, and whether it is asked first (no grab is tried) or
    // only when the grab is refused. The platform decides by default: first on Wayland, after
    // a refused grab on X11, never elsewhere.
    void setPortal(const QDBusConnection &bus, bool portalFirst);

    Route route() const;
    // The line the options dialog shows under the hot key.
    QString routeText() const;
    // The command that a desktop's keyboard settings bind to show or hide the window.
    static QString toggleCommand();

signals:
    void activated();

private:
    bool registerThroughPortal();
    bool portalIsThere();
    void portalStateChanged();
    void tellNoPortal();

    const NotesSettings &m_settings;
    QWidget *m_window;
    GlobalHotKey m_hotKey;
    std::function<bool(int)> m_grab;
    bool m_registered = false;
    bool m_viaPortal = false;
    bool m_portalFirst = false;
    bool m_portalAllowed = false;
    bool m_toldNoPortal = false;
    QDBusConnection m_bus{QString()};
    std::unique_ptr<GlobalShortcutsPortal> m_portal;
};
