#pragma once

#include "RawEnum.h"

#include <QJsonObject>
#include <QString>

#include <algorithm>
#include <cmath>
#include <optional>

// Defensive reads of one field of a stored record: a missing or mistyped
// value is empty, so the caller keeps its default.
namespace StoredRecord {

// The record under `key` when it is an object whose "version" is the integer 1.
std::optional<QJsonObject> versionOne(const QJsonValue &stored);

// A finite number clamped into [low, high].
std::optional<double> clampedNumber(const QJsonObject &record, const QString &key, double low, double high);

std::optional<bool> boolean(const QJsonObject &record, const QString &key);

template <typename E> std::optional<E> enumeration(const QJsonObject &record, const QString &key)
{
    const QJsonValue value = record.value(key);
    if (!value.isString())
        return std::nullopt;
    return fromRawValue<E>(value.toString());
}

} // namespace StoredRecord
