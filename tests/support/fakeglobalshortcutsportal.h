#pragma once

#include "components/portalshortcut.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QObject>
#include <QVariantMap>

class FakePortalSession;

// org.freedesktop.portal.Desktop with the GlobalShortcuts interface, as the portal documents
// it: CreateSession and BindShortcuts return a Request object's path made from the caller's
// unique name and its handle token, and answer later with that Request's Response signal.
// It notes every call, answers with the response code a test sets, and sends Activated when a
// test presses the shortcut.
class FakeGlobalShortcutsPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    struct Binding
    {
        QString session;
        QList<PortalShortcut> shortcuts;
        QVariantMap options;
    };

    // Registers the service and its object on bus; false when the name is taken.
    bool publish(const QDBusConnection &bus);

    uint version() const { return 1; }

    // What later calls get: the Response code of BindShortcuts, and whether Responses are sent
    // before the method's own reply (a portal may do either).
    void setBindResponse(uint response) { m_bindResponse = response; }
    void setAnswerBeforeReply(bool first) { m_answerFirst = first; }
    // Keeps the Responses back, as while a portal's dialog is open, until releaseAnswers().
    void holdAnswers() { m_holding = true; }
    void releaseAnswers();

    const QList<QVariantMap> &sessionRequests() const { return m_sessionRequests; }
    const QStringList &sessions() const { return m_sessions; }
    const QList<Binding> &bindings() const { return m_bindings; }
    bool isClosed(const QString &session) const;

    // Sends Activated for session and shortcut id, with the activation token unless it is
    // empty.
    void press(const QString &session, const QString &shortcutId, const QString &token);

public slots:
    QDBusObjectPath CreateSession(const QVariantMap &options);
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &session,
                                  const QList<PortalShortcut> &shortcuts,
                                  const QString &parentWindow, const QVariantMap &options);

private:
    QString callerPathPart() const;
    QDBusObjectPath answer(const QString &handleToken, uint response, const QVariantMap &results);

    QDBusConnection m_bus{QString()};
    uint m_bindResponse = 0;
    bool m_answerFirst = false;
    bool m_holding = false;
    QList<QDBusMessage> m_heldAnswers;
    QList<QVariantMap> m_sessionRequests;
    QStringList m_sessions;
    QList<Binding> m_bindings;
    QHash<QString, FakePortalSession *> m_sessionObjects;
};
