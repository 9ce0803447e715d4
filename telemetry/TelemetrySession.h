#pragma once

#include <QString>

class UserDefaults;

// Markers in the user's settings that tell the next launch whether this run
// ended cleanly and whether it was installing an update. Markers exist only
// while usage statistics are on. Used on the GUI thread only.
class TelemetrySession {
public:
    TelemetrySession(UserDefaults &defaults, const QString &app);

    // Only the first call does anything. When enabled, marks this run as
    // active and returns whether the previous enabled run never finished (it
    // crashed or was killed). When disabled, removes every marker.
    bool start(bool enabled);
    void setEnabled(bool enabled);
    // Normal termination: the next start reports no unclean exit.
    void finish();

    // The build number about to be installed; ignored unless enabled and valid.
    void recordUpdateInstallation(const QString &version);
    // The installation was abandoned.
    void clearUpdateInstallation();
    // Whether this run is the first run of the recorded update. The record is
    // consumed in every case.
    bool consumeUpdateInstallation(const QString &currentVersion);

    // Digits in dot-separated groups ("57", "1.5.2"), at most 64 bytes.
    static bool isValidVersion(const QString &version);

    QString markerKey() const { return m_markerKey; }
    QString updateKey() const { return m_updateKey; }

private:
    void removeMarkers();

    UserDefaults &m_defaults;
    QString m_markerKey;
    QString m_updateKey;
    bool m_started = false;
    bool m_enabled = false;
};
