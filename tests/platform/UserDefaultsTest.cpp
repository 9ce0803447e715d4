#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <limits>

#include <sys/resource.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class UserDefaultsTest : public testing::Test {
protected:
    QTemporaryDir folder;
    QString path() const { return folder.filePath("TavimoCapture/defaults.json"); }
};

} // namespace

TEST_F(UserDefaultsTest, KeepsJsonTypesAcrossReopening)
{
    {
        UserDefaults defaults(path());
        EXPECT_TRUE(defaults.setValue("flag", true));
        defaults.setValue("width", 5);
        defaults.setValue("name", "five");
        defaults.setValue("list", QJsonArray{1, 2});
        defaults.setValue("record", QJsonObject{{"version", 1}});
    }
    const UserDefaults reopened(path());
    EXPECT_EQ(reopened.boolValue("flag"), true);
    EXPECT_EQ(reopened.doubleValue("width"), 5.0);
    EXPECT_EQ(reopened.stringValue("name"), QString("five"));
    EXPECT_EQ(reopened.value("list"), QJsonValue(QJsonArray{1, 2}));
    EXPECT_EQ(reopened.objectValue("record")->value("version"), QJsonValue(1));

    // A value of another type is not coerced.
    EXPECT_FALSE(reopened.boolValue("width"));
    EXPECT_FALSE(reopened.doubleValue("name"));
    EXPECT_FALSE(reopened.stringValue("flag"));
    EXPECT_FALSE(reopened.objectValue("list"));
    EXPECT_TRUE(reopened.value("missing").isUndefined());
}

TEST_F(UserDefaultsTest, WritesPrivateFileAndCreatesFolder)
{
    UserDefaults defaults(path());
    EXPECT_FALSE(QFileInfo::exists(path()));
    defaults.setValue("a", 1);
    const QFileInfo info(path());
    ASSERT_TRUE(info.exists());
    EXPECT_EQ(info.permissions() &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther),
              QFileDevice::Permissions());
}

TEST_F(UserDefaultsTest, RemovingAndNonFiniteNumbers)
{
    UserDefaults defaults(path());
    defaults.setValue("a", 1);
    defaults.setValue("nan", std::numeric_limits<double>::quiet_NaN());
    defaults.setValue("infinity", std::numeric_limits<double>::infinity());
    EXPECT_TRUE(defaults.value("nan").isNull());
    EXPECT_FALSE(defaults.doubleValue("infinity"));
    EXPECT_TRUE(defaults.remove("a"));
    EXPECT_TRUE(defaults.remove("never-stored"));

    const UserDefaults reopened(path());
    EXPECT_FALSE(reopened.contains("a"));
    EXPECT_TRUE(reopened.value("nan").isNull());
    EXPECT_TRUE(QJsonDocument::fromJson(readAll(path())).isObject());
}

TEST_F(UserDefaultsTest, CorruptOrForeignFileIsMovedAsideNotLost)
{
    const QList<QByteArray> damaged{"{\"capture.autoCopy\": tru", "[1, 2, 3]", "\x89PNG\r\n\x1a\n", "\"text\""};
    for (const QByteArray &bytes : damaged) {
        QTemporaryDir dir;
        const QString file = dir.filePath("defaults.json");
        writeAll(file, bytes);
        {
            UserDefaults defaults(file);
            EXPECT_FALSE(defaults.contains("capture.autoCopy"));
            EXPECT_EQ(readAll(file + ".corrupt"), bytes);
            defaults.setValue("capture.autoCopy", false);
        }
        EXPECT_EQ(UserDefaults(file).boolValue("capture.autoCopy"), false);
    }
}

TEST_F(UserDefaultsTest, SecondCorruptFileDoesNotReplaceTheFirst)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    writeAll(path(), "first");
    UserDefaults first(path());
    writeAll(path(), "second");
    UserDefaults second(path());
    EXPECT_EQ(readAll(path() + ".corrupt"), "first");
    EXPECT_EQ(readAll(path() + ".corrupt-1"), "second");
}

TEST_F(UserDefaultsTest, WriteFailingMidwayKeepsThePreviousFile)
{
    UserDefaults defaults(path());
    defaults.setValue("kept", "yes");
    const QByteArray before = readAll(path());

    // A file size limit makes the write fail partway through, even for root.
    signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    rlimit small = original;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = defaults.setValue("lost", QString(64 * 1024, QChar('x')));
    setrlimit(RLIMIT_FSIZE, &original);

    EXPECT_FALSE(written);
    EXPECT_TRUE(defaults.contains("lost"));
    EXPECT_EQ(readAll(path()), before);
    EXPECT_EQ(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files), QStringList{"defaults.json"});
    EXPECT_EQ(UserDefaults(path()).stringValue("kept"), QString("yes"));
}

TEST_F(UserDefaultsTest, HugeStringsRoundTrip)
{
    const QString huge(2 * 1024 * 1024, QChar(u'é'));
    UserDefaults(path()).setValue("huge", huge);
    EXPECT_EQ(UserDefaults(path()).stringValue("huge"), huge);
}
