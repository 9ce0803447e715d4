#include "CaptureAutostart.h"
#include "CaptureFileSystemFailure.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(CaptureAutostart, TheSwitchWritesAndRemovesExactlyOneEntryAndReadsItBack)
{
    QTemporaryDir config;
    const QString folder = config.filePath("autostart");
    CaptureAutostart autostart(folder, "/opt/Tavimo Capture/tavimo-capture");
    EXPECT_EQ(CaptureAutostart(CaptureAutostart::defaultFolder(), {}).filePath(),
              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  "/autostart/local.tavimo.capture.desktop");
    EXPECT_FALSE(autostart.enabled());

    autostart.setEnabled(true);
    EXPECT_TRUE(autostart.enabled());
    EXPECT_EQ(entriesOf(folder), QStringList{"local.tavimo.capture.desktop"});
    EXPECT_TRUE(autostart.entry().contains("Exec=\"/opt/Tavimo Capture/tavimo-capture\"\n"));
    if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
        QProcess validator;
        validator.start("desktop-file-validate", {autostart.filePath()});
        ASSERT_TRUE(validator.waitForFinished());
        EXPECT_EQ(validator.exitCode(), 0) << validator.readAll().toStdString();
    }
    autostart.setEnabled(true);
    EXPECT_EQ(entriesOf(folder).size(), 1);

    autostart.setEnabled(false);
    EXPECT_FALSE(autostart.enabled());
    EXPECT_TRUE(entriesOf(folder).isEmpty());
    EXPECT_NO_THROW(autostart.setEnabled(false));

    // The desktop's own way of switching an entry off counts as off.
    QFile hidden(autostart.filePath());
    ASSERT_TRUE(hidden.open(QIODevice::WriteOnly));
    hidden.write("[Desktop Entry]\nType=Application\nExec=tavimo-capture\nHidden=true\n");
    hidden.close();
    EXPECT_FALSE(autostart.enabled());
    autostart.setEnabled(true);
    EXPECT_TRUE(autostart.enabled());
}

TEST(CaptureAutostart, AnEntryIsOursWhenItsCommandRunsThisProgramFromAnyFolder)
{
    QTemporaryDir config;
    for (const auto &[exec, ours] : {std::pair{"Exec=/usr/bin/tavimo-capture --editor", true},
                                     {"Exec=env QT_SCALE_FACTOR=2 tavimo-capture", true},
                                     {"Exec=\"/home/me/My\\\\sApps/tavimo-capture\"", true},
                                     {"Exec=/usr/bin/flameshot", false},
                                     {"Exec=\"/opt/tavimo-capture/other tool\"", false},
                                     {"Name=No command at all", false}}) {
        CaptureAutostart autostart(config.filePath("autostart"), "/usr/bin/tavimo-capture");
        QDir().mkpath(config.filePath("autostart"));
        QFile file(autostart.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("[Desktop Entry]\nType=Application\nName=Mine\n") + exec + '\n');
        file.close();
        EXPECT_EQ(autostart.enabled(), ours) << exec;
        autostart.setEnabled(false);
        EXPECT_EQ(QFile::exists(autostart.filePath()), !ours) << exec;
    }
    // Written from a folder with every character the command line quotes, it reads back as ours.
    ASSERT_TRUE(QFile::remove(config.filePath("autostart/local.tavimo.capture.desktop")));
    CaptureAutostart odd(config.filePath("autostart"), "/tmp/a \"b\\c$d`e%f/tavimo-capture");
    odd.setEnabled(true);
    EXPECT_TRUE(odd.enabled());
}

TEST(CaptureAutostart, AnUnusableFolderFailsWithTheReasonAndWritesNothing)
{
    QTemporaryDir config;
    QFile blocker(config.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CaptureAutostart autostart(blocker.fileName(), "tavimo-capture");
    try {
        autostart.setEnabled(true);
        ADD_FAILURE() << "a file in the folder's place cannot hold the entry";
    } catch (const CaptureFileSystemError &error) {
        EXPECT_TRUE(error.description().contains("autostart")) << error.description().toStdString();
    }
    EXPECT_FALSE(autostart.enabled());
    EXPECT_EQ(entriesOf(config.path()), QStringList{"autostart"});
}

} // namespace
