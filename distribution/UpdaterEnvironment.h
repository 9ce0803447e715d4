#pragma once

#include "AppcastItem.h"
#include "UpdateChoice.h"

#include <QSslConfiguration>
#include <QString>

#include <functional>

class UserDefaults;

// Where the updater installs, how it restarts the app, whom it trusts and how
// it asks the user. Tests replace each of these.
struct UpdaterEnvironment {
    using Answer = std::function<void(UpdateChoice)>;
    using Prompt = std::function<void(const AppcastItem &item, Answer answer)>;

    // Holds the update settings and the time of the last check.
    UserDefaults *defaults = nullptr;
    // The executable or AppImage that an update replaces.
    QString installedPath;
    // Starts the freshly installed app at `installedPath` and ends this one.
    std::function<void(const QString &installedPath)> relaunch;
    // The TLS settings of feed and archive downloads.
    QSslConfiguration sslConfiguration;
    // Offers a found update to the user; the answer may come later. Without a
    // prompt every found update is installed.
    Prompt prompt;

    // The running app: $APPIMAGE when set, otherwise the executable; the
    // standard user defaults and the system's certificate authorities.
    static UpdaterEnvironment standard();
};
