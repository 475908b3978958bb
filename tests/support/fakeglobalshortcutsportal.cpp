#include "fakeglobalshortcutsportal.h"

#include "fakeportalsession.h"

#include <QDBusMessage>
#include <QTimer>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace

bool FakeGlobalShortcutsPortal::publish(const QDBusConnection &bus)
{
    m_bus = bus;
    PortalShortcut::registerDBusTypes();
    return m_bus.registerObject(portalPath, this,
                                QDBusConnection::ExportAllSlots |
                                    QDBusConnection::ExportAllProperties) &&
           m_bus.registerService(portalService);
}

bool FakeGlobalShortcutsPortal::isClosed(const QString &session) const
{
    const FakePortalSession *object = m_sessionObjects.value(session);
    return object && object->isClosed();
}

QString FakeGlobalShortcutsPortal::callerPathPart() const
{
    QString sender = message().service().mid(1);
    sender.replace(u'.', u'_');
    return sender;
}

QDBusObjectPath FakeGlobalShortcutsPortal::answer(const QString &handleToken, uint response,
                                                  const QVariantMap &results)
{
    const QDBusObjectPath request(portalPath + QStringLiteral("/request/") + callerPathPart() +
                                  u'/' + handleToken);
    QDBusMessage signal =
        QDBusMessage::createSignal(request.path(), QStringLiteral("org.freedesktop.portal.Request"),
                                   QStringLiteral("Response"));
    signal << response << results;
    if (m_holding) {
        m_heldAnswers.append(signal);
    } else if (m_answerFirst) {
        setDelayedReply(true);
        const QDBusMessage reply = message().createReply(QVariant::fromValue(request));
        m_bus.send(signal);
        m_bus.send(reply);
    } else {
        QDBusConnection bus = m_bus;
        QTimer::singleShot(0, this, [bus, signal]() mutable { bus.send(signal); });
    }
    return request;
}

QDBusObjectPath FakeGlobalShortcutsPortal::CreateSession(const QVariantMap &options)
{
    m_sessionRequests.append(options);
    const QString session = portalPath + QStringLiteral("/session/") + callerPathPart() + u'/' +
                            options.value(QStringLiteral("session_handle_token")).toString();
    auto *object = new FakePortalSession(this);
    m_bus.registerObject(session, object, QDBusConnection::ExportAllSlots);
    m_sessionObjects.insert(session, object);
    m_sessions.append(session);
    // The portal's first version hands the session over as a string.
    return answer(options.value(QStringLiteral("handle_token")).toString(), 0,
                  {{QStringLiteral("session_handle"), session}});
}

QDBusObjectPath FakeGlobalShortcutsPortal::BindShortcuts(const QDBusObjectPath &session,
                                                         const QList<PortalShortcut> &shortcuts,
                                                         const QString &,
                                                         const QVariantMap &options)
{
    m_bindings.append({session.path(), shortcuts, options});
    return answer(options.value(QStringLiteral("handle_token")).toString(), m_bindResponse,
                  QVariantMap());
}

void FakeGlobalShortcutsPortal::releaseAnswers()
{
    m_holding = false;
    for (const QDBusMessage &signal : std::as_const(m_heldAnswers))
        m_bus.send(signal);
    m_heldAnswers.clear();
}

void FakeGlobalShortcutsPortal::press(const QString &session, const QString &shortcutId,
                                      const QString &token)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        portalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
        QStringLiteral("Activated"));
    QVariantMap options;
    if (!token.isEmpty())
        options.insert(QStringLiteral("activation_token"), token);
    signal << QVariant::fromValue(QDBusObjectPath(session)) << shortcutId << qulonglong(1234)
           << options;
    m_bus.send(signal);
}
