#include "CaptureImageImport.h"
#include "CaptureImportFailure.h"
#include "TestFiles.h"
#include "TestImageFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

using namespace TestImageFiles;

namespace {

QImage grey(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(90, 120, 150));
    return image;
}

QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba(x * 7 % 256, y * 13 % 256, (x ^ y) % 256, 255));
    return image;
}

using Reader = std::function<void(const QString &)>;

std::optional<CaptureImportFailure> failureOf(const QString &path, const Reader &reader)
{
    try {
        reader(path);
        return std::nullopt;
    } catch (const CaptureImportError &error) {
        return error.code();
    }
}

// The failure reading `data` under `name` gives, or none when it opens.
std::optional<CaptureImportFailure> failureOf(const QString &name, const QByteArray &data, QSize *opened = nullptr)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    writeFile(path, data);
    return failureOf(path, [opened](const QString &file) {
        const QImage image = CaptureImageImport::read(file);
        if (opened)
            *opened = image.size();
    });
}

// What checking `data` under `name` without decoding it gives.
std::optional<CaptureImportFailure> checkFailureOf(const QString &name, const QByteArray &data)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    writeFile(path, data);
    return failureOf(path, CaptureImageImport::check);
}

} // namespace

TEST(CaptureImageImportTest, HostileFilesAreRefusedWithTheWorkspaceNotices)
{
    QImageReader::setAllocationLimit(1024); // as the app does
    using enum CaptureImportFailure;
    const QByteArray png = encoded(pattern(QSize(64, 64)), "png");
    const QByteArray jpeg = encoded(grey(QSize(64, 64)), "jpeg");
    const QByteArray tiff = encoded(grey(QSize(64, 64)), "tiff");
    const struct {
        const char *name;
        QByteArray data;
        std::optional<CaptureImportFailure> failure;
    } cases[] = {
        {"bomb.png", whitePng(QSize(30000, 30000)), tooLarge},
        {"huge.jpg", jpegClaiming(QSize(65000, 65000)), tooLarge},
        {"lying.jpg", jpegClaiming(QSize(10000, 8000)), undecodable},
        {"huge.tiff", tiffClaiming(QSize(100000, 100000)), tooLarge},
        {"huge-pages.tiff", tiffClaiming(QSize(100000, 100000), 5000), tooLarge},
        {"lying.png", pngClaiming(png, QSize(8000, 8000)), undecodable},
        {"lying-wide.png", pngClaiming(png, QSize(10001, 8000)), tooLarge},
        {"header-only.png", pngHeaderOnly(QSize(64, 64)), undecodable},
        {"truncated.png", png.left(png.size() / 2), undecodable},
        {"truncated.tiff", tiff.left(tiff.size() / 2), undecodable}, // its header is at the end
        {"cut-in-header.jpg", jpeg.left(20), undecodable},
        {"empty.png", QByteArray(), notImage},
        {"notes.png", "These are notes, not pixels.", notImage},
        {"bitmap.png", encoded(grey(QSize(8, 8)), "bmp"), notImage},
        {"pixmap.png", encoded(grey(QSize(8, 8)), "xpm"), notImage},
        {"png-named.jpg", png, std::nullopt},
        {"jpeg-named.tiff", jpeg, std::nullopt},
        {"tiff-named.png", tiff, std::nullopt},
        {"many-pages.tiff", tiffClaiming(QSize(16, 16), 5000), std::nullopt},
        {"white.png", whitePng(QSize(10000, 8000)), std::nullopt},
    };
    for (const auto &file : cases) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(failureOf(file.name, file.data), file.failure);
        // Pixels that fail to decode may only show when decoding; everything else shows in the header.
        const std::optional<CaptureImportFailure> checked = checkFailureOf(file.name, file.data);
        if (file.failure == undecodable && !checked)
            continue;
        EXPECT_EQ(checked, file.failure) << "the header tells";
    }
}

TEST(CaptureImageImportTest, MissingUnreadableNotAnImageAndTooLargeEachSayWhy)
{
    using enum CaptureImportFailure;
    QTemporaryDir folder;
    const QString locked = unreadableFile(folder.filePath("locked.png"));
    const Reader readPixels = [](const QString &path) {
        CaptureImageImport::read(path);
    };
    for (const Reader &reader : {Reader(CaptureImageImport::check), readPixels}) {
        EXPECT_EQ(failureOf(folder.filePath("gone.png"), reader), missing);
        EXPECT_EQ(failureOf(folder.path(), reader), notImage) << "a folder";
        EXPECT_EQ(failureOf(locked, reader), unreadable);
    }
    const std::map<CaptureImportFailure, QString> sentences{
        {missing, "This file could not be found. Check its name and folder."},
        {unreadable, "This file could not be read. Check that you may open it."},
        {notImage, "This file is not an image. Choose a PNG, JPEG or TIFF image."},
        {tooLarge, "Choose an image up to 80 megapixels."},
        {undecodable, "This image could not be opened. Choose a PNG, JPEG or TIFF image."},
    };
    for (const auto &[failure, sentence] : sentences)
        EXPECT_EQ(description(failure), sentence);
}

TEST(CaptureImageImportTest, ReadsThePixelsOfEachFormatFromFilesAndBuffers)
{
    const QImage image = pattern(QSize(33, 21));
    QSize opened;
    EXPECT_EQ(failureOf("image.png", encoded(image, "png"), &opened), std::nullopt);
    EXPECT_EQ(opened, QSize(33, 21));
    EXPECT_EQ(failureOf("one-page.tiff", tiffClaiming(QSize(16, 16), 3), &opened), std::nullopt);
    EXPECT_EQ(opened, QSize(16, 16)) << "the first page";

    QByteArray bytes = encoded(image, "png");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(CaptureImageImport::read(buffer).convertToFormat(QImage::Format_ARGB32), image);
}
