#include "CapturePreferences.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

class CapturePreferencesTest : public testing::Test {
protected:
    QTemporaryDir folder;
    const QString path = folder.filePath("defaults.json");
    UserDefaults defaults{path};
};

} // namespace

TEST_F(CapturePreferencesTest, FreshUserGetsTheDefaultsAndNothingIsWritten)
{
    const CapturePreferences preferences(defaults);
    EXPECT_TRUE(preferences.autoCopy());
    EXPECT_FALSE(preferences.autoSave());
    EXPECT_EQ(settingsLabel(preferences.editorPolicy()), "From thumbnail");
    EXPECT_TRUE(preferences.showThumbnail());
    EXPECT_EQ(preferences.thumbnailSeconds(), 5.0);
    EXPECT_EQ(settingsLabel(preferences.thumbnailShortcut()), "Alt+E");
    EXPECT_EQ(preferences.folder(), QDir::homePath() + "/Documents/Capture");
    EXPECT_TRUE(QFileInfo(preferences.folder()).isAbsolute());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(CapturePreferencesTest, StoredValuesAreReadOrFallBack)
{
    for (const auto &[stored, policy] : {std::pair(QJsonValue("never"), CaptureEditorPolicy::never),
                                         {"always", CaptureEditorPolicy::always},
                                         {"Always", CaptureEditorPolicy::thumbnailOnly},
                                         {"", CaptureEditorPolicy::thumbnailOnly},
                                         {2, CaptureEditorPolicy::thumbnailOnly}}) {
        defaults.setValue("capture.editorPolicy", stored);
        EXPECT_EQ(CapturePreferences(defaults).editorPolicy(), policy) << stored.toVariant().toString().toStdString();
    }
    for (const auto &[stored, shortcut] : {std::pair(QJsonValue("off"), CaptureThumbnailShortcut::off),
                                           {"e", CaptureThumbnailShortcut::e},
                                           {"E", CaptureThumbnailShortcut::optionE},
                                           {true, CaptureThumbnailShortcut::optionE}}) {
        defaults.setValue("capture.thumbnailShortcut", stored);
        EXPECT_EQ(CapturePreferences(defaults).thumbnailShortcut(), shortcut)
            << stored.toVariant().toString().toStdString();
    }
    for (const auto &[stored, seconds] : {std::pair(QJsonValue(0.5), 1.0), {90, 30.0}, {12.5, 12.5}, {"12", 5.0}}) {
        defaults.setValue("capture.thumbnailSeconds", stored);
        EXPECT_EQ(CapturePreferences(defaults).thumbnailSeconds(), seconds)
            << stored.toVariant().toString().toStdString();
    }

    defaults.setValue("capture.autoCopy", 0);
    defaults.setValue("capture.autoSave", "yes");
    defaults.setValue("capture.showThumbnail", 2);
    defaults.setValue("capture.saveFolder", "~/Pictures/Shots");
    const CapturePreferences preferences(defaults);
    EXPECT_FALSE(preferences.autoCopy());
    EXPECT_FALSE(preferences.autoSave());
    EXPECT_TRUE(preferences.showThumbnail());
    EXPECT_EQ(preferences.folder(), "~/Pictures/Shots");
}

TEST_F(CapturePreferencesTest, EveryChangeIsWrittenAtOnce)
{
    {
        CapturePreferences preferences(defaults);
        QSignalSpy seconds(&preferences, &CapturePreferences::thumbnailSecondsChanged);
        preferences.setThumbnailSeconds(45);
        preferences.setThumbnailSeconds(45);
        EXPECT_EQ(preferences.thumbnailSeconds(), 45.0);
        EXPECT_EQ(defaults.doubleValue("capture.thumbnailSeconds"), 30.0);
        EXPECT_EQ(seconds.count(), 1);

        preferences.setAutoSave(true);
        preferences.setAutoCopy(false);
        preferences.setShowThumbnail(false);
        preferences.setFolder("/srv/captures");
        preferences.setEditorPolicy(CaptureEditorPolicy::never);
        preferences.setThumbnailShortcut(CaptureThumbnailShortcut::e);
    }

    UserDefaults reopened(path);
    CapturePreferences preferences(reopened);
    EXPECT_TRUE(preferences.autoSave());
    EXPECT_FALSE(preferences.autoCopy());
    EXPECT_FALSE(preferences.showThumbnail());
    EXPECT_EQ(preferences.folder(), "/srv/captures");
    EXPECT_EQ(preferences.editorPolicy(), CaptureEditorPolicy::never);
    EXPECT_EQ(preferences.thumbnailSeconds(), 30.0);
    EXPECT_EQ(preferences.thumbnailShortcut(), CaptureThumbnailShortcut::e);

    for (const double notANumber :
         {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
        preferences.setThumbnailSeconds(notANumber);
        EXPECT_EQ(reopened.doubleValue("capture.thumbnailSeconds"), 5.0);
    }
}
