#include "CaptureOCR.h"

#include "CaptureOCRFailure.h"
#include "CaptureOCRLog.h"
#include "HelperProgram.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTextBoundaryFinder>
#include <QThread>

namespace {

// Exit statuses of tavimo-ocr.
constexpr int helperUnavailable = 69;
// Long enough for an 80-megapixel page on a slow machine.
constexpr int helperTimeout = 10 * 60 * 1000;
constexpr qint64 pixelsPerEngine = 500'000;

QRectF rectFrom(const QJsonArray &box)
{
    return QRectF(box.at(0).toDouble(), box.at(1).toDouble(), box.at(2).toDouble(), box.at(3).toDouble());
}

QImage opaqueRgb(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB888);
    QImage rgb(image.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    QPainter painter(&rgb);
    painter.drawImage(0, 0, image);
    return rgb;
}

// Sends the image as the helper reads it: binary PPM, transparency over white.
void writePpm(QProcess &helper, const QImage &image)
{
    const QImage rgb = opaqueRgb(image);
    helper.write(QStringLiteral("P6\n%1 %2\n255\n").arg(rgb.width()).arg(rgb.height()).toLatin1());
    const qint64 rowBytes = qint64(rgb.width()) * 3;
    for (int row = 0; row < rgb.height(); ++row)
        helper.write(reinterpret_cast<const char *>(rgb.constScanLine(row)), rowBytes);
}

// One engine per half megapixel, as far as the cores go: fewer cost more
// time, more cost more start-up than they save.
QStringList helperArguments(const QImage &image)
{
    const qint64 pixels = qint64(image.width()) * image.height();
    const qint64 threads = std::clamp<qint64>(pixels / pixelsPerEngine, 1, std::max(QThread::idealThreadCount(), 1));
    return {QStringLiteral("--threads"), QString::number(threads)};
}

QByteArray runHelper(const QImage &image)
{
    const QString program = CaptureOCR::helperPath();
    if (!QFileInfo(program).isExecutable())
        throw CaptureOCRError(CaptureOCRFailure::helperMissing);
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Tesseract's OpenMP threads only slow it down; the helper runs its own engines in parallel.
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    helper.setProcessEnvironment(environment);
    helper.start(program, helperArguments(image));
    if (!helper.waitForStarted())
        throw CaptureOCRError(CaptureOCRFailure::helperMissing);
    writePpm(helper, image);
    helper.closeWriteChannel();
    if (!helper.waitForFinished(helperTimeout)) {
        helper.kill();
        helper.waitForFinished();
        qCWarning(ocrLog) << "The recognition helper took too long and was stopped";
        throw CaptureOCRError(CaptureOCRFailure::failed);
    }
    const bool exited = helper.exitStatus() == QProcess::NormalExit;
    if (!exited || helper.exitCode() != 0)
        qCWarning(ocrLog).nospace() << "The recognition helper " << program << (exited ? " exited with " : " crashed, ")
                                    << helper.exitCode() << ": " << helper.readAllStandardError();
    if (exited && helper.exitCode() == helperUnavailable)
        throw CaptureOCRError(CaptureOCRFailure::languageDataMissing);
    if (!exited || helper.exitCode() != 0)
        throw CaptureOCRError(CaptureOCRFailure::failed);
    return helper.readAllStandardOutput();
}

QByteArray helperOutput(const QImage &image)
{
    if (image.isNull())
        throw CaptureOCRError(CaptureOCRFailure::failed);
    return runHelper(image);
}

// The recognised lines, one JSON object each, in reading order.
QList<QJsonObject> recognisedLines(const QByteArray &output)
{
    QList<QJsonObject> lines;
    for (const QByteArray &json : output.split('\n')) {
        if (json.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument line = QJsonDocument::fromJson(json, &error);
        if (error.error != QJsonParseError::NoError || !line.isObject())
            throw CaptureOCRError(CaptureOCRFailure::failed);
        lines.append(line.object());
    }
    return lines;
}

// The box of the characters [start, end) of a word: the union of the boxes of
// the symbols (each [x, y, width, height, text]) that hold them.
QRectF symbolsBox(const QJsonArray &symbols, qsizetype start, qsizetype end)
{
    QRectF box;
    qsizetype symbolStart = 0;
    for (const QJsonValue &value : symbols) {
        const QJsonArray symbol = value.toArray();
        const qsizetype symbolEnd = symbolStart + symbol.at(4).toString().size();
        const QRectF symbolBox = rectFrom(symbol);
        if (symbolStart < end && symbolEnd > start && !symbolBox.isEmpty())
            box |= symbolBox;
        symbolStart = symbolEnd;
    }
    return box;
}

// The words of one engine word, without punctuation ("alpha," gives "alpha").
void appendWordRegions(const QJsonObject &word, QList<CaptureOCRRegion> &regions)
{
    const QString text = word.value("text").toString();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        if (finder.boundaryReasons().testFlag(QTextBoundaryFinder::EndOfItem)) {
            const bool whole = start == 0 && end == text.size();
            const QRectF box =
                whole ? rectFrom(word.value("box").toArray()) : symbolsBox(word.value("symbols").toArray(), start, end);
            if (!box.isEmpty())
                regions.append({box, text.sliced(start, end - start)});
        }
        start = end;
    }
}

} // namespace

QString CaptureOCR::recognize(const QImage &image)
{
    return textOf(helperOutput(image));
}

QList<CaptureOCRRegion> CaptureOCR::regions(const QImage &image)
{
    return regionsOf(helperOutput(image));
}

QString CaptureOCR::textOf(const QByteArray &output)
{
    QStringList texts;
    for (const QJsonObject &line : recognisedLines(output))
        texts.append(line.value("text").toString());
    return texts.join(QLatin1Char('\n'));
}

QList<CaptureOCRRegion> CaptureOCR::regionsOf(const QByteArray &output)
{
    QList<CaptureOCRRegion> regions;
    for (const QJsonObject &line : recognisedLines(output)) {
        const qsizetype before = regions.size();
        for (const QJsonValue &word : line.value("words").toArray())
            appendWordRegions(word.toObject(), regions);
        const QRectF lineBox = rectFrom(line.value("box").toArray());
        if (regions.size() == before && !lineBox.isEmpty())
            regions.append({lineBox, line.value("text").toString()});
    }
    return regions;
}

std::optional<QString> CaptureOCR::clipboardText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return text;
}

QString CaptureOCR::helperPath()
{
    const QString configured = qEnvironmentVariable("TAVIMO_OCR");
    if (!configured.isEmpty())
        return configured;
    return HelperProgram::path(QStringLiteral("tavimo-ocr"));
}
