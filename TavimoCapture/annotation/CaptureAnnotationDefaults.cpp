#include "CaptureAnnotationDefaults.h"

#include "CaptureAnnotation.h"
#include "StoredColor.h"
#include "StoredRecord.h"
#include "UserDefaults.h"

#include <QJsonObject>

namespace {

constexpr qsizetype maximumFontNameLength = 256;

template <typename T> void assign(T &field, const std::optional<T> &value)
{
    if (value)
        field = *value;
}

void loadNumbers(const QJsonObject &record, CaptureStyle &style)
{
    using StoredRecord::clampedNumber;
    assign(style.lineWidth, clampedNumber(record, QStringLiteral("lineWidth"), 1, 80));
    assign(style.spotlightOpacity, clampedNumber(record, QStringLiteral("spotlightOpacity"), 5, 95));
    assign(style.brushOpacity, clampedNumber(record, QStringLiteral("brushOpacity"), 5, 80));
    assign(style.blurRadius, clampedNumber(record, QStringLiteral("blurRadius"), 1, 80));
    assign(style.pixelSize, clampedNumber(record, QStringLiteral("pixelSize"), 2, 128));
    assign(style.magnifierZoom, clampedNumber(record, QStringLiteral("magnifierZoom"), 1, 8));
    assign(style.fontSize, clampedNumber(record, QStringLiteral("fontSize"), CaptureStyle::minimumFontSize,
                                         CaptureStyle::maximumFontSize));
}

void loadEnumerations(const QJsonObject &record, CaptureStyle &style)
{
    using StoredRecord::enumeration;
    assign(style.shapeMode, enumeration<CaptureShapeMode>(record, QStringLiteral("shapeMode")));
    assign(style.brush, enumeration<CaptureBrush>(record, QStringLiteral("brush")));
    assign(style.arrowHead, enumeration<CaptureArrowHead>(record, QStringLiteral("arrowHead")));
    assign(style.arrowDash, enumeration<CaptureArrowDash>(record, QStringLiteral("arrowDash")));
    assign(style.numberShape, enumeration<CaptureNumberShape>(record, QStringLiteral("numberShape")));
}

void loadFontName(const QJsonObject &record, CaptureStyle &style)
{
    const QJsonValue value = record.value(QStringLiteral("fontName"));
    const QString name = value.toString();
    if (value.isString() && !name.isEmpty() && name.size() <= maximumFontNameLength)
        style.fontName = name;
}

void loadBooleans(const QJsonObject &record, CaptureStyle &style)
{
    using StoredRecord::boolean;
    assign(style.magnifierOval, boolean(record, QStringLiteral("magnifierOval")));
    assign(style.bold, boolean(record, QStringLiteral("bold")));
    assign(style.italic, boolean(record, QStringLiteral("italic")));
    assign(style.underline, boolean(record, QStringLiteral("underline")));
    assign(style.textBackgroundEnabled, boolean(record, QStringLiteral("textBackgroundEnabled")));
    assign(style.arrowCurved, boolean(record, QStringLiteral("arrowCurved")));
}

} // namespace

CaptureAnnotationDefaults::Loaded CaptureAnnotationDefaults::load(const UserDefaults &defaults)
{
    Loaded loaded{CaptureStyle(), CaptureAnnotation::systemRed()};
    const std::optional<QJsonObject> record = StoredRecord::versionOne(defaults.value(key));
    if (!record)
        return loaded;
    loadNumbers(*record, loaded.style);
    loadEnumerations(*record, loaded.style);
    loadFontName(*record, loaded.style);
    loadBooleans(*record, loaded.style);
    assign(loaded.style.textBackgroundColor, StoredColor::decode(record->value(QStringLiteral("textBackgroundColor"))));
    assign(loaded.color, StoredColor::decode(record->value(QStringLiteral("color"))));
    return loaded;
}

void CaptureAnnotationDefaults::save(const CaptureStyle &style, const QColor &color, UserDefaults &defaults)
{
    const QJsonObject record{
        {QStringLiteral("version"), 1},
        {QStringLiteral("color"), StoredColor::encode(color)},
        {QStringLiteral("lineWidth"), style.lineWidth},
        {QStringLiteral("shapeMode"), rawValue(style.shapeMode)},
        {QStringLiteral("spotlightOpacity"), style.spotlightOpacity},
        {QStringLiteral("brush"), rawValue(style.brush)},
        {QStringLiteral("brushOpacity"), style.brushOpacity},
        {QStringLiteral("blurRadius"), style.blurRadius},
        {QStringLiteral("pixelSize"), style.pixelSize},
        {QStringLiteral("magnifierOval"), style.magnifierOval},
        {QStringLiteral("magnifierZoom"), style.magnifierZoom},
        {QStringLiteral("fontName"), style.fontName},
        {QStringLiteral("fontSize"), style.fontSize},
        {QStringLiteral("bold"), style.bold},
        {QStringLiteral("italic"), style.italic},
        {QStringLiteral("underline"), style.underline},
        {QStringLiteral("textBackgroundEnabled"), style.textBackgroundEnabled},
        {QStringLiteral("textBackgroundColor"), StoredColor::encode(style.textBackgroundColor)},
        {QStringLiteral("arrowHead"), rawValue(style.arrowHead)},
        {QStringLiteral("arrowDash"), rawValue(style.arrowDash)},
        {QStringLiteral("arrowCurved"), style.arrowCurved},
        {QStringLiteral("numberShape"), rawValue(style.numberShape)},
    };
    defaults.setValue(key, record);
}
