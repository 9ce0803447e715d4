#include "StoredRecord.h"

std::optional<QJsonObject> StoredRecord::versionOne(const QJsonValue &stored)
{
    if (!stored.isObject())
        return std::nullopt;
    const QJsonObject record = stored.toObject();
    const QJsonValue version = record.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != 1.0)
        return std::nullopt;
    return record;
}

std::optional<double> StoredRecord::clampedNumber(const QJsonObject &record, const QString &key, double low,
                                                  double high)
{
    const QJsonValue value = record.value(key);
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return std::clamp(value.toDouble(), low, high);
}

std::optional<bool> StoredRecord::boolean(const QJsonObject &record, const QString &key)
{
    const QJsonValue value = record.value(key);
    if (!value.isBool())
        return std::nullopt;
    return value.toBool();
}
