#pragma once

#include "CaptureOCRRegion.h"

#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// On-device text recognition. Each call runs the tavimo-ocr helper (Tesseract)
// in its own process and blocks until it is done, which takes up to seconds:
// call it off the GUI thread, e.g. with QtConcurrent::run. Calls are
// independent and may run at the same time. Failures throw CaptureOCRError.
namespace CaptureOCR {

// Every recognised line in reading order, joined by line feeds; "" without text.
QString recognize(const QImage &image);

// The words of every line in reading order, without the punctuation between
// them; a line whose words have no box gives one region for the whole line.
QList<CaptureOCRRegion> regions(const QImage &image);

// What recognize() and regions() make of the helper's output: one JSON object
// a line. Output that is not such lines throws CaptureOCRError.
QString textOf(const QByteArray &output);
QList<CaptureOCRRegion> regionsOf(const QByteArray &output);

// `text` unchanged, or none when it holds nothing but white space.
std::optional<QString> clipboardText(const QString &text);

// $TAVIMO_OCR when set, else the tavimo-ocr helper of this build or install.
QString helperPath();

} // namespace CaptureOCR
