#include "CaptureSettingsView.h"

#include "BundleInfo.h"
#include "CaptureAutostart.h"
#include "CapturePreferences.h"
#include "MoxterClient.h"
#include "TavimoSignals.h"
#include "UserDefaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CaptureSettingsViewTest : public testing::Test {
protected:
    CaptureSettingsView &view()
    {
        if (!m_view)
            m_view = std::make_unique<CaptureSettingsView>(preferences, autostart, tavimoSignals,
                                                           [this](QWidget *, const QString &current) {
                                                               askedFrom = current;
                                                               return chosen;
                                                           });
        return *m_view;
    }

    QTemporaryDir folder;
    UserDefaults defaults{folder.filePath("defaults.json")};
    TavimoSignals tavimoSignals{BundleInfo(), defaults};
    CapturePreferences preferences{defaults};
    CaptureAutostart autostart{folder.filePath("config/autostart"), "/usr/bin/tavimo-capture"};
    std::optional<QString> chosen;
    QString askedFrom;
    std::unique_ptr<CaptureSettingsView> m_view;
};

TEST_F(CaptureSettingsViewTest, ControlsShowAndWriteThePreferences)
{
    preferences.setThumbnailSeconds(7.8);
    CaptureSettingsView &settings = view();
    EXPECT_EQ(settings.size(), QSize(540, 560));
    EXPECT_TRUE(settings.copyToggle()->isChecked());
    EXPECT_FALSE(settings.saveToggle()->isChecked());
    EXPECT_EQ(settings.editorPicker()->currentText(), "From thumbnail");
    EXPECT_EQ(settings.shortcutPicker()->currentText(), "Alt+E");
    EXPECT_EQ(settings.secondsStepper()->text(), "Show for 7 seconds");
    // The stored number keeps its fraction until the stepper is moved.
    EXPECT_DOUBLE_EQ(preferences.thumbnailSeconds(), 7.8);
    settings.secondsStepper()->stepUp();
    EXPECT_DOUBLE_EQ(preferences.thumbnailSeconds(), 8);
    EXPECT_EQ(*defaults.doubleValue("capture.thumbnailSeconds"), 8);

    preferences.setThumbnailSeconds(45);
    EXPECT_EQ(settings.secondsStepper()->value(), 30);
    EXPECT_DOUBLE_EQ(preferences.thumbnailSeconds(), 45);
    settings.secondsStepper()->setValue(1);
    settings.secondsStepper()->stepDown();
    EXPECT_DOUBLE_EQ(preferences.thumbnailSeconds(), 1);

    settings.saveToggle()->click();
    settings.copyToggle()->click();
    emit settings.editorPicker()->activated(2);
    emit settings.shortcutPicker()->activated(1);
    EXPECT_TRUE(preferences.autoSave());
    EXPECT_FALSE(preferences.autoCopy());
    EXPECT_EQ(preferences.editorPolicy(), CaptureEditorPolicy::never);
    EXPECT_EQ(preferences.thumbnailShortcut(), CaptureThumbnailShortcut::e);
    EXPECT_EQ(defaults.stringValue("capture.editorPolicy"), "never");
}

TEST_F(CaptureSettingsViewTest, ThumbnailOffDisablesItsControlsButKeepsTheirValues)
{
    preferences.setThumbnailShortcut(CaptureThumbnailShortcut::off);
    CaptureSettingsView &settings = view();
    settings.thumbnailToggle()->click();
    EXPECT_FALSE(preferences.showThumbnail());
    EXPECT_FALSE(settings.secondsStepper()->isEnabled());
    EXPECT_FALSE(settings.shortcutPicker()->isEnabled());
    EXPECT_EQ(settings.shortcutPicker()->currentText(), "Off");
    EXPECT_EQ(settings.secondsStepper()->value(), 5);
    settings.thumbnailToggle()->click();
    EXPECT_TRUE(settings.secondsStepper()->isEnabled());
    EXPECT_TRUE(settings.shortcutPicker()->isEnabled());
}

TEST_F(CaptureSettingsViewTest, FolderChooserStartsInTheFolderAndCancelKeepsIt)
{
    const QString before = preferences.folder();
    CaptureSettingsView &settings = view();
    settings.folderButton()->click();
    EXPECT_EQ(askedFrom, before);
    EXPECT_EQ(preferences.folder(), before);

    chosen = folder.filePath("Shots");
    settings.folderButton()->click();
    EXPECT_EQ(preferences.folder(), *chosen);
    EXPECT_EQ(defaults.stringValue("capture.saveFolder"), *chosen);
    EXPECT_EQ(settings.folderLabel()->toolTip(), *chosen);
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the entry holds and where it goes is CaptureAutostartTest's.
TEST_F(CaptureSettingsViewTest, TheLoginSwitchWritesAndRemovesTheEntry)
{
    CaptureSettingsView &settings = view();
    EXPECT_FALSE(settings.loginToggle()->isChecked());
    settings.loginToggle()->click();
    EXPECT_TRUE(settings.loginToggle()->isChecked());
    EXPECT_TRUE(autostart.enabled());
    EXPECT_TRUE(settings.loginFailure()->isHidden());
    settings.loginToggle()->click();
    EXPECT_FALSE(settings.loginToggle()->isChecked());
    EXPECT_FALSE(QFile::exists(autostart.filePath()));
}

TEST_F(CaptureSettingsViewTest, AnEntryEditedToStartAnotherProgramIsLeftAsTheUserWroteIt)
{
    const QByteArray own = "[Desktop Entry]\nType=Application\nName=Mine\nExec=/usr/bin/other-tool --tray\n";
    QDir().mkpath(folder.filePath("config/autostart"));
    QFile file(autostart.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(own);
    file.close();

    CaptureSettingsView &settings = view();
    EXPECT_FALSE(settings.loginToggle()->isChecked());
    settings.loginToggle()->click();
    EXPECT_FALSE(settings.loginToggle()->isChecked());
    EXPECT_FALSE(settings.loginFailure()->isHidden());
    EXPECT_TRUE(settings.loginFailure()->text().contains("another program"))
        << settings.loginFailure()->text().toStdString();
    EXPECT_EQ(contentsOf(autostart.filePath()), own);

    // Still naming us, wherever we were installed, it is ours to switch off.
    const QByteArray moved =
        "[Desktop Entry]\nType=Application\nName=Mine\nExec=\"/opt/Tavimo Capture/tavimo-capture\" --editor\n";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(moved);
    file.close();
    settings.hide();
    settings.show();
    EXPECT_TRUE(settings.loginToggle()->isChecked());
    settings.loginToggle()->click();
    EXPECT_TRUE(settings.loginFailure()->isHidden());
    EXPECT_FALSE(QFile::exists(autostart.filePath()));
}

} // namespace
