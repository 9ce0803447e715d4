#pragma once

#include <QString>

#include <array>
#include <optional>
#include <span>
#include <string_view>

// String-backed enumerations: each enumeration specialises RawEnum with its
// raw values in declaration order; these functions give the rest. Using them
// fails to compile unless every case has its raw value.
template <typename E> struct RawEnum;

namespace RawEnumDetail {

// Whether `value` is a named case: GCC and Clang spell an unnamed value of an
// enumeration as a cast, "(CaptureBrush)2", in a function's signature.
template <auto value> constexpr bool isNamedCase()
{
    constexpr std::string_view signature = __PRETTY_FUNCTION__;
    constexpr std::string_view marker = "value = ";
    constexpr std::size_t start = signature.find(marker);
    static_assert(start != std::string_view::npos, "unknown compiler signature format");
    return signature[start + marker.size()] != '(';
}

} // namespace RawEnumDetail

// Every case, from the first declared to the last, once and in order, each
// with one raw value.
template <typename E> constexpr bool everyCaseHasARawValue()
{
    constexpr auto &cases = RawEnum<E>::cases;
    if (cases.size() != RawEnum<E>::rawValues.size())
        return false;
    for (std::size_t index = 0; index < cases.size(); ++index) {
        if (cases[index] != E(index))
            return false;
    }
    return !RawEnumDetail::isNamedCase<E(cases.size())>();
}

template <typename E> constexpr std::span<const E> allCases()
{
    static_assert(everyCaseHasARawValue<E>(), "RawEnum must list every case of the enumeration in declaration order");
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

