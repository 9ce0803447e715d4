#include "UserDefaults.h"
#include "FileSizeLimit.h"
#include "SettingsWrites.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <limits>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class UserDefaultsTest : public testing::Test {
protected:
    QTemporaryDir folder;
    const QString path = folder.filePath("TavimoCapture/defaults.json");
};

} // namespace

TEST_F(UserDefaultsTest, KeepsJsonTypesAcrossReopeningInAPrivateFile)
{
    const QString huge(2 * 1024 * 1024, QChar(u'é'));
    {
        UserDefaults defaults(path);
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_TRUE(defaults.setValue("flag", true));
        defaults.setValue("width", 5);
        defaults.setValue("name", huge);
        defaults.setValue("list", QJsonArray{1, 2});
        defaults.setValue("record", QJsonObject{{"version", 1}});
        defaults.setValue("nan", std::numeric_limits<double>::quiet_NaN());
        defaults.setValue("infinity", std::numeric_limits<double>::infinity());
        defaults.setValue("removed", 1);
        EXPECT_TRUE(defaults.remove("removed"));
        EXPECT_TRUE(defaults.remove("never-stored"));
    }
    EXPECT_EQ(QFile::permissions(path),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    const UserDefaults reopened(path);
    EXPECT_EQ(reopened.boolValue("flag"), true);
    EXPECT_EQ(reopened.doubleValue("width"), 5.0);
    EXPECT_EQ(reopened.stringValue("name"), huge);
    EXPECT_EQ(reopened.value("list"), QJsonValue(QJsonArray{1, 2}));
    EXPECT_EQ(reopened.objectValue("record")->value("version"), QJsonValue(1));
    EXPECT_TRUE(reopened.value("nan").isNull());
    EXPECT_FALSE(reopened.doubleValue("infinity"));
    EXPECT_FALSE(reopened.contains("removed"));
    // A value of another type is not coerced.
    EXPECT_FALSE(reopened.boolValue("width"));
    EXPECT_FALSE(reopened.doubleValue("name"));
    EXPECT_FALSE(reopened.stringValue("flag"));
    EXPECT_FALSE(reopened.objectValue("list"));
    EXPECT_TRUE(reopened.value("missing").isUndefined());
}

TEST_F(UserDefaultsTest, CorruptOrForeignFileIsMovedAsideNotLost)
{
    const QByteArray damaged[] = {"{\"capture.autoCopy\": tru", "[1, 2, 3]", "\x89PNG\r\n\x1a\n"};
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    for (int i = 0; i < 3; ++i) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(damaged[i]) && file.flush());
        UserDefaults defaults(path);
        EXPECT_FALSE(defaults.contains("capture.autoCopy"));
        defaults.setValue("capture.autoCopy", false);
        EXPECT_EQ(UserDefaults(path).boolValue("capture.autoCopy"), false);
    }
    // A later damaged file does not replace an earlier one.
    for (const auto &[suffix, bytes] :
         {std::pair(".corrupt", damaged[0]), {".corrupt-1", damaged[1]}, {".corrupt-2", damaged[2]}})
        EXPECT_EQ(readAll(path + suffix), bytes) << suffix;
}

TEST_F(UserDefaultsTest, WriteFailingMidwayKeepsThePreviousFile)
{
    UserDefaults defaults(path);
    defaults.setValue("kept", "yes");
    const QByteArray before = readAll(path);
    {
        const FileSizeLimit limit(4096);
        defaults.setValue("lost", QString(64 * 1024, QChar('x')));
        EXPECT_FALSE(defaults.flush());
    }
    EXPECT_TRUE(defaults.contains("lost"));
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"defaults.json"});
}

TEST_F(UserDefaultsTest, ChangesInQuickSuccessionAreWrittenOnceAfterTheFirst)
{
    UserDefaults defaults(path);
    EXPECT_TRUE(defaults.setValue("width", 0));
    EXPECT_FALSE(defaults.hasPendingChanges()) << "a lone change is written at once";
    const QByteArray first = readAll(path);
    for (int width = 1; width <= 100; ++width)
        EXPECT_TRUE(defaults.setValue("width", width));
    defaults.remove("never-stored");
    EXPECT_TRUE(defaults.hasPendingChanges());
    EXPECT_EQ(readAll(path), first);
    ASSERT_TRUE(waitForSettingsWrite(defaults));
    EXPECT_EQ(UserDefaults(path).doubleValue("width"), 100.0);
    defaults.remove("width");
    EXPECT_TRUE(defaults.flush());
    EXPECT_FALSE(defaults.hasPendingChanges());
    EXPECT_FALSE(UserDefaults(path).contains("width"));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"defaults.json"});
}

TEST_F(UserDefaultsTest, PendingChangesAreWrittenWhenTheAppQuitsTheStoreClosesOrTheFileIsReopened)
{
    UserDefaults defaults(path);
    defaults.setValue("first", 1);
    defaults.setValue("atQuit", true);
    ASSERT_TRUE(defaults.hasPendingChanges());
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    EXPECT_FALSE(defaults.hasPendingChanges());
    EXPECT_EQ(UserDefaults(path).boolValue("atQuit"), true);
    {
        UserDefaults closing(path);
        closing.setValue("one", 1);
        closing.setValue("atClose", true);
        ASSERT_TRUE(closing.hasPendingChanges());
    }
    EXPECT_EQ(UserDefaults(path).boolValue("atClose"), true);
    UserDefaults holding(path);
    holding.setValue("two", 2);
    holding.setValue("seenWhenReopened", true);
    ASSERT_TRUE(holding.hasPendingChanges());
    EXPECT_EQ(UserDefaults(path).boolValue("seenWhenReopened"), true);
}
