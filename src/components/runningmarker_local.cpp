#include "runningmarker.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int answerWaitMs = 500;

bool serverAnswers(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    return socket.waitForConnected(answerWaitMs);
}

} // namespace

struct RunningMarker::Native
{
    QLocalServer server;
};

RunningMarker::RunningMarker(const QString &name) : m_native(std::make_unique<Native>())
{
    QLocalServer &server = m_native->server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    // A socket that answers belongs to a running copy and stays; one left behind by a copy
    // that crashed answers no one and is replaced.
    if (serverAnswers(name))
        return;
    QLocalServer::removeServer(name);
    if (!server.listen(name))
        return;
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            socket->disconnectFromServer();
            socket->deleteLater();
        }
    });
}

RunningMarker::~RunningMarker() = default;

bool RunningMarker::isHeld() const
{
    return m_native->server.isListening();
}
