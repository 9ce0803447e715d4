#pragma once

#include <QString>

#include <optional>

class UserDefaults;

// The user's stored choices about usage statistics. Both are on until the
// user turns them off.
struct TelemetryPreferences {
    bool usage = true;
    bool city = true;

    TelemetryPreferences() = default;
    // A missing choice counts as on.
    TelemetryPreferences(std::optional<bool> usage, std::optional<bool> city);

    // A stored value that is not a Boolean reads as off.
    static TelemetryPreferences load(const UserDefaults &defaults);

    static QString usageKey();
    static QString cityKey();

    // The city is shared only together with usage statistics.
    bool effectiveCity() const { return usage && city; }
};
