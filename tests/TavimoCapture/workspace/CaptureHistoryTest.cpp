#include "CaptureHistory.h"
#include "CaptureFailure.h"
#include "CaptureFileSystemFailure.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <gmock/gmock.h>
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

QString uuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QStringList ids(const QList<CaptureHistoryItem> &items)
{
    QStringList names;
    std::ranges::transform(items, std::back_inserter(names), &CaptureHistoryItem::id);
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

    EXPECT_EQ(permissions(history.directory()), 0700u);
    EXPECT_EQ(permissions(history.directory() + "/" + name), 0600u);
    EXPECT_EQ(permissions(sidecar(history.directory(), name)), 0600u);
    ASSERT_EQ(ids(history.items()), QStringList{name});
    EXPECT_LT(std::abs(history.items().first().date().secsTo(QDateTime::currentDateTime())), 60);
}

TEST_F(CaptureHistoryTest, TwentyFirstEntryPrunesTheOldestWithItsSidecarAndLimitZeroKeepsOne)
{
    const CaptureHistory history(folder(), 20);
    for (int index = 0; index < 20; ++index)
        history.save(solid(index), QString(), exported);
    QStringList expected = ids(history.items());
    expected.removeLast();
    expected.prepend(history.save(solid(20), QString(), exported));
    EXPECT_THAT(ids(history.items()), testing::UnorderedElementsAreArray(expected));
    EXPECT_EQ(QDir(history.directory()).entryList(QDir::Files).size(), 40) << "one sidecar went with its entry";
    EXPECT_EQ(readFile(exported), "exported");

    const CaptureHistory single(root.filePath("Single"), 0);
    single.save(solid(1));
    const QString last = single.save(solid(2));
    EXPECT_EQ(ids(single.items()), QStringList{last});
}

TEST_F(CaptureHistoryTest, ReplacingAnEntryKeepsOneEntryAndOtherNamesMakeNewOnes)
{
    const CaptureHistory history(folder());
    const QString name = history.save(solid(1));

    EXPECT_EQ(history.save(solid(2), name), name);
    EXPECT_EQ(CaptureHistory::png(solid(2)), readFile(history.directory() + "/" + name));
    for (const QString &other : {QStringLiteral("notes.png"), name.chopped(4) + ".PNG", "../" + name})
        EXPECT_NE(history.save(solid(3), other), other);
    EXPECT_EQ(history.items().size(), 4);
    EXPECT_FALSE(QFile::exists(history.directory() + "/notes.png"));
}

TEST(CaptureHistoryPng, AnImageThatCannotBeEncodedIsAWriteFailure)
{
    EXPECT_THAT([] { CaptureHistory::png(QImage()); },
                testing::Throws<CaptureError>(testing::Property(&CaptureError::code, CaptureFailure::write)));
}

TEST_F(CaptureHistoryTest, ForeignAndHiddenFilesAreNeverListedPrunedOrRemoved)
{
    const CaptureHistory history(folder(), 1);
    const QString id = uuid();
    QStringList foreign{id + ".PNG",     "notes.png",  "." + uuid() + ".png",   "{" + uuid() + "}.png",
                        id + ".png.tmp", id + ".json", uuid().left(35) + ".png"};
    history.save(solid(0), QString(), exported);
    for (const QString &name : foreign)
        writeFile(history.directory() + "/" + name, "foreign");
    const QString outside = root.filePath(uuid() + ".png");
    writeFile(outside, "outside");
    history.save(solid(1), QString(), exported);
    const QString kept = history.save(solid(2), QString(), exported);
    EXPECT_EQ(ids(history.items()), QStringList{kept});

    for (const QString &name : foreign)
        history.remove(CaptureHistoryItem(history.directory() + "/" + name, QDateTime()));
    history.remove(CaptureHistoryItem(outside, QDateTime()));
    history.remove(CaptureHistoryItem(history.directory() + "/../" + QFileInfo(outside).fileName(), QDateTime()));
    history.clear();
    EXPECT_TRUE(history.items().isEmpty());
    foreign.sort();
    EXPECT_EQ(QDir(history.directory()).entryList(QDir::Files | QDir::Hidden, QDir::Name), foreign)
        << "entries and sidecars went, nothing else";
    for (const QString &name : foreign)
        EXPECT_EQ(readFile(history.directory() + "/" + name), "foreign") << name.toStdString();
    EXPECT_EQ(readFile(outside), "outside");
    EXPECT_EQ(readFile(exported), "exported");
}

TEST(CaptureHistory, EqualDatesAreOrderedByNameGreaterFirst)
{
    const QDateTime noon(QDate(2026, 5, 1), QTime(12, 0));
    const auto item = [](const char *name, const QDateTime &date) {
        return CaptureHistoryItem(QStringLiteral("/h/%1.png").arg(name), date);
    };
    QList<CaptureHistoryItem> items{item("A", noon), item("C", noon), item("0", noon.addSecs(1)),
                                    item("F", QDateTime()), item("B", noon)};
    CaptureHistory::sortNewestFirst(items);
    EXPECT_EQ(ids(items), (QStringList{"0.png", "C.png", "B.png", "A.png", "F.png"}));
}

TEST_F(CaptureHistoryTest, ExportLinkFollowsTheExportedFile)
{
    const CaptureHistory history(folder());
    const QString quotedExport = root.filePath("Saved \"quoted\" ünï.png");
    writeFile(quotedExport, "exported");
    ASSERT_TRUE(QFile::link(quotedExport, root.filePath("link.png")));
    for (const QString &notExport : {QString(), QStringLiteral("export.png"), root.path(), root.filePath("link.png")})
        EXPECT_FALSE(CaptureHistory::existingExport(notExport)) << notExport.toStdString();
    const QString name = history.save(solid(1), QString(), quotedExport);
    const std::optional<CaptureHistoryEntry> entry = history.reopen(history.items().first());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->historyID, name);
    EXPECT_EQ(entry->exportPath, quotedExport);
    EXPECT_EQ(entry->image.convertToFormat(QImage::Format_ARGB32), solid(1));

    ASSERT_TRUE(QFile::remove(quotedExport));
    EXPECT_FALSE(history.reopen(history.items().first())->exportPath);
    history.save(solid(2), name, quotedExport);
    EXPECT_FALSE(QFile::exists(sidecar(history.directory(), name))) << "a deleted export drops the older link";
}

TEST_F(CaptureHistoryTest, ReopenToleratesABrokenSidecarButNotABrokenImage)
{
    const CaptureHistory history(folder());
    const QString name = history.save(solid(1), QString(), exported);
    const CaptureHistoryItem item = history.items().first();

    for (const QByteArray &broken :
         {QByteArray("not json"), QByteArray("\"relative.png\""), QByteArray("\"/a\", \"/b\"")}) {
        writeFile(sidecar(history.directory(), name), broken);
        const std::optional<CaptureHistoryEntry> entry = history.reopen(item);
        ASSERT_TRUE(entry) << broken.constData();
        EXPECT_FALSE(entry->exportPath) << broken.constData();
    }
    writeFile(item.path(), "not a png");
    EXPECT_FALSE(history.reopen(item));
    EXPECT_TRUE(item.thumbnail().isNull());
}

TEST_F(CaptureHistoryTest, FailedWriteLeavesEarlierEntriesIntact)
{
    const CaptureHistory history(folder(), 2);
    const QString first = history.save(solid(1));
    const QString second = history.save(solid(2));
    const QByteArray secondBytes = readFile(history.directory() + "/" + second);
    const QByteArray large(8192, 'x');
    const auto listing = [&] {
        return QDir(history.directory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = listing();
    {
        FileSizeLimit limit(4096);
        EXPECT_THROW(history.savePng(large), CaptureFileSystemError);
        using testing::Field;
        EXPECT_THAT([&] { history.savePng(large, second); },
                    testing::Throws<CaptureFileSystemError>(testing::Property(
                        &CaptureFileSystemError::code,
                        testing::AllOf(Field(&CaptureFileSystemFailure::path, history.directory() + "/" + second),
                                       Field(&CaptureFileSystemFailure::errorNumber, EFBIG)))));
    }
    EXPECT_EQ(listing(), before);
    EXPECT_THAT(ids(history.items()), testing::UnorderedElementsAre(first, second));
    EXPECT_EQ(readFile(history.directory() + "/" + second), secondBytes);
}

TEST_F(CaptureHistoryTest, ThumbnailIsDecodedAtMostAt360Pixels)
{
    const CaptureHistory history(folder());
    const struct {
        QSize image, thumbnail;
    } cases[] = {{{1000, 500}, {360, 180}}, {{2000, 3}, {360, 1}}, {{120, 90}, {120, 90}}};
    for (const auto &size : cases) {
        history.clear();
        history.save(solid(3, size.image));
        const QImage thumbnail = history.items().first().thumbnail();
        EXPECT_EQ(thumbnail.size(), size.thumbnail);
        EXPECT_EQ(thumbnail.pixel(thumbnail.width() / 2, 0), solid(3).pixel(0, 0));
    }
    EXPECT_TRUE(CaptureHistoryItem(root.filePath("missing.png"), QDateTime()).thumbnail().isNull());
}

TEST_F(CaptureHistoryTest, LeftoversOfACrashAreRemovedAndNothingElse)
{
    const CaptureHistory history(folder());
    const QString entry = history.save(solid(1), QString(), exported);
    const QString kept = entry.chopped(4);
    const QString gone = uuid();
    const QStringList leftovers{"." + entry + ".tavimo-k3x9q", "." + kept + ".json.tavimo-0a", gone + ".json"};
    const QStringList others{"." + entry + ".old", ".notes.png.tavimo-k3", "notes.json", gone + ".JSON",
                             "." + entry + ".tavimo-"};
    for (const QString &name : leftovers + others)
        writeFile(folder() + "/" + name, "x");

    history.removeLeftovers();
    for (const QString &name : leftovers)
        EXPECT_FALSE(QFile::exists(folder() + "/" + name)) << name.toStdString();
    for (const QString &name : others + QStringList{entry, kept + ".json"})
        EXPECT_TRUE(QFile::exists(folder() + "/" + name)) << name.toStdString();
}
