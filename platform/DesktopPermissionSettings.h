#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The desktop's own page where users allow or refuse apps' screenshots.
// GNOME and KDE Plasma have one in their settings; other desktops have none.
namespace DesktopPermissionSettings {

struct Command {
    QString program;
    QStringList arguments;

    bool operator==(const Command &) const = default;
};

using ProgramFinder = std::function<QString(const QString &name)>;

// `desktops` as in $XDG_CURRENT_DESKTOP, names separated by colons; `find`
// gives a program's path or nothing when it is not installed. Nothing when
// no settings page can be opened.
std::optional<Command> command(const QString &desktops, const ProgramFinder &find);
// For this session: $XDG_CURRENT_DESKTOP and the programs on $PATH.
std::optional<Command> command();

} // namespace DesktopPermissionSettings
