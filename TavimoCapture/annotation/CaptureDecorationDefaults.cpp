#include "CaptureDecorationDefaults.h"

#include "StoredColor.h"
#include "StoredRecord.h"
#include "UserDefaults.h"

#include <QJsonObject>

namespace {

const QString backgroundKey = QStringLiteral("background");

// Each stored field once: its key, where it lives in the composition and,
// for sizes, the largest value kept.
struct ColorField {
    const char *key;
    QColor CaptureComposition::*member;
};

const ColorField colorFields[] = {
    {"color", &CaptureComposition::backgroundColor},
    {"gradient", &CaptureComposition::gradientColor},
    {"borderColor", &CaptureComposition::borderColor},
};

struct SizeField {
    const char *key;
    double CaptureComposition::*member;
    double maximum;
};

constexpr SizeField sizeFields[] = {
    {"padding", &CaptureComposition::padding, CaptureComposition::maximumPadding},
    {"radius", &CaptureComposition::cornerRadius, CaptureComposition::maximumCornerRadius},
    {"shadow", &CaptureComposition::shadow, CaptureComposition::maximumShadow},
    {"border", &CaptureComposition::borderWidth, CaptureComposition::maximumBorderWidth},
};

CaptureBackground background(const QJsonValue &value)
{
    const std::optional<CaptureBackground> stored = fromRawValue<CaptureBackground>(value.toString());
    return value.isString() && stored ? *stored : CaptureBackground::transparent;
}

} // namespace

CaptureComposition CaptureDecorationDefaults::load(const UserDefaults &defaults)
{
    CaptureComposition composition;
    const std::optional<QJsonObject> record = StoredRecord::versionOne(defaults.value(key));
    if (!record)
        return composition;
    composition.background = background(record->value(backgroundKey));
    for (const ColorField &field : colorFields) {
        QColor &color = composition.*field.member;
        color = StoredColor::decode(record->value(QLatin1String(field.key))).value_or(color);
    }
    // Missing or unusable sizes are 0 here, not the composition's defaults.
    for (const SizeField &field : sizeFields)
        composition.*field.member =
            StoredRecord::clampedNumber(*record, QLatin1String(field.key), 0, field.maximum).value_or(0);
    return composition;
}

void CaptureDecorationDefaults::save(const CaptureComposition &composition, UserDefaults &defaults)
{
    QJsonObject record{
        {QStringLiteral("version"), 1},
        {backgroundKey, rawValue(composition.background)},
    };
    for (const ColorField &field : colorFields)
        record.insert(QLatin1String(field.key), StoredColor::encode(composition.*field.member));
    for (const SizeField &field : sizeFields)
        record.insert(QLatin1String(field.key), composition.*field.member);
    defaults.setValue(key, record);
}
