#pragma once

#include "CaptureEditorPolicy.h"
#include "CaptureThumbnailShortcut.h"

#include <QJsonValue>
#include <QObject>
#include <QString>

class UserDefaults;

// The user's capture settings: what happens after a capture and how the
// thumbnail behaves. Read from the user defaults once, when made; every
// change is written back at once. GUI thread only.
class CapturePreferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool autoSave READ autoSave WRITE setAutoSave NOTIFY autoSaveChanged)
    Q_PROPERTY(bool autoCopy READ autoCopy WRITE setAutoCopy NOTIFY autoCopyChanged)
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)
    Q_PROPERTY(CaptureEditorPolicy editorPolicy READ editorPolicy WRITE setEditorPolicy NOTIFY editorPolicyChanged)
    Q_PROPERTY(bool showThumbnail READ showThumbnail WRITE setShowThumbnail NOTIFY showThumbnailChanged)
    Q_PROPERTY(double thumbnailSeconds READ thumbnailSeconds WRITE setThumbnailSeconds NOTIFY thumbnailSecondsChanged)
    Q_PROPERTY(CaptureThumbnailShortcut thumbnailShortcut READ thumbnailShortcut WRITE setThumbnailShortcut NOTIFY
                   thumbnailShortcutChanged)

public:
    explicit CapturePreferences(UserDefaults &defaults, QObject *parent = nullptr);

    // "Documents/Capture" in the home folder, the automatic-save default.
    static QString defaultFolder();
    // A display time within 1 to 30 seconds; 5 when not finite.
    static double clampedThumbnailSeconds(double seconds);

    bool autoSave() const { return m_autoSave; }
    bool autoCopy() const { return m_autoCopy; }
    // May start with "~".
    QString folder() const { return m_folder; }
    CaptureEditorPolicy editorPolicy() const { return m_editorPolicy; }
    bool showThumbnail() const { return m_showThumbnail; }
    // As set; only the stored copy is clamped.
    double thumbnailSeconds() const { return m_thumbnailSeconds; }
    CaptureThumbnailShortcut thumbnailShortcut() const { return m_thumbnailShortcut; }

    void setAutoSave(bool autoSave);
    void setAutoCopy(bool autoCopy);
    void setFolder(const QString &folder);
    void setEditorPolicy(CaptureEditorPolicy policy);
    void setShowThumbnail(bool showThumbnail);
    void setThumbnailSeconds(double seconds);
    void setThumbnailShortcut(CaptureThumbnailShortcut shortcut);

signals:
    void autoSaveChanged(bool autoSave);
    void autoCopyChanged(bool autoCopy);
    void folderChanged(const QString &folder);
    void editorPolicyChanged(CaptureEditorPolicy policy);
    void showThumbnailChanged(bool showThumbnail);
    void thumbnailSecondsChanged(double seconds);
    void thumbnailShortcutChanged(CaptureThumbnailShortcut shortcut);

private:
    template <typename T, typename Signal>
    void change(T &field, const T &value, const QString &key, const QJsonValue &stored, Signal changed);
    bool storedBool(const QString &key, bool fallback) const;

    UserDefaults &m_defaults;
    bool m_autoSave;
    bool m_autoCopy;
    QString m_folder;
    CaptureEditorPolicy m_editorPolicy;
    bool m_showThumbnail;
    double m_thumbnailSeconds;
    CaptureThumbnailShortcut m_thumbnailShortcut;
};
