#include "CapturePreferences.h"
#include "SettingsWrites.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CapturePreferencesTest : public testing::Test {
protected:
    CapturePreferences storing(const char *key, const QJsonValue &value)
    {
        defaults.setValue(key, value);
        return CapturePreferences(defaults);
    }

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
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(CapturePreferencesTest, StoredValuesAreReadOrFallBack)
{
    const char *policy = "capture.editorPolicy";
    EXPECT_EQ(storing(policy, "always").editorPolicy(), CaptureEditorPolicy::always);
    EXPECT_EQ(storing(policy, "Always").editorPolicy(), CaptureEditorPolicy::thumbnailOnly);
    EXPECT_EQ(storing(policy, 2).editorPolicy(), CaptureEditorPolicy::thumbnailOnly);
    const char *shortcut = "capture.thumbnailShortcut";
    EXPECT_EQ(storing(shortcut, "off").thumbnailShortcut(), CaptureThumbnailShortcut::off);
    EXPECT_EQ(storing(shortcut, "E").thumbnailShortcut(), CaptureThumbnailShortcut::optionE);
    EXPECT_EQ(storing(shortcut, true).thumbnailShortcut(), CaptureThumbnailShortcut::optionE);
    const char *seconds = "capture.thumbnailSeconds";
    EXPECT_EQ(storing(seconds, 12.5).thumbnailSeconds(), 12.5);
    EXPECT_EQ(storing(seconds, "12").thumbnailSeconds(), 5.0);

    EXPECT_FALSE(storing("capture.autoCopy", 0).autoCopy());
    EXPECT_FALSE(storing("capture.autoSave", "yes").autoSave());
    EXPECT_TRUE(storing("capture.showThumbnail", 2).showThumbnail());
    EXPECT_EQ(storing("capture.saveFolder", "~/Pictures/Shots").folder(), "~/Pictures/Shots");
}

TEST_F(CapturePreferencesTest, EveryChangeIsWrittenAtOnce)
{
    {
        CapturePreferences preferences(defaults);
        preferences.setThumbnailSeconds(45);
        EXPECT_EQ(preferences.thumbnailSeconds(), 45.0);
        EXPECT_EQ(defaults.doubleValue("capture.thumbnailSeconds"), 30.0);
        preferences.setAutoSave(true);
        preferences.setAutoCopy(false);
        preferences.setShowThumbnail(false);
        preferences.setFolder("/srv/captures");
        preferences.setEditorPolicy(CaptureEditorPolicy::never);
        preferences.setThumbnailShortcut(CaptureThumbnailShortcut::e);
    }
    ASSERT_TRUE(waitForSettingsWrite(defaults));
    UserDefaults reopened(path);
    CapturePreferences preferences(reopened);
    EXPECT_TRUE(preferences.autoSave());
    EXPECT_FALSE(preferences.autoCopy());
    EXPECT_FALSE(preferences.showThumbnail());
    EXPECT_EQ(preferences.folder(), "/srv/captures");
    EXPECT_EQ(preferences.editorPolicy(), CaptureEditorPolicy::never);
    EXPECT_EQ(preferences.thumbnailSeconds(), 30.0);
    EXPECT_EQ(preferences.thumbnailShortcut(), CaptureThumbnailShortcut::e);
}
