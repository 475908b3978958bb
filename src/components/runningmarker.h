#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <memory>

class QLocalSocket;

// A mark outside tools can see while the program runs (the named mutex "quillboxrunningmutex"
// on Windows), and the local server through which "quillbox --toggle" and "--show" reach the
// running copy of the same user. The server listens in a place only this user can reach: a
// socket in a private folder ($XDG_RUNTIME_DIR, else a 0700 folder under the user's cache) on
// POSIX, a pipe open to this user only on Windows. The mark stops nothing: a second copy of the
// program started without those options starts as the first did.
//
// A client sends one line, "toggle" or "show", optionally followed by a space and the
// activation token its launcher gave it. Any other line is ignored; a client that sends no
// line within the silence limit is dropped, and no client can make the running copy wait.
class RunningMarker : public QObject
{
    Q_OBJECT

public:
    enum class Command
    {
        Toggle,
        Show
    };
    Q_ENUM(Command)

    static QString defaultName() { return QStringLiteral("quillboxrunningmutex"); }

    explicit RunningMarker(const QString &name = defaultName(), QObject *parent = nullptr);
    ~RunningMarker() override;

    // Whether this process holds the mark (another copy may hold it already).
    bool isHeld() const;

    // How long a client may stay connected without sending its line.
    void setSilenceLimit(int milliseconds) { m_silenceLimitMs = milliseconds; }

    // Where the server of name listens for this user: a socket path on POSIX, a pipe name on
    // Windows. Empty when there is no place only this user can reach; then nothing listens.
    static QString serverAddress(const QString &name = defaultName());

    // The client's side: hands command (and the launcher's activation token, when there is
    // one) to the running copy. False when no copy answers; never waits long.
    static bool send(Command command, const QString &activationToken = QString(),
                     const QString &name = defaultName());

    // The line a client sends, and the reading of one: false for anything but a known command
    // with at most a well-formed token.
    static QByteArray commandLine(Command command, const QString &activationToken);
    static bool parseCommandLine(const QByteArray &line, Command *command,
                                 QString *activationToken);

signals:
    void commandReceived(RunningMarker::Command command, const QString &activationToken);

private:
    struct Native;

    void listen(const QString &address);
    void acceptClients();
    void readCommand(QLocalSocket *client);

    std::unique_ptr<Native> m_native;
    QLocalServer m_server;
    int m_silenceLimitMs = 2000;
};
