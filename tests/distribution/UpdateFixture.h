#pragma once

#include "AppcastItem.h"
#include "LoopbackHttpsServer.h"
#include "TestSigningKey.h"
#include "UpdaterConfiguration.h"
#include "UpdaterEnvironment.h"
#include "UpdaterError.h"
#include "UserDefaults.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *stream)
{
    *stream << '"' << text.toStdString() << '"';
}

// A loopback feed signed by a fresh key, an installed app in a temporary
// folder, private settings and a private temporary folder for downloads.
class UpdateFixture {
public:
    struct Release {
        QString version;
        QByteArray archive;
        std::optional<QByteArray> signature; // the archive's own when unset
        qint64 length = -1;                  // the archive's size when negative
        QString url;                         // the served archive when empty
    };
    UpdateFixture();
    ~UpdateFixture();
    static QByteArray program(const QString &label);
    static Release release(const QString &version);
    // The error `job` failed with, if any.
    static std::optional<UpdaterError> failureOf(const std::function<void()> &job);
    // Serves "/appcast.xml" listing `releases` and serves each archive.
    void publish(const QList<Release> &releases);
    UpdaterConfiguration configuration() const;
    // Relaunches are recorded in `relaunches`; prompts answer with `choice`
    // when set and are left unanswered otherwise.
    UpdaterEnvironment environment();
    QByteArray installedContents() const;
    QStringList leftoverFiles() const;
    QTemporaryDir root;
    QString installedPath;
    QString runningBuild = QStringLiteral("3");
    LoopbackHttpsServer server;
    // The certificates the updater trusts.
    QSslConfiguration tls = server.clientTls();
    TestSigningKey key;
    std::unique_ptr<UserDefaults> defaults;
    QStringList relaunches;
    std::optional<UpdateChoice> choice = UpdateChoice::install;
    QList<AppcastItem> prompted;

private:
    QByteArray m_previousTemporaryFolder;
};
