#pragma once

#include "CaptureOCRPixels.h"

#include <QJsonArray>
#include <QList>
#include <QRect>

#include <tesseract/baseapi.h>

#include <memory>

// One Tesseract engine (LSTM, English, automatic page segmentation) over one
// image. Not shared between threads: each thread makes its own.
class CaptureOCREngine {
public:
    // None when the English language data cannot be loaded.
    static std::unique_ptr<CaptureOCREngine> create();
    ~CaptureOCREngine();

    // The image must outlive the engine's use of it.
    void setImage(const CaptureOCRPixels &pixels);

    // Rectangles of text, in reading order, that together hold every line the
    // page layout finds; about `count` of them, cut only between lines.
    QList<QRect> textPieces(int count);

    // The recognised lines of the whole image, or of one piece, in reading
    // order: {"text", "box": [x, y, width, height], "words": [{"text", "box",
    // "symbols": [[x, y, width, height, text], ...]}]} in image pixels. Only
    // words with characters other than letters and digits list their symbols.
    QJsonArray recognisePage();
    QJsonArray recognisePiece(const QRect &piece);

private:
    CaptureOCREngine() = default;
    QJsonArray recognisedLines();

    tesseract::TessBaseAPI m_api;
    QRect m_bounds;
};
