#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonValue>

#include <optional>

// Colours in stored records: [red, green, blue, alpha] in sRGB, each 0...1.
namespace StoredColor {

// A colour that cannot be expressed in sRGB is stored as white.
QJsonArray encode(const QColor &color);
// Empty unless `value` is an array of exactly four finite numbers in 0...1.
std::optional<QColor> decode(const QJsonValue &value);

} // namespace StoredColor
