#include "DesktopPermissionSettings.h"

#include <gtest/gtest.h>

using DesktopPermissionSettings::Command;

TEST(DesktopPermissionSettings, OpensTheSettingsOfDesktopsThatHaveAPermissionPage)
{
    const QStringList installed{QStringLiteral("gnome-control-center"), QStringLiteral("systemsettings")};
    const auto find = [&](const QString &name) {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    };
    const std::optional<Command> gnome = Command{QStringLiteral("/usr/bin/gnome-control-center"), {"applications"}};
    const std::optional<Command> kde = Command{QStringLiteral("/usr/bin/systemsettings"), {"kcm_app-permissions"}};
    const std::pair<const char *, std::optional<Command>> cases[] = {
        {"GNOME", gnome},       {"ubuntu:GNOME", gnome}, {"KDE", kde},           {"kde", kde},
        {"sway", std::nullopt}, {"", std::nullopt},      {"XFCE", std::nullopt},
    };
    for (const auto &[desktops, expected] : cases)
        EXPECT_EQ(DesktopPermissionSettings::command(QString::fromLatin1(desktops), find), expected) << desktops;

    const auto nothingInstalled = [](const QString &) {
        return QString();
    };
    EXPECT_EQ(DesktopPermissionSettings::command(QStringLiteral("GNOME"), nothingInstalled), std::nullopt);
}
