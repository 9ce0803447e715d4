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
    QString path() const { return folder.filePath("defaults.json"); }

    // Preferences read from a store holding `key` = `value`.
    CaptureEditorPolicy policyStoredAs(const QJsonValue &value)
    {
        UserDefaults defaults(path());
        defaults.setValue("capture.editorPolicy", value);
        return CapturePreferences(defaults).editorPolicy();
    }
    CaptureThumbnailShortcut shortcutStoredAs(const QJsonValue &value)
    {
        UserDefaults defaults(path());
        defaults.setValue("capture.thumbnailShortcut", value);
        return CapturePreferences(defaults).thumbnailShortcut();
    }
    double secondsStoredAs(const QJsonValue &value)
    {
        UserDefaults defaults(path());
        defaults.setValue("capture.thumbnailSeconds", value);
        return CapturePreferences(defaults).thumbnailSeconds();
    }
};

} // namespace

TEST_F(CapturePreferencesTest, FreshUserGetsTheDefaultsAndNothingIsWritten)
{
    UserDefaults defaults(path());
    const CapturePreferences preferences(defaults);
    EXPECT_TRUE(preferences.autoCopy());
    EXPECT_FALSE(preferences.autoSave());
    EXPECT_EQ(preferences.editorPolicy(), CaptureEditorPolicy::thumbnailOnly);
    EXPECT_EQ(settingsLabel(preferences.editorPolicy()), "From thumbnail");
    EXPECT_TRUE(preferences.showThumbnail());
    EXPECT_EQ(preferences.thumbnailSeconds(), 5.0);
    EXPECT_EQ(preferences.thumbnailShortcut(), CaptureThumbnailShortcut::optionE);
    EXPECT_EQ(settingsLabel(preferences.thumbnailShortcut()), "Alt+E");
    EXPECT_EQ(preferences.folder(), QDir::homePath() + "/Documents/Capture");
    EXPECT_TRUE(QFileInfo(preferences.folder()).isAbsolute());
    EXPECT_FALSE(QFileInfo::exists(path()));
}

TEST_F(CapturePreferencesTest, StoredValuesAreReadOrFallBack)
{
    EXPECT_EQ(policyStoredAs("always"), CaptureEditorPolicy::always);
    EXPECT_EQ(policyStoredAs("never"), CaptureEditorPolicy::never);
    for (const QJsonValue &unknown : {QJsonValue("Always"), QJsonValue(""), QJsonValue("editor"), QJsonValue(2)})
        EXPECT_EQ(policyStoredAs(unknown), CaptureEditorPolicy::thumbnailOnly);

    EXPECT_EQ(shortcutStoredAs("off"), CaptureThumbnailShortcut::off);
    EXPECT_EQ(shortcutStoredAs("e"), CaptureThumbnailShortcut::e);
    EXPECT_EQ(shortcutStoredAs("E"), CaptureThumbnailShortcut::optionE);
    EXPECT_EQ(shortcutStoredAs(true), CaptureThumbnailShortcut::optionE);

    EXPECT_EQ(secondsStoredAs(0.5), 1.0);
    EXPECT_EQ(secondsStoredAs(90), 30.0);
    EXPECT_EQ(secondsStoredAs(-4), 1.0);
    EXPECT_EQ(secondsStoredAs(12.5), 12.5);
    EXPECT_EQ(secondsStoredAs("12"), 5.0);
    EXPECT_EQ(secondsStoredAs(QJsonValue::Null), 5.0);

    UserDefaults defaults(path());
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
        UserDefaults defaults(path());
        CapturePreferences preferences(defaults);
        QSignalSpy seconds(&preferences, &CapturePreferences::thumbnailSecondsChanged);
        QSignalSpy policy(&preferences, &CapturePreferences::editorPolicyChanged);

        preferences.setThumbnailSeconds(45);
        EXPECT_EQ(preferences.thumbnailSeconds(), 45.0);
        EXPECT_EQ(defaults.doubleValue("capture.thumbnailSeconds"), 30.0);
        preferences.setThumbnailSeconds(45);
        EXPECT_EQ(seconds.count(), 1);

        preferences.setEditorPolicy(CaptureEditorPolicy::never);
        preferences.setEditorPolicy(CaptureEditorPolicy::never);
        EXPECT_EQ(policy.count(), 1);
        EXPECT_EQ(defaults.stringValue("capture.editorPolicy"), QString("never"));

        preferences.setAutoSave(true);
        preferences.setAutoCopy(false);
        preferences.setShowThumbnail(false);
        preferences.setFolder("/srv/captures");
        preferences.setThumbnailShortcut(CaptureThumbnailShortcut::e);
        EXPECT_EQ(defaults.boolValue("capture.autoSave"), true);
        EXPECT_EQ(defaults.stringValue("capture.thumbnailShortcut"), QString("e"));
    }

    UserDefaults reopened(path());
    CapturePreferences preferences(reopened);
    EXPECT_TRUE(preferences.autoSave());
    EXPECT_FALSE(preferences.autoCopy());
    EXPECT_FALSE(preferences.showThumbnail());
    EXPECT_EQ(preferences.folder(), "/srv/captures");
    EXPECT_EQ(preferences.editorPolicy(), CaptureEditorPolicy::never);
    EXPECT_EQ(preferences.thumbnailSeconds(), 30.0);
    EXPECT_EQ(preferences.thumbnailShortcut(), CaptureThumbnailShortcut::e);

    preferences.setThumbnailSeconds(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(reopened.doubleValue("capture.thumbnailSeconds"), 5.0);
    preferences.setThumbnailSeconds(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(reopened.doubleValue("capture.thumbnailSeconds"), 5.0);
    preferences.setThumbnailSeconds(0.2);
    EXPECT_EQ(reopened.doubleValue("capture.thumbnailSeconds"), 1.0);
    EXPECT_EQ(preferences.thumbnailSeconds(), 0.2);
}
