#include "CaptureDecorationDefaults.h"

#include "StoredColor.h"
#include "StoredRecord.h"
#include "UserDefaults.h"

#include <QJsonObject>

namespace {

CaptureBackground background(const QJsonValue &value)
{
    const std::optional<CaptureBackground> stored = fromRawValue<CaptureBackground>(value.toString());
    return value.isString() && stored ? *stored : CaptureBackground::transparent;
}

// Missing or unusable sizes are 0 here, not the composition's defaults.
double size(const QJsonObject &record, const QString &key, double maximum)
{
    return StoredRecord::clampedNumber(record, key, 0, maximum).value_or(0);
}

} // namespace

CaptureComposition CaptureDecorationDefaults::load(const UserDefaults &defaults)
{
    CaptureComposition composition;
    const std::optional<QJsonObject> record = StoredRecord::versionOne(defaults.value(key));
    if (!record)
        return composition;
    composition.background = background(record->value(QStringLiteral("background")));
    composition.backgroundColor =
        StoredColor::decode(record->value(QStringLiteral("color"))).value_or(composition.backgroundColor);
    composition.gradientColor =
        StoredColor::decode(record->value(QStringLiteral("gradient"))).value_or(composition.gradientColor);
    composition.borderColor =
        StoredColor::decode(record->value(QStringLiteral("borderColor"))).value_or(composition.borderColor);
    composition.padding = size(*record, QStringLiteral("padding"), CaptureComposition::maximumPadding);
    composition.cornerRadius = size(*record, QStringLiteral("radius"), CaptureComposition::maximumCornerRadius);
    composition.shadow = size(*record, QStringLiteral("shadow"), CaptureComposition::maximumShadow);
    composition.borderWidth = size(*record, QStringLiteral("border"), CaptureComposition::maximumBorderWidth);
    return composition;
}

void CaptureDecorationDefaults::save(const CaptureComposition &composition, UserDefaults &defaults)
{
    const QJsonObject record{
        {QStringLiteral("version"), 1},
        {QStringLiteral("background"), rawValue(composition.background)},
        {QStringLiteral("color"), StoredColor::encode(composition.backgroundColor)},
        {QStringLiteral("gradient"), StoredColor::encode(composition.gradientColor)},
        {QStringLiteral("borderColor"), StoredColor::encode(composition.borderColor)},
        {QStringLiteral("padding"), composition.padding},
        {QStringLiteral("radius"), composition.cornerRadius},
        {QStringLiteral("shadow"), composition.shadow},
        {QStringLiteral("border"), composition.borderWidth},
    };
    defaults.setValue(key, record);
}
