#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A D-Bus bus of a test's own: a dbus-daemon started with a configuration that lets every
// client own names and call every other, and that starts no services by itself, so nothing
// of the machine's desktop answers on it.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Starts the daemon; false (with the reason in error()) when it does not come up.
    bool start();
    QString error() const { return m_error; }

    // A new connection to the bus under a name of this process's own choosing.
    QDBusConnection connect(const QString &connectionName);

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QString m_error;
    QStringList m_connections;
};
