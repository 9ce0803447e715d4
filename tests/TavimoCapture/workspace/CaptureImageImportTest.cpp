#include "CaptureImageImport.h"
#include "CaptureImportFailure.h"
#include "ProcessUsage.h"
#include "TestFiles.h"
#include "TestImageFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
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

QByteArray lzwTiff(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "tiff");
    writer.setCompression(1);
    writer.write(image);
    return bytes;
}

// Peak resident size above what it was before, in megabytes, while `work` runs;
// none when the kernel does not let the peak be reset.
template <typename Work> std::optional<double> peakMegabytesOf(Work work)
{
    const qint64 before = ProcessUsage::statusKilobytes("VmRSS:");
    if (!ProcessUsage::resetPeakResidentSize())
        return std::nullopt;
    work();
    return double(ProcessUsage::statusKilobytes("VmHWM:") - before) / 1024;
}

constexpr double refusalPeakMegabytes = 64;

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

// Headers that claim more than their file holds are refused before the pixels
// are allocated: each refusal stays far below the memory the claim would take.
TEST(CaptureImageImportTest, DataTooShortForItsClaimIsRefusedBeforeDecoding)
{
    QImageReader::setAllocationLimit(1024); // as the app does
    using enum CaptureImportFailure;
    const QByteArray strip(256, char(0x80));
    // 1280 tiles of 8 bytes each, all at offset 8: one list serves as both.
    const QByteArray eights = QByteArray::fromHex("08000000").repeated(1280);
    const QByteArray png = encoded(pattern(QSize(64, 64)), "png");
    const QByteArray comment = QByteArray("Comment") + '\0' + "A screenshot of the settings window.";
    const QByteArray xmp = QByteArray("XML:com.adobe.xmp") + QByteArray(5, '\0') + QByteArray(200'000, 'x');
    const QByteArray compressedNote = QByteArray("Note") + QByteArray(2, '\0');
    const QByteArray compressedXmp = QByteArray("XML:com.adobe.xmp") + '\0' + '\1' + QByteArray(3, '\0');
    const QByteArray blank = QByteArray(8 * 1024 * 1024, ' ');
    const QByteArray arithmetic = arithmeticJpeg(QSize(16, 16));
    QImage white(QSize(10000, 8000), QImage::Format_Mono);
    white.fill(1);
    const struct {
        const char *name;
        QByteArray data;
        std::optional<CaptureImportFailure> failure;
    } cases[] = {
        {"strip-claims-10000x8000.tiff", tiffClaiming(QSize(10000, 8000)), undecodable},
        {"strip-beyond-file.tiff",
         tiffPage({{256, 3, 16},
                   {257, 3, 16},
                   {258, 3, 8},
                   {259, 3, 1},
                   {262, 3, 1},
                   {273, 4, 8},
                   {277, 3, 1},
                   {278, 3, 16},
                   {279, 4, 1'000'000'000}},
                  strip),
         undecodable},
        {"strip-offset-beyond-file.tiff",
         tiffPage({{256, 3, 16},
                   {257, 3, 16},
                   {258, 3, 8},
                   {259, 3, 1},
                   {262, 3, 1},
                   {273, 4, 4'000'000'000},
                   {277, 3, 1},
                   {278, 3, 16},
                   {279, 4, 256}},
                  strip),
         undecodable},
        {"strip-list-beyond-file.tiff",
         tiffPage({{256, 3, 16},
                   {257, 4, 100'000},
                   {258, 3, 8},
                   {259, 3, 1},
                   {262, 3, 1},
                   {273, 4, 8, 100'000},
                   {277, 3, 1},
                   {278, 3, 1},
                   {279, 4, 8, 100'000}},
                  strip),
         undecodable}, // the decoder refuses the header
        {"tile-bomb.tiff",
         tiffPage({{256, 3, 16},
                   {257, 3, 16},
                   {258, 3, 8},
                   {259, 3, 1},
                   {262, 3, 1},
                   {277, 3, 1},
                   {322, 4, 65536},
                   {323, 4, 65536},
                   {324, 4, 8},
                   {325, 4, 256}},
                  strip),
         undecodable},
        {"tiles-claim-10000x8000.tiff",
         tiffPage({{256, 3, 10000},
                   {257, 3, 8000},
                   {258, 3, 8},
                   {259, 3, 5},
                   {262, 3, 1},
                   {277, 3, 1},
                   {322, 3, 256},
                   {323, 3, 256},
                   {324, 4, 264, 1280},
                   {325, 4, 264, 1280}},
                  strip + eights),
         undecodable},
        {"deflate-claims-8000x8000.tiff", deflateTiffClaiming(QSize(8000, 8000)), undecodable},
        {"arithmetic-claims-10000x8000.jpg", jpegWithoutScanClaiming(arithmetic, QSize(10000, 8000)), undecodable},
        {"arithmetic-claims-65000x65000.jpg", jpegWithoutScanClaiming(arithmetic, QSize(65000, 65000)), tooLarge},
        {"101-text-chunks.png", pngWithChunks(png, "tEXt", comment, 101), undecodable},
        {"text-of-1.1-mb.png", pngWithChunks(png, "tEXt", comment + QByteArray(1'100'000, 'x')), undecodable},
        {"ztxt-of-8-mb.png", pngWithChunks(png, "zTXt", compressedNote + zlibText(blank)), undecodable},
        {"itxt-of-8-mb.png", pngWithChunks(png, "iTXt", compressedXmp + zlibText(blank)), undecodable},
        {"ztxt-adding-up-to-8-mb.png", pngWithChunks(png, "zTXt", compressedNote + zlibText(blank.left(100'000)), 80),
         undecodable},
        {"100-text-chunks.png", pngWithChunks(png, "tEXt", comment, 100), std::nullopt},
        {"xmp-and-notes.png",
         pngWithChunks(pngWithChunks(png, "iTXt", xmp), "zTXt", compressedNote + zlibText(blank.left(500'000))),
         std::nullopt},
        {"white-10000x8000.tiff", encoded(white, "tiff"), std::nullopt},
        {"lzw-4000x3000.tiff", lzwTiff(grey(QSize(4000, 3000))), std::nullopt},
        {"lzw-pattern.tiff", lzwTiff(pattern(QSize(300, 200))), std::nullopt},
        {"arithmetic-33x21.jpg", arithmeticJpeg(QSize(33, 21)), std::nullopt},
        {"arithmetic-10000x8000.jpg", arithmeticJpeg(QSize(10000, 8000)), std::nullopt},
    };
    for (const auto &file : cases) {
        SCOPED_TRACE(file.name);
        QTemporaryDir folder;
        const QString path = folder.filePath(file.name);
        writeFile(path, file.data);
        std::optional<CaptureImportFailure> failure;
        const std::optional<double> peak = peakMegabytesOf([&] {
            try {
                CaptureImageImport::read(path);
            } catch (const CaptureImportError &error) {
                failure = error.code();
            }
        });
        EXPECT_EQ(failure, file.failure);
        if (file.failure && peak) {
            EXPECT_LT(*peak, refusalPeakMegabytes);
        }
    }
}
