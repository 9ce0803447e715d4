#include "TelemetryPreferences.h"

#include "UserDefaults.h"

namespace {

std::optional<bool> storedChoice(const UserDefaults &defaults, const QString &key)
{
    if (!defaults.contains(key))
        return std::nullopt;
    return defaults.boolValue(key).value_or(false);
}

} // namespace

TelemetryPreferences::TelemetryPreferences(std::optional<bool> usage, std::optional<bool> city)
    : usage(usage.value_or(true)), city(city.value_or(true))
{
}

TelemetryPreferences TelemetryPreferences::load(const UserDefaults &defaults)
{
    return TelemetryPreferences(storedChoice(defaults, usageKey()), storedChoice(defaults, cityKey()));
}

QString TelemetryPreferences::usageKey()
{
    return QStringLiteral("tavimo.usageConsent.v1");
}

QString TelemetryPreferences::cityKey()
{
    return QStringLiteral("tavimo.cityConsent.v1");
}
