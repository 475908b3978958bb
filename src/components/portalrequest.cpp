#include "portalrequest.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

constexpr uint otherFailure = 2;

// The portal names a caller's requests after its unique bus name, ":1.42" becoming "1_42".
QString requestPath(const QDBusConnection &bus, const QString &handleToken)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, handleToken);
}

} // namespace

PortalRequest::PortalRequest(const QDBusConnection &bus, const QString &handleToken, Answer answer,
                             QObject *parent)
    : QObject(parent), m_bus(bus), m_answer(std::move(answer))
{
    listen(requestPath(bus, handleToken));
}

bool PortalRequest::listen(const QString &path)
{
    m_path = path;
    return m_bus.connect(portalService, path, requestInterface, QStringLiteral("Response"), this,
                         SLOT(respond(uint, QVariantMap)));
}

void PortalRequest::stopListening()
{
    m_bus.disconnect(portalService, m_path, requestInterface, QStringLiteral("Response"), this,
                     SLOT(respond(uint, QVariantMap)));
}

void PortalRequest::follow(const QDBusPendingCall &call)
{
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            respond(otherFailure, QVariantMap());
            return;
        }
        const QString path = reply.value().path();
        if (path != m_path && !m_answered) {
            stopListening();
            listen(path);
        }
    });
}

void PortalRequest::respond(uint response, const QVariantMap &results)
{
    if (m_answered)
        return;
    m_answered = true;
    stopListening();
    m_answer(response, results);
    deleteLater();
}
