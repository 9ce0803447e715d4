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

// Stores `value` in `field`; false when it was already there.
template <typename T> bool changeField(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

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

void CapturePreferences::setAutoSave(bool autoSave)
{
    if (!changeField(m_autoSave, autoSave))
        return;
    m_defaults.setValue(autoSaveKey, autoSave);
    emit autoSaveChanged(autoSave);
}

void CapturePreferences::setAutoCopy(bool autoCopy)
{
    if (!changeField(m_autoCopy, autoCopy))
        return;
    m_defaults.setValue(autoCopyKey, autoCopy);
    emit autoCopyChanged(autoCopy);
}

void CapturePreferences::setFolder(const QString &folder)
{
    if (!changeField(m_folder, folder))
        return;
    m_defaults.setValue(folderKey, folder);
    emit folderChanged(folder);
}

void CapturePreferences::setEditorPolicy(CaptureEditorPolicy policy)
{
    if (!changeField(m_editorPolicy, policy))
        return;
    m_defaults.setValue(editorPolicyKey, rawValue(policy));
    emit editorPolicyChanged(policy);
}

void CapturePreferences::setShowThumbnail(bool showThumbnail)
{
    if (!changeField(m_showThumbnail, showThumbnail))
        return;
    m_defaults.setValue(showThumbnailKey, showThumbnail);
    emit showThumbnailChanged(showThumbnail);
}

void CapturePreferences::setThumbnailSeconds(double seconds)
{
    if (!changeField(m_thumbnailSeconds, seconds))
        return;
    m_defaults.setValue(thumbnailSecondsKey, clampedThumbnailSeconds(seconds));
    emit thumbnailSecondsChanged(seconds);
}

void CapturePreferences::setThumbnailShortcut(CaptureThumbnailShortcut shortcut)
{
    if (!changeField(m_thumbnailShortcut, shortcut))
        return;
    m_defaults.setValue(thumbnailShortcutKey, rawValue(shortcut));
    emit thumbnailShortcutChanged(shortcut);
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
