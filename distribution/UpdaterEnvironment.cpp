#include "UpdaterEnvironment.h"

#include "UserDefaults.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

QString runningAppPath()
{
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    return appImage.isEmpty() ? QCoreApplication::applicationFilePath() : appImage;
}

// A second copy would hand itself over to this one and exit, so the new
// version starts only once this process has ended.
void relaunchAfterExit(const QString &installedPath)
{
    const QString waitThenStart = QStringLiteral("while kill -0 \"$1\" 2>/dev/null; do sleep 0.1; done; exec \"$2\"");
    const QStringList arguments{QStringLiteral("-c"), waitThenStart, QStringLiteral("tavimo-relaunch"),
                                QString::number(QCoreApplication::applicationPid()), installedPath};
    if (QProcess::startDetached(QStringLiteral("/bin/sh"), arguments))
        QCoreApplication::quit();
}

} // namespace

UpdaterEnvironment UpdaterEnvironment::standard()
{
    UpdaterEnvironment environment;
    environment.defaults = &UserDefaults::standard();
    environment.installedPath = runningAppPath();
    environment.relaunch = relaunchAfterExit;
    environment.sslConfiguration = QSslConfiguration::defaultConfiguration();
    return environment;
}
