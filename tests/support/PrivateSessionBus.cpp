#include "PrivateSessionBus.h"

#include <QFile>

namespace {

const char *configuration = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

int connectionCount = 0;

} // namespace

PrivateSessionBus::PrivateSessionBus()
{
    QFile config(m_folder.filePath(QStringLiteral("session.conf")));
    if (!m_folder.isValid() || !config.open(QIODevice::WriteOnly))
        return;
    config.write(QString::fromUtf8(configuration).arg(m_folder.path()).toUtf8());
    config.close();
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                    QStringLiteral("--nopidfile"), QStringLiteral("--print-address")});
    if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateSessionBus::~PrivateSessionBus()
{
    for (const QString &name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    m_daemon.kill();
    m_daemon.waitForFinished();
}

QDBusConnection PrivateSessionBus::connect()
{
    const QString name = QStringLiteral("tavimo-test-bus-%1").arg(++connectionCount);
    m_connections.append(name);
    return QDBusConnection::connectToBus(m_address, name);
}
