#include "apphotkey.h"

#include "components/activationtoken.h"
#include "components/dialogseam.h"
#include "components/globalshortcutsportal.h"
#include "components/productname.h"
#include "notes/notessettings.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");

} // namespace

AppHotKey::AppHotKey(const NotesSettings &settings, QWidget *window)
    : m_settings(settings), m_window(window),
      m_grab([this](int code) { return m_hotKey.registerHotKey(code); })
{
    connect(&m_hotKey, &GlobalHotKey::activated, this, &AppHotKey::activated);
    const QString platform = QGuiApplication::platformName();
    m_portalFirst = platform.startsWith(QLatin1String("wayland"));
    // Without a session bus address there is no portal to ask, and asking would have the bus
    // library try to start a bus of its own.
    m_portalAllowed = (m_portalFirst || platform == QLatin1String("xcb")) &&
                      !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

AppHotKey::~AppHotKey() = default;

bool AppHotKey::registerAppHotKey()
{
    if (HotKeyCode(m_settings.hotKeyCode).isNone())
        return false;
    if (m_portalFirst && m_portalAllowed)
        return registerThroughPortal();
    m_registered = m_grab(m_settings.hotKeyCode);
    if (m_registered) {
        m_viaPortal = false;
        if (m_portal)
            m_portal->bind(HotKeyCode::None);
        return true;
    }
    if (m_portalAllowed && portalIsThere())
        return registerThroughPortal();
    QApplication::beep();
    DialogSeam::ask(m_window, DialogSeam::Kind::Plain,
                    QStringLiteral("Hot Key combination is already in use please try another"));
    return false;
}

bool AppHotKey::registerThroughPortal()
{
    if (!m_portal) {
        if (!m_bus.isConnected())
            m_bus = QDBusConnection::sessionBus();
        m_portal = std::make_unique<GlobalShortcutsPortal>(m_bus);
        connect(m_portal.get(), &GlobalShortcutsPortal::stateChanged, this,
                &AppHotKey::portalStateChanged);
        connect(m_portal.get(), &GlobalShortcutsPortal::activated, this,
                [this](const QString &token) {
                    useActivationToken(token);
                    emit activated();
                });
    }
    m_viaPortal = true;
    m_registered = true;
    m_portal->bind(m_settings.hotKeyCode);
    return true;
}

// Whether a portal runs on the session bus or the bus would start one.
bool AppHotKey::portalIsThere()
{
    if (!m_bus.isConnected())
        m_bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface *bus = m_bus.interface();
    if (!bus)
        return false;
    return bus->isServiceRegistered(portalService).value() ||
           bus->activatableServiceNames().value().contains(portalService);
}

void AppHotKey::portalStateChanged()
{
    if (!m_viaPortal)
        return;
    switch (m_portal->state()) {
    case GlobalShortcutsPortal::State::Binding:
    case GlobalShortcutsPortal::State::Bound:
        return;
    case GlobalShortcutsPortal::State::Unavailable:
        tellNoPortal();
        break;
    case GlobalShortcutsPortal::State::Unbound:
    case GlobalShortcutsPortal::State::Refused:
        break;
    }
    m_viaPortal = false;
    m_registered = false;
}

// Said once a run: the user binds the command and needs no reminder at every change.
void AppHotKey::tellNoPortal()
{
    if (m_toldNoPortal)
        return;
    m_toldNoPortal = true;
    DialogSeam::ask(m_window, DialogSeam::Kind::Plain,
                    QStringLiteral("This desktop offers no way to register the hot key: no "
                                   "desktop portal for global shortcuts answered.\nTo show or "
                                   "hide %1 with a key, bind this command to it in your "
                                   "desktop's keyboard settings:\n\n%2")
                        .arg(productName(), toggleCommand()));
}

void AppHotKey::setGrab(std::function<bool(int)> grab)
{
    m_grab = std::move(grab);
}

void AppHotKey::setPortal(const QDBusConnection &bus, bool portalFirst)
{
    m_portal.reset();
    m_viaPortal = false;
    m_bus = bus;
    m_portalFirst = portalFirst;
    m_portalAllowed = true;
}

AppHotKey::Route AppHotKey::route() const
{
    if (!m_registered)
        return Route::None;
    return m_viaPortal ? Route::Portal : Route::System;
}

QString AppHotKey::routeText() const
{
    switch (route()) {
    case Route::System:
#ifdef Q_OS_WIN
        return QStringLiteral("Registered with Windows");
#else
        return QStringLiteral("Registered with the X server");
#endif
    case Route::Portal:
        return QStringLiteral("Registered through the desktop portal");
    case Route::None:
        break;
    }
    return QStringLiteral("Not registered: bind `quillbox --toggle` in your desktop's keyboard "
                          "settings");
}

// The bare program name when the search path finds this very program under it, else its
// whole path.
QString AppHotKey::toggleCommand()
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString name = QFileInfo(program).fileName();
    const QString found = QStandardPaths::findExecutable(name);
    const bool onPath = !found.isEmpty() && QFileInfo(found).canonicalFilePath() ==
                                                QFileInfo(program).canonicalFilePath();
    return (onPath ? name : program) + QStringLiteral(" --toggle");
}
