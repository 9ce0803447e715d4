#include "CaptureAnnotationDefaults.h"

#include "CaptureAnnotation.h"
#include "CaptureToolTable.h"
#include "StoredColor.h"
#include "StoredRecord.h"
#include "UserDefaults.h"

#include <QJsonObject>

#include <tuple>
#include <type_traits>

namespace {

constexpr qsizetype maximumFontNameLength = 256;

// Each stored field once: its key and where it lives in the style. The
// numbers and their clamps come from the tool table.
struct BooleanField {
    const char *key;
    bool CaptureStyle::*member;
};

constexpr BooleanField booleanFields[] = {
    {"magnifierOval", &CaptureStyle::magnifierOval},
    {"bold", &CaptureStyle::bold},
    {"italic", &CaptureStyle::italic},
    {"underline", &CaptureStyle::underline},
    {"textBackgroundEnabled", &CaptureStyle::textBackgroundEnabled},
    {"arrowCurved", &CaptureStyle::arrowCurved},
};

template <typename E> struct EnumerationField {
    const char *key;
    E CaptureStyle::*member;
};

constexpr std::tuple enumerationFields{
    EnumerationField<CaptureShapeMode>{"shapeMode", &CaptureStyle::shapeMode},
    EnumerationField<CaptureBrush>{"brush", &CaptureStyle::brush},
    EnumerationField<CaptureArrowHead>{"arrowHead", &CaptureStyle::arrowHead},
    EnumerationField<CaptureArrowDash>{"arrowDash", &CaptureStyle::arrowDash},
    EnumerationField<CaptureNumberShape>{"numberShape", &CaptureStyle::numberShape},
};

const QString fontNameKey = QStringLiteral("fontName");
const QString textBackgroundColorKey = QStringLiteral("textBackgroundColor");
const QString colorKey = QStringLiteral("color");

template <typename T> void assign(T &field, const std::optional<T> &value)
{
    if (value)
        field = *value;
}

void loadFields(const QJsonObject &record, CaptureStyle &style)
{
    for (const CaptureStyleNumber &number : CaptureToolTable::styleNumbers())
        assign(style.*number.field,
               StoredRecord::clampedNumber(record, QLatin1String(number.key), number.stored.low, number.stored.high));
    for (const BooleanField &field : booleanFields)
        assign(style.*field.member, StoredRecord::boolean(record, QLatin1String(field.key)));
    std::apply(
        [&](const auto &...field) {
            (assign(style.*field.member, StoredRecord::enumeration<std::remove_cvref_t<decltype(style.*field.member)>>(
                                             record, QLatin1String(field.key))),
             ...);
        },
        enumerationFields);
}

void saveFields(const CaptureStyle &style, QJsonObject &record)
{
    for (const CaptureStyleNumber &number : CaptureToolTable::styleNumbers())
        record.insert(QLatin1String(number.key), style.*number.field);
    for (const BooleanField &field : booleanFields)
        record.insert(QLatin1String(field.key), style.*field.member);
    std::apply(
        [&](const auto &...field) { (record.insert(QLatin1String(field.key), rawValue(style.*field.member)), ...); },
        enumerationFields);
}

void loadFontName(const QJsonObject &record, CaptureStyle &style)
{
    const QJsonValue value = record.value(fontNameKey);
    const QString name = value.toString();
    if (value.isString() && !name.isEmpty() && name.size() <= maximumFontNameLength)
        style.fontName = name;
}

} // namespace

CaptureAnnotationDefaults::Loaded CaptureAnnotationDefaults::load(const UserDefaults &defaults)
{
    Loaded loaded{CaptureStyle(), CaptureAnnotation::systemRed()};
    const std::optional<QJsonObject> record = StoredRecord::versionOne(defaults.value(key));
    if (!record)
        return loaded;
    loadFields(*record, loaded.style);
    loadFontName(*record, loaded.style);
    assign(loaded.style.textBackgroundColor, StoredColor::decode(record->value(textBackgroundColorKey)));
    assign(loaded.color, StoredColor::decode(record->value(colorKey)));
    return loaded;
}

void CaptureAnnotationDefaults::save(const CaptureStyle &style, const QColor &color, UserDefaults &defaults)
{
    QJsonObject record{
        {QStringLiteral("version"), 1},
        {colorKey, StoredColor::encode(color)},
        {fontNameKey, style.fontName},
        {textBackgroundColorKey, StoredColor::encode(style.textBackgroundColor)},
    };
    saveFields(style, record);
    defaults.setValue(key, record);
}
