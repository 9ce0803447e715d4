#include "DesktopPermissionSettings.h"

#include <QStandardPaths>

namespace {

struct SettingsPage {
    QLatin1StringView desktop;
    QLatin1StringView program;
    QLatin1StringView page;
};

// Both list the permissions apps hold, screenshots among them.
constexpr SettingsPage settingsPages[] = {
    {QLatin1StringView("GNOME"), QLatin1StringView("gnome-control-center"), QLatin1StringView("applications")},
    {QLatin1StringView("KDE"), QLatin1StringView("systemsettings"), QLatin1StringView("kcm_app-permissions")},
};

} // namespace

std::optional<DesktopPermissionSettings::Command> DesktopPermissionSettings::command(const QString &desktops,
                                                                                     const ProgramFinder &find)
{
    for (const QString &desktop : desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        for (const SettingsPage &page : settingsPages) {
            if (desktop.compare(page.desktop, Qt::CaseInsensitive) != 0)
                continue;
            const QString program = find(page.program);
            if (!program.isEmpty())
                return Command{program, {page.page}};
        }
    }
    return std::nullopt;
}

std::optional<DesktopPermissionSettings::Command> DesktopPermissionSettings::command()
{
    return command(qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                   [](const QString &name) { return QStandardPaths::findExecutable(name); });
}
