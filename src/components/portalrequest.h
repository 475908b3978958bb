#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>
#include <functional>

class QDBusPendingCall;

// One call to a desktop portal that answers later: the portal returns the path of a Request
// object at once and sends that object's Response signal when the work is done (0 success,
// 1 cancelled by the user, 2 anything else). The request listens on the path the handle token
// makes before the call goes out, so no answer can come too early, and follows the path the
// portal returns when it differs. A call the bus refuses answers 2. Deletes itself after its
// one answer.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    using Answer = std::function<void(uint response, const QVariantMap &results)>;

    PortalRequest(const QDBusConnection &bus, const QString &handleToken, Answer answer,
                  QObject *parent);

    // Follows the reply of the method call that was given this request's handle token.
    void follow(const QDBusPendingCall &call);

private slots:
    void respond(uint response, const QVariantMap &results);

private:
    bool listen(const QString &path);
    void stopListening();

    QDBusConnection m_bus;
    QString m_path;
    Answer m_answer;
    bool m_answered = false;
};
