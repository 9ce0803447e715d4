#include "CaptureHistory.h"
#include "CaptureFileSystemFailure.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zlib.h>

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

// A PNG chunk: length, type, data, CRC-32 of type and data.
QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk;
    QDataStream stream(&chunk, QIODevice::WriteOnly);
    stream << quint32(data.size());
    chunk += type + data;
    QDataStream crc(&chunk, QIODevice::Append);
    const QByteArray checked = type + data;
    crc << quint32(crc32(0, reinterpret_cast<const Bytef *>(checked.constData()), uInt(checked.size())));
    return chunk;
}

// A one-colour RGB PNG stored in the seven passes of Adam7 interlacing.
QByteArray interlacedPng(QSize size, QColor colour)
{
    QByteArray header;
    QDataStream stream(&header, QIODevice::WriteOnly);
    stream << quint32(size.width()) << quint32(size.height()) << quint8(8) << quint8(2) << quint8(0) << quint8(0)
           << quint8(1);
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    const char rgb[3] = {char(colour.red()), char(colour.green()), char(colour.blue())};
    QByteArray rows;
    for (const auto &pass : passes) {
        const int width = (size.width() - pass[0] + pass[2] - 1) / pass[2];
        const int height = (size.height() - pass[1] + pass[3] - 1) / pass[3];
        for (int row = 0; width > 0 && row < height; ++row) {
            rows += '\0';
            for (int x = 0; x < width; ++x)
                rows.append(rgb, 3);
        }
    }
    const QByteArray zlibStream = qCompress(rows).mid(4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", zlibStream) +
           pngChunk("IEND", QByteArray());
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

TEST_F(CaptureHistoryTest, InterlacedEntryStillGivesAThumbnail)
{
    const CaptureHistory history(folder());
    history.savePng(interlacedPng(QSize(800, 400), QColor(20, 120, 220)));
    ASSERT_FALSE(history.items().first().image().isNull());

    const QImage thumbnail = history.items().first().thumbnail();
    EXPECT_EQ(thumbnail.size(), QSize(360, 180));
    EXPECT_EQ(thumbnail.pixelColor(100, 50), QColor(20, 120, 220));
}

TEST_F(CaptureHistoryTest, ThumbnailPixelsAverageWhatTheyCover)
{
    QImage quadrants(1000, 500, QImage::Format_ARGB32);
    QPainter painter(&quadrants);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, 500, 250, Qt::red);
    painter.fillRect(500, 0, 500, 250, Qt::green);
    painter.fillRect(0, 250, 500, 250, Qt::transparent);
    for (int x = 500; x < 1000; ++x)
        painter.fillRect(x, 250, 1, 250, QColor(255, 255, 255, (x - 500) * 255 / 499));
    painter.end();
    const CaptureHistory history(folder());
    history.save(quadrants);

    const QImage thumbnail = history.items().first().thumbnail();
    ASSERT_EQ(thumbnail.size(), QSize(360, 180));
    EXPECT_EQ(thumbnail.pixelColor(90, 45), QColor(Qt::red));
    EXPECT_EQ(thumbnail.pixelColor(270, 45), QColor(Qt::green));
    EXPECT_EQ(thumbnail.pixelColor(90, 135).alpha(), 0);
    for (int x = 190; x < 360; x += 30) {
        const QColor shade = thumbnail.pixelColor(x, 135);
        EXPECT_NEAR(shade.alpha(), (x - 180) * 255 / 179, 3) << x;
        EXPECT_EQ(shade.red(), 255) << x;
    }
}
