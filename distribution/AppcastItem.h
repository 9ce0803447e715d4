#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// One release offered by the update feed.
struct AppcastItem {
    QString title;
    // The build number the release installs, compared with the running build.
    QString version;
    // The version users see, such as "0.5.0".
    QString shortVersion;
    QUrl url;
    // The archive's size in bytes as the feed announces it; -1 when missing.
    qint64 length = -1;
    // The Base64 Ed25519 signature of the archive as the feed gives it.
    QByteArray signature;
};
