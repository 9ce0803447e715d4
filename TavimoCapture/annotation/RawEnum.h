#pragma once

#include <QString>

#include <array>
#include <optional>
#include <span>

// String-backed enumerations: each enumeration specialises RawEnum with its
// raw values in declaration order; these functions give the rest.
template <typename E> struct RawEnum;

template <typename E> constexpr std::span<const E> allCases()
{
    return RawEnum<E>::cases;
}

template <typename E> QString rawValue(E value)
{
    const auto cases = allCases<E>();
    for (std::size_t index = 0; index < cases.size(); ++index) {
        if (cases[index] == value)
            return QString::fromLatin1(RawEnum<E>::rawValues[index]);
    }
    return {};
}

// Case-sensitive: "Outline" is not `outline`.
template <typename E> std::optional<E> fromRawValue(const QString &raw)
{
    const auto cases = allCases<E>();
    for (std::size_t index = 0; index < cases.size(); ++index) {
        if (raw == QLatin1String(RawEnum<E>::rawValues[index]))
            return cases[index];
    }
    return std::nullopt;
}

// The raw value with its first letter capitalised ("Outline", "Teardrop").
template <typename E> QString capitalizedRawValue(E value)
{
    QString text = rawValue(value);
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}
