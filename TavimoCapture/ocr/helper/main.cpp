// tavimo-ocr: reads one binary PPM image on standard input and writes the
// text Tesseract finds in it to standard output, one JSON object per line of
// text (see CaptureOCREngine). Runs apart from the app so that a crash on a
// hostile image cannot take the app down, and so that OMP_THREAD_LIMIT=1 is in
// its environment from the start.
//
//   tavimo-ocr [--threads N]    N engines recognise pieces of the page at once
//
// Exit status: 0 done, 65 unreadable input, 69 English language data missing.

#include "CaptureOCREngine.h"
#include "CaptureOCRPixels.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int exitDataError = 65;
constexpr int exitUnavailable = 69;
// A piece of page per engine and a spare, so that engines finishing early take more.
constexpr int piecesPerEngine = 2;

int threadCount(int argc, char **argv)
{
    for (int index = 1; index + 1 < argc; ++index) {
        if (std::strcmp(argv[index], "--threads") == 0)
            return std::clamp(std::atoi(argv[index + 1]), 1, 64);
    }
    return 1;
}

std::optional<CaptureOCRPixels> readInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return std::nullopt;
    return CaptureOCRPixels::fromPpm(input.readAll());
}

void writeLines(const QJsonArray &lines)
{
    for (const QJsonValue &line : lines) {
        const QByteArray json = QJsonDocument(line.toObject()).toJson(QJsonDocument::Compact) + '\n';
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    }
}

// Recognises `pieces` on up to `engineCount` engines at once; the first is
// `first`, which already holds the image and works in this thread. An engine
// that cannot start leaves its share to the others. Results keep the order of
// the pieces.
QList<QJsonArray> recognisePieces(CaptureOCREngine &first, const CaptureOCRPixels &pixels, const QList<QRect> &pieces,
                                  int engineCount)
{
    QList<QJsonArray> results(pieces.size());
    std::atomic<qsizetype> next = 0;
    const auto work = [&](CaptureOCREngine &engine) {
        for (qsizetype index = next++; index < pieces.size(); index = next++)
            results[index] = engine.recognisePiece(pieces[index]);
    };
    std::vector<std::thread> threads;
    for (int helper = 1; helper < engineCount; ++helper) {
        threads.emplace_back([&] {
            if (const std::unique_ptr<CaptureOCREngine> engine = CaptureOCREngine::create()) {
                engine->setImage(pixels);
                work(*engine);
            }
        });
    }
    work(first);
    for (std::thread &thread : threads)
        thread.join();
    return results;
}

} // namespace

int main(int argc, char **argv)
{
    const int threads = threadCount(argc, argv);
    const std::optional<CaptureOCRPixels> pixels = readInput();
    if (!pixels) {
        std::fputs("tavimo-ocr: expected a binary PPM image on standard input\n", stderr);
        return exitDataError;
    }
    const std::unique_ptr<CaptureOCREngine> engine = CaptureOCREngine::create();
    if (!engine) {
        std::fputs("tavimo-ocr: the English language data could not be loaded\n", stderr);
        return exitUnavailable;
    }
    engine->setImage(*pixels);

    const QList<QRect> pieces = threads > 1 ? engine->textPieces(threads * piecesPerEngine) : QList<QRect>();
    if (pieces.size() < 2) {
        writeLines(engine->recognisePage());
        return 0;
    }
    const int engineCount = int(std::min<qsizetype>(threads, pieces.size()));
    for (const QJsonArray &lines : recognisePieces(*engine, *pixels, pieces, engineCount))
        writeLines(lines);
    return 0;
}
