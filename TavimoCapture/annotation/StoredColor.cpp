#include "StoredColor.h"

#include <cmath>

QJsonArray StoredColor::encode(const QColor &color)
{
    if (!color.isValid())
        return QJsonArray{1.0, 1.0, 1.0, 1.0};
    const QColor srgb = color.toRgb();
    return QJsonArray{srgb.redF(), srgb.greenF(), srgb.blueF(), srgb.alphaF()};
}

std::optional<QColor> StoredColor::decode(const QJsonValue &value)
{
    const QJsonArray components = value.toArray();
    if (!value.isArray() || components.size() != 4)
        return std::nullopt;
    float channel[4];
    for (int index = 0; index < 4; ++index) {
        const QJsonValue component = components.at(index);
        const double number = component.toDouble();
        if (!component.isDouble() || !std::isfinite(number) || number < 0 || number > 1)
            return std::nullopt;
        channel[index] = float(number);
    }
    return QColor::fromRgbF(channel[0], channel[1], channel[2], channel[3]);
}
