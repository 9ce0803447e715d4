#include "CaptureHistory.h"
#include "CaptureFileSystemFailure.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

namespace {

QImage solid(int seed, QSize size = QSize(8, 6))
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor::fromRgb(QRgb(0xff000000u | quint32(seed) * 2654435761u)));
    return image;
}

QImage noise(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator generator(3);
    for (int y = 0; y < size.height(); ++y)
        generator.fillRange(reinterpret_cast<quint32 *>(image.scanLine(y)), size.width());
    return image;
}

QString uuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QStringList ids(const QList<CaptureHistoryItem> &items)
{
    QStringList names;
    for (const CaptureHistoryItem &item : items)
        names.append(item.id());
    return names;
}

mode_t permissions(const QString &path)
{
    struct stat status {};
    stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 0777;
}

QString sidecar(const QString &folder, const QString &name)
{
    return folder + "/" + name.chopped(4) + ".json";
}

// A temporary folder holding the history folder and an exported file.
class CaptureHistoryTest : public testing::Test {
protected:
    void SetUp() override { writeFile(exported, "exported"); }
    QString folder() const { return root.filePath("History"); }

    QTemporaryDir root;
    const QString exported = root.filePath("export.png");
};

} // namespace

TEST_F(CaptureHistoryTest, MissingFolderListsEmptyAndFirstSaveMakesItPrivate)
{
    const CaptureHistory history(root.filePath("data/History"));
    EXPECT_TRUE(history.items().isEmpty());

    const QString name = history.save(solid(1), QString(), exported);

    EXPECT_TRUE(CaptureHistory::isEntryName(name));
    EXPECT_EQ(name, name.toUpper().chopped(4) + ".png");
    EXPECT_EQ(permissions(history.directory()), 0700u);
    EXPECT_EQ(permissions(history.directory() + "/" + name), 0600u);
    EXPECT_EQ(permissions(sidecar(history.directory(), name)), 0600u);
    ASSERT_EQ(ids(history.items()), QStringList{name});
    const CaptureHistoryItem item = history.items().first();
    EXPECT_EQ(item.path(), history.directory() + "/" + name);
    // ext4 records birth times; the entry was born just now.
    EXPECT_LT(std::abs(item.date().secsTo(QDateTime::currentDateTime())), 60);
}

TEST(CaptureHistory, DefaultFolderIsInTheUsersDataFolder)
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + "/.local/share");
    EXPECT_EQ(CaptureHistory().directory(), dataHome + QStringLiteral("/TavimoCapture/History"));
    EXPECT_EQ(CaptureHistory().limit(), 20);
    EXPECT_EQ(CaptureHistory(QString(), 0).limit(), 1);
    EXPECT_EQ(CaptureHistory(QString(), -5).limit(), 1);
}

TEST_F(CaptureHistoryTest, TwentyFirstEntryPrunesTheOldestWithItsSidecar)
{
    const CaptureHistory history(folder(), 20);
    for (int index = 0; index < 20; ++index)
        history.save(solid(index), QString(), exported);
    const QList<CaptureHistoryItem> before = history.items();
    ASSERT_EQ(before.size(), 20);
    const QString oldest = before.last().id();
    ASSERT_TRUE(QFile::exists(sidecar(history.directory(), oldest)));

    const QString newest = history.save(solid(20), QString(), exported);

    const QStringList after = ids(history.items());
    EXPECT_EQ(after.size(), 20);
    EXPECT_TRUE(after.contains(newest));
    EXPECT_FALSE(after.contains(oldest));
    EXPECT_FALSE(QFile::exists(sidecar(history.directory(), oldest)));
    EXPECT_EQ(QDir(history.directory()).entryList(QDir::Files).size(), 40);
    EXPECT_EQ(readFile(exported), "exported");
}

TEST_F(CaptureHistoryTest, LimitZeroKeepsOnlyTheEntryJustWritten)
{
    const CaptureHistory history(folder(), 0);
    history.save(solid(1));
    history.save(solid(2));
    const QString last = history.save(solid(3));
    EXPECT_EQ(ids(history.items()), QStringList{last});
}

TEST_F(CaptureHistoryTest, ReplacingAnEntryKeepsOneEntryAndOtherNamesMakeNewOnes)
{
    const CaptureHistory history(folder());
    const QString name = history.save(solid(1));

    EXPECT_EQ(history.save(solid(2), name), name);
    EXPECT_EQ(history.items().size(), 1);
    EXPECT_EQ(CaptureHistory::png(solid(2)), readFile(history.directory() + "/" + name));

    EXPECT_NE(history.save(solid(3), QStringLiteral("notes.png")), QStringLiteral("notes.png"));
    EXPECT_NE(history.save(solid(4), name.chopped(4) + ".PNG"), name.chopped(4) + ".PNG");
    EXPECT_NE(history.save(solid(5), "../" + name), "../" + name);
    EXPECT_EQ(history.items().size(), 4);
    EXPECT_FALSE(QFile::exists(history.directory() + "/notes.png"));
}

TEST_F(CaptureHistoryTest, ForeignAndHiddenFilesAreNeverListedPrunedOrRemoved)
{
    const CaptureHistory history(folder(), 1);
    const QString id = uuid();
    const QStringList foreign{id + ".PNG",     "notes.png",  "." + uuid() + ".png",   "{" + uuid() + "}.png",
                              id + ".png.tmp", id + ".json", uuid().left(35) + ".png"};
    history.save(solid(0));
    for (const QString &name : foreign)
        writeFile(history.directory() + "/" + name, "foreign");
    const QString outside = root.filePath(uuid() + ".png");
    writeFile(outside, "outside");

    history.save(solid(1));
    const QString kept = history.save(solid(2));
    EXPECT_EQ(ids(history.items()), QStringList{kept});

    for (const QString &name : foreign)
        history.remove(CaptureHistoryItem(history.directory() + "/" + name, QDateTime()));
    history.remove(CaptureHistoryItem(outside, QDateTime()));
    history.remove(CaptureHistoryItem(history.directory() + "/../" + QFileInfo(outside).fileName(), QDateTime()));
    history.clear();

    EXPECT_TRUE(history.items().isEmpty());
    for (const QString &name : foreign)
        EXPECT_EQ(readFile(history.directory() + "/" + name), "foreign") << name.toStdString();
    EXPECT_EQ(readFile(outside), "outside");
}

TEST(CaptureHistory, EqualDatesAreOrderedByNameGreaterFirst)
{
    const QDateTime noon(QDate(2026, 5, 1), QTime(12, 0));
    QList<CaptureHistoryItem> items{
        {"/h/A0000000-0000-0000-0000-000000000000.png", noon},
        {"/h/C0000000-0000-0000-0000-000000000000.png", noon},
        {"/h/00000000-0000-0000-0000-000000000000.png", noon.addSecs(1)},
        {"/h/F0000000-0000-0000-0000-000000000000.png", QDateTime()},
        {"/h/B0000000-0000-0000-0000-000000000000.png", noon},
    };
    CaptureHistory::sortNewestFirst(items);
    EXPECT_EQ(ids(items),
              (QStringList{"00000000-0000-0000-0000-000000000000.png", "C0000000-0000-0000-0000-000000000000.png",
                           "B0000000-0000-0000-0000-000000000000.png", "A0000000-0000-0000-0000-000000000000.png",
                           "F0000000-0000-0000-0000-000000000000.png"}));
}

TEST_F(CaptureHistoryTest, ExportLinkFollowsTheExportedFile)
{
    const CaptureHistory history(folder());
    const QString quotedExport = root.filePath("Saved \"quoted\" ünï.png");
    writeFile(quotedExport, "exported");

    const QString name = history.save(solid(1), QString(), quotedExport);
    const std::optional<CaptureHistoryEntry> entry = history.reopen(history.items().first());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->historyID, name);
    EXPECT_EQ(entry->exportPath, quotedExport);
    EXPECT_EQ(entry->image.convertToFormat(QImage::Format_ARGB32), solid(1));

    ASSERT_TRUE(QFile::remove(quotedExport));
    EXPECT_FALSE(history.reopen(history.items().first())->exportPath);
    history.save(solid(2), name, quotedExport);
    EXPECT_FALSE(QFile::exists(sidecar(history.directory(), name)));

    ASSERT_TRUE(QDir().mkpath(quotedExport));
    history.save(solid(3), name, quotedExport);
    EXPECT_FALSE(QFile::exists(sidecar(history.directory(), name)));
}

TEST_F(CaptureHistoryTest, ReopenToleratesBrokenSidecarsButNotBrokenImages)
{
    const CaptureHistory history(folder());
    const QString name = history.save(solid(1), QString(), exported);
    const CaptureHistoryItem item = history.items().first();

    for (const QByteArray &broken : {QByteArray("not json"), QByteArray("[\"/a\"]"), QByteArray("\"/a\", \"/b\""),
                                     QByteArray("\"relative.png\""), QByteArray("\"/a\"], [\"/b\"")}) {
        writeFile(sidecar(history.directory(), name), broken);
        const std::optional<CaptureHistoryEntry> entry = history.reopen(item);
        ASSERT_TRUE(entry) << broken.constData();
        EXPECT_FALSE(entry->exportPath) << broken.constData();
    }
    writeFile(sidecar(history.directory(), name), "  \"" + QFile::encodeName(exported).replace("/", "\\/") + "\"\n");
    EXPECT_EQ(history.reopen(item)->exportPath, exported);

    writeFile(item.path(), "not a png");
    EXPECT_FALSE(history.reopen(item));
    EXPECT_TRUE(item.thumbnail().isNull());
}

TEST_F(CaptureHistoryTest, ExistingExportIsOnlyAnAbsoluteRegularFile)
{
    const QString file = root.filePath("file.png");
    writeFile(file, "x");
    ASSERT_TRUE(QFile::link(file, root.filePath("link.png")));

    EXPECT_EQ(CaptureHistory::existingExport(file), file);
    EXPECT_FALSE(CaptureHistory::existingExport(QString()));
    EXPECT_FALSE(CaptureHistory::existingExport(QStringLiteral("file.png")));
    EXPECT_FALSE(CaptureHistory::existingExport(root.path()));
    EXPECT_FALSE(CaptureHistory::existingExport(root.filePath("link.png")));
    EXPECT_FALSE(CaptureHistory::existingExport(root.filePath("missing.png")));
}

TEST_F(CaptureHistoryTest, FailedWriteLeavesEarlierEntriesIntact)
{
    const CaptureHistory history(folder(), 2);
    const QString first = history.save(solid(1));
    const QString second = history.save(solid(2));
    const QByteArray secondBytes = readFile(history.directory() + "/" + second);
    const QByteArray large = CaptureHistory::png(noise(QSize(200, 200)));
    const QStringList before =
        QDir(history.directory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    {
        FileSizeLimit limit(4096);
        EXPECT_THROW(history.savePng(large), CaptureFileSystemError);
        try {
            history.savePng(large, second);
            ADD_FAILURE() << "wrote past the file size limit";
        } catch (const CaptureFileSystemError &error) {
            EXPECT_EQ(error.code().path, history.directory() + "/" + second);
            EXPECT_EQ(error.code().errorNumber, EFBIG);
            EXPECT_TRUE(error.description().contains(error.code().path));
        }
    }

    EXPECT_EQ(QDir(history.directory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(ids(history.items()).size(), 2);
    EXPECT_TRUE(ids(history.items()).contains(first));
    EXPECT_EQ(readFile(history.directory() + "/" + second), secondBytes);
}

TEST_F(CaptureHistoryTest, FolderThatCannotBeCreatedIsAnError)
{
    writeFile(folder(), "a file in the way");
    const CaptureHistory history(folder());
    EXPECT_TRUE(history.items().isEmpty());
    try {
        history.save(solid(1));
        FAIL() << "saved into a file";
    } catch (const CaptureFileSystemError &error) {
        EXPECT_EQ(error.code().operation, CaptureFileSystemFailure::Operation::createFolder);
        EXPECT_TRUE(error.description().contains(folder()));
    }
    EXPECT_EQ(readFile(folder()), "a file in the way");
}

TEST_F(CaptureHistoryTest, ClearRemovesEntriesAndSidecarsButNotExports)
{
    const CaptureHistory history(folder());
    for (int index = 0; index < 3; ++index)
        history.save(solid(index), QString(), exported);
    writeFile(history.directory() + "/readme.txt", "foreign");

    history.clear();

    EXPECT_EQ(QDir(history.directory()).entryList(QDir::Files), QStringList{"readme.txt"});
    EXPECT_EQ(readFile(exported), "exported");
}

TEST_F(CaptureHistoryTest, ThumbnailIsDecodedAtMostAt360Pixels)
{
    const CaptureHistory history(folder());
    history.save(solid(1, QSize(1000, 500)));
    EXPECT_EQ(history.items().first().thumbnail().size(), QSize(360, 180));
    history.clear();

    history.save(solid(2, QSize(2000, 3)));
    EXPECT_EQ(history.items().first().thumbnail().size(), QSize(360, 1));
    history.clear();

    history.save(solid(3, QSize(120, 90)));
    const QImage small = history.items().first().thumbnail();
    EXPECT_EQ(small.size(), QSize(120, 90));
    EXPECT_EQ(small.pixel(5, 5), solid(3).pixel(0, 0));

    EXPECT_TRUE(CaptureHistoryItem(root.filePath("missing.png"), QDateTime()).thumbnail().isNull());
}
