#include "runningmarker.h"

#include <QLocalSocket>
#include <QTimer>

namespace {

constexpr int answerWaitMs = 500;
constexpr qint64 longestLine = 300;
constexpr qsizetype longestToken = 256;

bool serverAnswers(const QString &address)
{
    QLocalSocket socket;
    socket.connectToServer(address);
    return socket.waitForConnected(answerWaitMs);
}

QByteArray commandWord(RunningMarker::Command command)
{
    return command == RunningMarker::Command::Show ? QByteArrayLiteral("show")
                                                   : QByteArrayLiteral("toggle");
}

// Tokens are opaque to us but travel inside one line: printable ASCII without blanks.
bool isWellFormedToken(const QByteArray &token)
{
    if (token.isEmpty() || token.size() > longestToken)
        return false;
    for (const char c : token) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

} // namespace

bool RunningMarker::isHeld() const
{
    return m_server.isListening();
}

void RunningMarker::listen(const QString &address)
{
    if (address.isEmpty())
        return;
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    // A socket that answers belongs to a running copy and stays; one left behind by a copy
    // that crashed answers no one and is replaced.
    if (serverAnswers(address))
        return;
    QLocalServer::removeServer(address);
    if (!m_server.listen(address))
        return;
    connect(&m_server, &QLocalServer::newConnection, this, &RunningMarker::acceptClients);
}

void RunningMarker::acceptClients()
{
    while (QLocalSocket *client = m_server.nextPendingConnection()) {
        // The server owns its clients; each one goes when it hangs up, sends its line or stays
        // silent too long.
        auto *silence = new QTimer(client);
        silence->setSingleShot(true);
        connect(silence, &QTimer::timeout, client, [client] {
            client->abort();
            client->deleteLater();
        });
        silence->start(m_silenceLimitMs);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readCommand(client); });
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        readCommand(client);
    }
}

void RunningMarker::readCommand(QLocalSocket *client)
{
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > longestLine) {
            client->abort();
            client->deleteLater();
        }
        return;
    }
    const QByteArray line = client->readLine(longestLine);
    client->disconnect(this);
    client->abort();
    client->deleteLater();
    Command command;
    QString token;
    if (parseCommandLine(line, &command, &token))
        emit commandReceived(command, token);
}

QByteArray RunningMarker::commandLine(Command command, const QString &activationToken)
{
    QByteArray line = commandWord(command);
    const QByteArray token = activationToken.toLatin1();
    if (isWellFormedToken(token) && QString::fromLatin1(token) == activationToken)
        line += ' ' + token;
    return line + '\n';
}

bool RunningMarker::parseCommandLine(const QByteArray &line, Command *command,
                                     QString *activationToken)
{
    if (!line.endsWith('\n'))
        return false;
    const QList<QByteArray> words = line.chopped(1).split(' ');
    if (words.size() > 2 || (words.size() == 2 && !isWellFormedToken(words.at(1))))
        return false;
    if (words.first() == commandWord(Command::Toggle))
        *command = Command::Toggle;
    else if (words.first() == commandWord(Command::Show))
        *command = Command::Show;
    else
        return false;
    *activationToken = words.size() == 2 ? QString::fromLatin1(words.at(1)) : QString();
    return true;
}

bool RunningMarker::send(Command command, const QString &activationToken, const QString &name)
{
    const QString address = serverAddress(name);
    if (address.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(address);
    if (!socket.waitForConnected(answerWaitMs))
        return false;
    socket.write(commandLine(command, activationToken));
    if (!socket.waitForBytesWritten(answerWaitMs))
        return false;
    socket.disconnectFromServer();
    return true;
}
