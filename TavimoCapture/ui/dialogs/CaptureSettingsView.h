#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class CaptureAutostart;
class CapturePreferences;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TavimoSignals;

// The "Capture Settings" form: starting at login, what happens after a
// capture and how the thumbnail behaves. Every control writes its setting at
// once.
class CaptureSettingsView : public QWidget {
    Q_OBJECT

public:
    // Asks for a folder, starting in `current`; none when cancelled.
    using FolderChooser = std::function<std::optional<QString>(QWidget *parent, const QString &current)>;

    static constexpr QSize panelSize{540, 560};

    CaptureSettingsView(CapturePreferences &preferences, CaptureAutostart &autostart, TavimoSignals &tavimoSignals,
                        FolderChooser chooseFolder = systemFolderChooser(), QWidget *parent = nullptr);

    static FolderChooser systemFolderChooser();

    QCheckBox *loginToggle() const { return m_login; }
    // Why the last change of the login switch failed; hidden when it worked.
    QLabel *loginFailure() const { return m_loginFailure; }
    QCheckBox *copyToggle() const { return m_copy; }
    QCheckBox *saveToggle() const { return m_save; }
    QLabel *folderLabel() const { return m_folder; }
    QPushButton *folderButton() const { return m_chooseFolderButton; }
    QComboBox *editorPicker() const { return m_editor; }
    QCheckBox *thumbnailToggle() const { return m_thumbnail; }
    QSpinBox *secondsStepper() const { return m_seconds; }
    QComboBox *shortcutPicker() const { return m_shortcut; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *startup();
    QWidget *afterCapturing();
    QWidget *thumbnailSection();
    void chooseFolder();
    void showPreferences();
    void setStartsAtLogin(bool starts);
    void showStartsAtLogin();

    CapturePreferences &m_preferences;
    CaptureAutostart &m_autostart;
    FolderChooser m_chooseFolder;
    QCheckBox *m_login;
    QLabel *m_loginFailure;
    QCheckBox *m_copy;
    QCheckBox *m_save;
    QLabel *m_folder;
    QPushButton *m_chooseFolderButton;
    QComboBox *m_editor;
    QCheckBox *m_thumbnail;
    QSpinBox *m_seconds;
    QComboBox *m_shortcut;
};
