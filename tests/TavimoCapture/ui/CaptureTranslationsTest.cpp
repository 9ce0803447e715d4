#include "CaptureTranslations.h"
#include "CaptureFileSystemFailure.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

TEST(CaptureTranslations, EnglishCatalogueHoldsTheAppsTextsAndLeavesThemAsTheyAre)
{
    QTranslator catalogue;
    ASSERT_TRUE(catalogue.load(QStringLiteral(":/i18n/tavimo_capture_en")));
    EXPECT_EQ(catalogue.language(), "en");
    for (const auto &[context, text] :
         {std::pair{"CaptureWorkspace", "Image saved"},
          {"CaptureFailure", "The image could not be saved. Check the destination and available disk space."},
          {"CaptureFileSystemFailure", "The file “%1” could not be written: %2."},
          {"CaptureTool", "Secure mosaic"},
          {"CaptureShortcuts", "%1: shortcut %2 is unavailable. Use the menu bar command."},
          {"CaptureSettingsView", "Start Tavimo Capture at login"},
          {"CaptureAutostart", "it was changed by hand to start another program"},
          {"UserDefaults", "Settings could not be saved: %1."}})
        EXPECT_EQ(catalogue.translate(context, text), QString::fromUtf8(text)) << context;

    for (const QLocale &locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German)}) {
        CaptureTranslations translations;
        EXPECT_TRUE(translations.install(locale)) << locale.name().toStdString();
        EXPECT_EQ(translations.language(), "en");
        EXPECT_EQ(description(CaptureFileSystemFailure{CaptureFileSystemFailure::Operation::remove, "/a", 0, "Busy"}),
                  "The file “/a” could not be removed: Busy.");
    }
}
