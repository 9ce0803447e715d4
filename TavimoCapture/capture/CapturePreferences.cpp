#include "CapturePreferences.h"

#include "UserDefaults.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace {

const QString autoSaveKey = QStringLiteral("capture.autoSave");
const QString autoCopyKey = QStringLiteral("capture.autoCopy");
const QString folderKey = QStringLiteral("capture.saveFolder");
const QString editorPolicyKey = QStringLiteral("capture.editorPolicy");
const QString showThumbnailKey = QStringLiteral("capture.showThumbnail");
const QString thumbnailSecondsKey = QStringLiteral("capture.thumbnailSeconds");
const QString thumbnailShortcutKey = QStringLiteral("capture.thumbnailShortcut");

constexpr double defaultThumbnailSeconds = 5.0;

} // namespace

CapturePreferences::CapturePreferences(UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_autoSave(storedBool(autoSaveKey, false)),
      m_autoCopy(storedBool(autoCopyKey, true)), m_folder(defaults.stringValue(folderKey).value_or(defaultFolder())),
      m_editorPolicy(captureEditorPolicyFromStored(defaults.stringValue(editorPolicyKey).value_or(QString()))),
      m_showThumbnail(storedBool(showThumbnailKey, true)),
      m_thumbnailSeconds(
          clampedThumbnailSeconds(defaults.doubleValue(thumbnailSecondsKey).value_or(defaultThumbnailSeconds))),
      m_thumbnailShortcut(
          captureThumbnailShortcutFromStored(defaults.stringValue(thumbnailShortcutKey).value_or(QString())))
{
}

QString CapturePreferences::defaultFolder()
{
    return QDir::home().filePath(QStringLiteral("Documents/Capture"));
}

double CapturePreferences::clampedThumbnailSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        return defaultThumbnailSeconds;
    return std::clamp(seconds, 1.0, 30.0);
}

// Keeps `value` in `field`, writes `stored` under `key` and tells observers;
// nothing happens when the field already holds `value`.
template <typename T, typename Signal>
void CapturePreferences::change(T &field, const T &value, const QString &key, const QJsonValue &stored, Signal changed)
{
    if (field == value)
        return;
    field = value;
    m_defaults.setValue(key, stored);
    emit(this->*changed)(field);
}

void CapturePreferences::setAutoSave(bool autoSave)
{
    change(m_autoSave, autoSave, autoSaveKey, autoSave, &CapturePreferences::autoSaveChanged);
}

void CapturePreferences::setAutoCopy(bool autoCopy)
{
    change(m_autoCopy, autoCopy, autoCopyKey, autoCopy, &CapturePreferences::autoCopyChanged);
}

void CapturePreferences::setFolder(const QString &folder)
{
    change(m_folder, folder, folderKey, folder, &CapturePreferences::folderChanged);
}

void CapturePreferences::setEditorPolicy(CaptureEditorPolicy policy)
{
    change(m_editorPolicy, policy, editorPolicyKey, rawValue(policy), &CapturePreferences::editorPolicyChanged);
}

void CapturePreferences::setShowThumbnail(bool showThumbnail)
{
    change(m_showThumbnail, showThumbnail, showThumbnailKey, showThumbnail, &CapturePreferences::showThumbnailChanged);
}

void CapturePreferences::setThumbnailSeconds(double seconds)
{
    change(m_thumbnailSeconds, seconds, thumbnailSecondsKey, clampedThumbnailSeconds(seconds),
           &CapturePreferences::thumbnailSecondsChanged);
}

void CapturePreferences::setThumbnailShortcut(CaptureThumbnailShortcut shortcut)
{
    change(m_thumbnailShortcut, shortcut, thumbnailShortcutKey, rawValue(shortcut),
           &CapturePreferences::thumbnailShortcutChanged);
}

// A JSON Boolean, or the numbers 0 and 1 that stand for one.
bool CapturePreferences::storedBool(const QString &key, bool fallback) const
{
    if (const std::optional<bool> stored = m_defaults.boolValue(key))
        return *stored;
    const std::optional<double> number = m_defaults.doubleValue(key);
    if (number == 0.0 || number == 1.0)
        return *number == 1.0;
    return fallback;
}
