#include "privatebus.h"

#include <QDeadlineTimer>
#include <QFile>

namespace {

constexpr int startLimitMs = 30000;

QByteArray configuration(const QString &socketFolder)
{
    return QByteArrayLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                             "Configuration 1.0//EN\"\n"
                             " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                             "<busconfig>\n"
                             "  <type>session</type>\n"
                             "  <listen>unix:dir=") +
           socketFolder.toUtf8() +
           QByteArrayLiteral("</listen>\n"
                             "  <auth>EXTERNAL</auth>\n"
                             "  <policy context=\"default\">\n"
                             "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                             "    <allow eavesdrop=\"true\"/>\n"
                             "    <allow own=\"*\"/>\n"
                             "  </policy>\n"
                             "</busconfig>\n");
}

} // namespace

PrivateBus::~PrivateBus()
{
    for (const QString &name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(startLimitMs))
            m_daemon.kill();
    }
}

bool PrivateBus::start()
{
    const QString configFile = m_folder.filePath(QStringLiteral("bus.conf"));
    QFile config(configFile);
    if (!m_folder.isValid() || !config.open(QIODevice::WriteOnly) ||
        config.write(configuration(m_folder.path())) < 0) {
        m_error = QStringLiteral("cannot write the bus configuration");
        return false;
    }
    config.close();
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + configFile, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address")});
    const QDeadlineTimer deadline(startLimitMs);
    while (!m_daemon.canReadLine() && m_daemon.state() != QProcess::NotRunning &&
           !deadline.hasExpired())
        m_daemon.waitForReadyRead(100);
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty()) {
        m_error = QStringLiteral("dbus-daemon gave no address: ") + m_daemon.errorString() + u' ' +
                  QString::fromLocal8Bit(m_daemon.readAllStandardError());
        return false;
    }
    return true;
}

QDBusConnection PrivateBus::connect(const QString &connectionName)
{
    m_connections.append(connectionName);
    return QDBusConnection::connectToBus(m_address, connectionName);
}
