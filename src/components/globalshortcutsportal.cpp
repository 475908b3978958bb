#include "globalshortcutsportal.h"

#include "portalrequest.h"
#include "portalshortcut.h"
#include "portaltrigger.h"
#include "productname.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// Long enough for the bus to start a portal on first use.
constexpr int portalStartMs = 10000;

QDBusMessage portalCall(const QString &method)
{
    return QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
}

// The session handle comes as an object path or, from older portals, as a string.
QString sessionOf(const QVariantMap &results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    return handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                : handle.toString();
}

} // namespace

GlobalShortcutsPortal::GlobalShortcutsPortal(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    PortalShortcut::registerDBusTypes();
    m_bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

GlobalShortcutsPortal::~GlobalShortcutsPortal()
{
    closeSession();
}

QString GlobalShortcutsPortal::shortcutDescription()
{
    return QStringLiteral("Show or hide %1").arg(productName());
}

void GlobalShortcutsPortal::bind(int code)
{
    const int generation = ++m_generation;
    closeSession();
    const QString trigger = PortalTrigger::fromHotKeyCode(code);
    if (trigger.isEmpty()) {
        setState(State::Unbound);
        return;
    }
    setState(State::Binding);
    askForPortal(generation, trigger);
}

// The portal's version property tells whether anything answers for the interface at all.
void GlobalShortcutsPortal::askForPortal(int generation, const QString &trigger)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << shortcutsInterface << QStringLiteral("version");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get, portalStartMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, trigger](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                if (generation != m_generation)
                    return;
                if (w->isError())
                    setState(State::Unavailable);
                else
                    createSession(generation, trigger);
            });
}

void GlobalShortcutsPortal::createSession(int generation, const QString &trigger)
{
    const QString handleToken = nextToken();
    auto *request = new PortalRequest(
        m_bus, handleToken,
        [this, generation, trigger](uint response, const QVariantMap &results) {
            const QString session = sessionOf(results);
            if (generation != m_generation) {
                // An answer to a bind() that was replaced: its session is of no use.
                if (response == 0 && !session.isEmpty())
                    m_bus.asyncCall(QDBusMessage::createMethodCall(
                        portalService, session, sessionInterface, QStringLiteral("Close")));
                return;
            }
            if (response != 0 || session.isEmpty()) {
                setState(State::Refused);
                return;
            }
            m_session = session;
            bindShortcut(generation, trigger);
        },
        this);
    QDBusMessage call = portalCall(QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("handle_token"), handleToken},
                        {QStringLiteral("session_handle_token"), nextToken()}};
    request->follow(m_bus.asyncCall(call, portalStartMs));
}

void GlobalShortcutsPortal::bindShortcut(int generation, const QString &trigger)
{
    const QString handleToken = nextToken();
    auto *request = new PortalRequest(
        m_bus, handleToken,
        [this, generation](uint response, const QVariantMap &) {
            if (generation == m_generation)
                setState(response == 0 ? State::Bound : State::Refused);
        },
        this);
    const QList<PortalShortcut> shortcuts = {
        {shortcutId(),
         {{QStringLiteral("description"), shortcutDescription()},
          {QStringLiteral("preferred_trigger"), trigger}}}};
    QDBusMessage call = portalCall(QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts)
         << QString() << QVariantMap{{QStringLiteral("handle_token"), handleToken}};
    // The answer comes with the Response signal, after any dialog the portal shows the user.
    request->follow(m_bus.asyncCall(call));
}

void GlobalShortcutsPortal::closeSession()
{
    if (m_session.isEmpty())
        return;
    m_bus.asyncCall(QDBusMessage::createMethodCall(portalService, m_session, sessionInterface,
                                                   QStringLiteral("Close")));
    m_session.clear();
}

QString GlobalShortcutsPortal::nextToken()
{
    return QStringLiteral("quillbox%1").arg(++m_tokens);
}

void GlobalShortcutsPortal::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void GlobalShortcutsPortal::onActivated(const QDBusObjectPath &session, const QString &shortcutId,
                                        qulonglong, const QVariantMap &options)
{
    if (m_session.isEmpty() || session.path() != m_session ||
        shortcutId != GlobalShortcutsPortal::shortcutId())
        return;
    emit activated(options.value(QStringLiteral("activation_token")).toString());
}
