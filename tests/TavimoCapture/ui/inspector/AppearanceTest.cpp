#include "AppTheme.h"
#include "AppearanceMenu.h"
#include "AppearancePicker.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(AppTheme, ResolvesTheCaptureIdentifierAndSchemeNames)
{
    EXPECT_EQ(AppTheme::resolve("local.tavimo.capture"), AppTheme::Product::capture);
    EXPECT_EQ(AppTheme::resolve("local.tavimo.capture.beta"), AppTheme::Product::capture);
    EXPECT_NE(AppTheme::resolve("local.tavimo.captures"), AppTheme::Product::capture);
    EXPECT_EQ(AppTheme::resolve(""), AppTheme::Product::suite);
    EXPECT_EQ(AppTheme::scheme("light"), AppTheme::ColorScheme::light);
    EXPECT_EQ(AppTheme::scheme("dark"), AppTheme::ColorScheme::dark);
    EXPECT_EQ(AppTheme::scheme("Dark"), std::nullopt);
}

TEST(Appearance, AnUnknownValueShowsSystemAndPickingStoresAndApplies)
{
    QTemporaryDir folder;
    UserDefaults defaults(folder.filePath("defaults.json"));
    defaults.setValue(AppearanceMenu::key, "sepia");
    AppearancePicker picker(defaults);
    AppearanceMenu *menu = picker.menu();
    EXPECT_EQ(menu->count(), 3);
    EXPECT_EQ(menu->itemText(0), QStringLiteral("System"));
    EXPECT_EQ(menu->currentIndex(), 0);
    emit menu->activated(2);
    EXPECT_EQ(defaults.stringValue(AppearanceMenu::key), QStringLiteral("dark"));
    EXPECT_TRUE(AppTheme::isDark());
    emit menu->activated(1);
    EXPECT_FALSE(AppTheme::isDark());
    emit menu->activated(0);
    EXPECT_EQ(defaults.stringValue(AppearanceMenu::key), QStringLiteral("system"));
    menu->sync("light");
    EXPECT_EQ(menu->currentIndex(), 1);
}
