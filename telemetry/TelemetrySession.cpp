#include "TelemetrySession.h"

#include "UserDefaults.h"

#include <QRegularExpression>

namespace {

constexpr qsizetype maximumVersionBytes = 64;

} // namespace

TelemetrySession::TelemetrySession(UserDefaults &defaults, const QString &app)
    : m_defaults(defaults), m_markerKey(QStringLiteral("tavimo.session.active.v1.") + app),
      m_updateKey(QStringLiteral("tavimo.update.pending.v1.") + app)
{
}

bool TelemetrySession::start(bool enabled)
{
    if (m_started)
        return false;
    m_started = true;
    m_enabled = enabled;
    if (!enabled) {
        removeMarkers();
        return false;
    }
    const bool previousRunActive = m_defaults.boolValue(m_markerKey).value_or(false);
    m_defaults.setValue(m_markerKey, true);
    return previousRunActive;
}

void TelemetrySession::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        removeMarkers();
    else if (m_started)
        m_defaults.setValue(m_markerKey, true);
}

void TelemetrySession::finish()
{
    m_defaults.remove(m_markerKey);
}

void TelemetrySession::recordUpdateInstallation(const QString &version)
{
    if (m_enabled && isValidVersion(version))
        m_defaults.setValue(m_updateKey, version);
}

void TelemetrySession::clearUpdateInstallation()
{
    m_defaults.remove(m_updateKey);
}

bool TelemetrySession::consumeUpdateInstallation(const QString &currentVersion)
{
    const std::optional<QString> recorded = m_defaults.stringValue(m_updateKey);
    m_defaults.remove(m_updateKey);
    return m_enabled && isValidVersion(currentVersion) && recorded == currentVersion;
}

bool TelemetrySession::isValidVersion(const QString &version)
{
    static const QRegularExpression digitGroups(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+(\\.[0-9]+)*")));
    return version.toUtf8().size() <= maximumVersionBytes && digitGroups.match(version).hasMatch();
}

void TelemetrySession::removeMarkers()
{
    m_defaults.remove(m_markerKey);
    m_defaults.remove(m_updateKey);
}
