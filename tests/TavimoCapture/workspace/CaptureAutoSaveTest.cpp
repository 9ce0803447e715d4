#include "CaptureAutoSave.h"
#include "CaptureFileSystemFailure.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

const QDateTime afternoon(QDate(2026, 3, 14), QTime(15, 9, 26));

CaptureFileSystemFailure saveFailure(const QString &folder, const QByteArray &data = "png")
{
    try {
        CaptureAutoSave::save(data, folder, QStringLiteral("Area"), afternoon);
    } catch (const CaptureFileSystemError &error) {
        return error.code();
    }
    ADD_FAILURE() << "the save succeeded";
    return {};
}

} // namespace

TEST(CaptureAutoSave, CapturesInOneSecondGetNumberedNamesInAFolderMadeWhenMissing)
{
    QTemporaryDir folder;
    const QString captures = folder.filePath("Documents/Captures");
    const QString day = captures + "/20260314";
    const QStringList expected{day + "/Area-150926.png", day + "/Area-150926-1.png", day + "/Area-150926-2.png"};
    for (const QString &path : expected)
        EXPECT_EQ(CaptureAutoSave::save(path.toUtf8(), captures, "Area", afternoon), path);
    EXPECT_EQ(CaptureAutoSave::save("screen", captures, "Screen", afternoon), day + "/Screen-150926.png");
    for (const QString &path : expected)
        EXPECT_EQ(readFile(path), path.toUtf8()) << "nothing was replaced";
}

TEST(CaptureAutoSave, NameTakenByAFolderOrALinkMovesOnWithoutTouchingIt)
{
    QTemporaryDir folder;
    const QString day = folder.filePath("20260314");
    ASSERT_TRUE(QDir().mkpath(day + "/Area-150926.png"));
    ASSERT_TRUE(QFile::link(folder.filePath("elsewhere.png"), day + "/Area-150926-1.png"));

    EXPECT_EQ(CaptureAutoSave::save("png", folder.path(), "Area", afternoon), day + "/Area-150926-2.png");
    EXPECT_FALSE(QFile::exists(folder.filePath("elsewhere.png")));
}

TEST(CaptureAutoSave, CaptureAfterMidnightGoesIntoTheNewDayByLocalTime)
{
    QTemporaryDir folder;
    const QDateTime beforeMidnight(QDate(2026, 12, 31), QTime(23, 59, 59));
    EXPECT_EQ(CaptureAutoSave::save("a", folder.path(), "Area", beforeMidnight),
              folder.filePath("20261231/Area-235959.png"));
    EXPECT_EQ(CaptureAutoSave::save("b", folder.path(), "Area", beforeMidnight.addSecs(2).toUTC()),
              folder.filePath("20270101/Area-000001.png"));
}

TEST(CaptureAutoSave, NonLatinDigitLocaleStillWritesWesternDigits)
{
    QTemporaryDir folder;
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    ASSERT_NE(QLocale().toString(15), QStringLiteral("15"));
    const QString path = CaptureAutoSave::save("png", folder.path(), "Displays", afternoon);
    QLocale::setDefault(previous);
    EXPECT_EQ(path, folder.filePath("20260314/Displays-150926.png"));
}

TEST(CaptureAutoSave, FailedWriteLeavesNoPartialFileAndStops)
{
    QTemporaryDir folder;
    CaptureFileSystemFailure failure;
    {
        FileSizeLimit limit(1000);
        failure = saveFailure(folder.path(), QByteArray(5000, 'x'));
    }
    EXPECT_EQ(failure.errorNumber, EFBIG);
    EXPECT_EQ(failure.path, folder.filePath("20260314/Area-150926.png"));
    EXPECT_TRUE(QDir(folder.filePath("20260314")).isEmpty());
}

TEST(CaptureAutoSave, EveryNameTakenEndsWithTheCollisionError)
{
    QTemporaryDir folder;
    const QString day = folder.filePath("20260314");
    ASSERT_TRUE(QDir().mkpath(day));
    writeFile(day + "/Area-150926.png", "taken");
    for (int suffix = 1; suffix <= CaptureAutoSave::lastSuffix; ++suffix)
        writeFile(day + "/Area-150926-" + QString::number(suffix) + ".png", "taken");
    const CaptureFileSystemFailure failure = saveFailure(folder.path());
    EXPECT_TRUE(failure.nameTaken());
    EXPECT_EQ(failure.path, day + "/Area-150926-9999.png");
    EXPECT_EQ(QDir(day).entryList(QDir::Files).size(), CaptureAutoSave::lastSuffix + 1);
}
