#include "FuzzEntryPoints.h"

#include "Appcast.h"
#include "CaptureHistory.h"
#include "CaptureImageImport.h"
#include "CaptureOCR.h"
#include "CaptureOCRPixels.h"
#include "CaptureRequestReader.h"
#include "UserDefaults.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <exception>

namespace {

// One private folder for the files the readers expect on disk.
const QTemporaryDir &scratch()
{
    static const QTemporaryDir folder;
    return folder;
}

void writeScratch(const QString &path, QByteArrayView input)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(input.data(), input.size());
}

// Typed failures are the expected answer to bad bytes; anything else escapes.
template <typename Work> void refusalsAllowed(Work work)
{
    try {
        work();
    } catch (const std::exception &) {
    }
}

const QString entryName = QStringLiteral("0B5E3D7C-1F20-4D4B-9E1A-4F5C6D7E8F90");

QString historyFolder()
{
    return scratch().filePath(QStringLiteral("History"));
}

} // namespace

void FuzzEntryPoints::imageOpen(QByteArrayView input)
{
    QByteArray bytes = input.toByteArray();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    refusalsAllowed([&] { CaptureImageImport::read(buffer); });
}

void FuzzEntryPoints::historyImage(QByteArrayView input)
{
    QDir().mkpath(historyFolder());
    const QString entry = historyFolder() + QLatin1Char('/') + entryName + QStringLiteral(".png");
    writeScratch(entry, input);
    const CaptureHistory history(historyFolder());
    for (const CaptureHistoryItem &item : history.items()) {
        item.thumbnail();
        history.reopen(item);
    }
}

void FuzzEntryPoints::historySidecar(QByteArrayView input)
{
    QDir().mkpath(historyFolder());
    const QString entry = historyFolder() + QLatin1Char('/') + entryName;
    if (!QFile::exists(entry + QStringLiteral(".png"))) {
        QImage pixel(1, 1, QImage::Format_ARGB32);
        pixel.fill(Qt::red);
        pixel.save(entry + QStringLiteral(".png"), "png");
    }
    writeScratch(entry + QStringLiteral(".json"), input);
    const CaptureHistory history(historyFolder());
    for (const CaptureHistoryItem &item : history.items())
        history.reopen(item);
}

void FuzzEntryPoints::settingsFile(QByteArrayView input)
{
    const QString path = scratch().filePath(QStringLiteral("defaults.json"));
    QFile::remove(path + QStringLiteral(".corrupt"));
    writeScratch(path, input);
    const UserDefaults defaults(path);
    for (const char *key :
         {"capture.autoSave", "capture.saveFolder", "capture.thumbnailSeconds", "capture.annotation.v1"}) {
        defaults.boolValue(QString::fromLatin1(key));
        defaults.stringValue(QString::fromLatin1(key));
        defaults.doubleValue(QString::fromLatin1(key));
        defaults.objectValue(QString::fromLatin1(key));
    }
}

void FuzzEntryPoints::updateFeed(QByteArrayView input)
{
    refusalsAllowed([&] {
        const QList<AppcastItem> items = Appcast::parse(input.toByteArray());
        for (const AppcastItem &item : items)
            refusalsAllowed([&] { Appcast::validate(item); });
        Appcast::newestUpdate(items, {0, 4, 0});
    });
}

void FuzzEntryPoints::ocrOutput(QByteArrayView input)
{
    const QByteArray output = input.toByteArray();
    refusalsAllowed([&] { CaptureOCR::textOf(output); });
    refusalsAllowed([&] { CaptureOCR::regionsOf(output); });
}

void FuzzEntryPoints::ocrPixels(QByteArrayView input)
{
    const std::optional<CaptureOCRPixels> pixels = CaptureOCRPixels::fromPpm(input.toByteArray());
    if (!pixels)
        return;
    // Touches every byte the engine would read.
    volatile unsigned sum = 0;
    for (int y = 0; y < pixels->height(); ++y) {
        const unsigned char *row = pixels->rows() + qsizetype(y) * pixels->bytesPerLine();
        sum = sum + row[0] + row[pixels->bytesPerLine() - 1];
    }
}

void FuzzEntryPoints::instanceRequest(QByteArrayView input)
{
    if (input.isEmpty())
        return;
    const qsizetype pieceSize = 1 + quint8(input.front());
    QByteArrayView stream = input.sliced(1);
    CaptureRequestReader reader;
    while (!stream.isEmpty() && reader.state() == CaptureRequestReader::State::waiting) {
        const QByteArrayView piece = stream.first(std::min(pieceSize, stream.size()));
        stream = stream.sliced(piece.size());
        reader.add(piece);
    }
    // Whatever is accepted reads back as itself, so the app acts on what was asked.
    const std::optional<CaptureRequest> &request = reader.request();
    if (request && CaptureRequest::decoded(request->encoded()) != request)
        std::abort();
    const std::optional<CaptureRequest> unframed = CaptureRequest::decoded(input.sliced(1).toByteArray());
    if (unframed && CaptureRequest::decoded(unframed->encoded()) != unframed)
        std::abort();
}

const std::vector<FuzzEntryPoints::Target> &FuzzEntryPoints::targets()
{
    static const std::vector<Target> all{
        {QStringLiteral("imageOpen"), imageOpen},           {QStringLiteral("historyImage"), historyImage},
        {QStringLiteral("historySidecar"), historySidecar}, {QStringLiteral("settingsFile"), settingsFile},
        {QStringLiteral("updateFeed"), updateFeed},         {QStringLiteral("ocrOutput"), ocrOutput},
        {QStringLiteral("ocrPixels"), ocrPixels},           {QStringLiteral("instanceRequest"), instanceRequest},
    };
    return all;
}
