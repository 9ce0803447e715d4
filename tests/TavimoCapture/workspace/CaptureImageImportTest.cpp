#include "CaptureImageImport.h"
#include "CaptureImportFailure.h"
#include "TestFiles.h"
#include "TestImageFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

// The failure reading `data` under `name` gives, or none when it opens.
std::optional<CaptureImportFailure> failureOf(const QString &name, const QByteArray &data, QSize *opened = nullptr)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    writeFile(path, data);
    try {
        const QImage image = CaptureImageImport::read(path);
        if (opened)
            *opened = image.size();
        return std::nullopt;
    } catch (const CaptureImportError &error) {
        return error.code();
    }
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
        {"truncated.tiff", tiff.left(tiff.size() / 2), tooLarge}, // its header is at the end
        {"cut-in-header.jpg", jpeg.left(20), tooLarge},
        {"empty.png", QByteArray(), tooLarge},
        {"notes.png", "These are notes, not pixels.", tooLarge},
        {"bitmap.png", encoded(grey(QSize(8, 8)), "bmp"), tooLarge},
        {"pixmap.png", encoded(grey(QSize(8, 8)), "xpm"), tooLarge},
        {"png-named.jpg", png, std::nullopt},
        {"jpeg-named.tiff", jpeg, std::nullopt},
        {"tiff-named.png", tiff, std::nullopt},
        {"many-pages.tiff", tiffClaiming(QSize(16, 16), 5000), std::nullopt},
        {"white.png", whitePng(QSize(10000, 8000)), std::nullopt},
    };
    for (const auto &file : cases) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(failureOf(file.name, file.data), file.failure);
    }
    EXPECT_EQ(description(tooLarge), "Choose an image up to 80 megapixels.");
    EXPECT_EQ(description(undecodable), "This image could not be opened. Choose a PNG, JPEG or TIFF image.");
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
