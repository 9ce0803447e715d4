#pragma once

#include <QString>

#include <optional>

// "Start Tavimo Capture at login": a desktop entry in the user's autostart
// folder, which the desktop starts at login. The file is the only state.
class CaptureAutostart {
public:
    // `folder` is usually defaultFolder(), `program` defaultProgram().
    CaptureAutostart(QString folder, QString program);

    // $XDG_CONFIG_HOME/autostart.
    static QString defaultFolder();
    // The AppImage when running from one, else this executable.
    static QString defaultProgram();

    QString filePath() const;
    // The entry is there, starts this program and is not switched off
    // (Hidden=true or X-GNOME-Autostart-enabled=false).
    bool enabled() const;
    // Writes or removes the entry. An entry changed by hand to start another
    // program is the user's: it is never removed, and turning on fails with
    // the name taken. Throws CaptureFileSystemError and then leaves the entry
    // as it was.
    void setEnabled(bool enabled);

    QByteArray entry() const;

private:
    std::optional<QByteArray> storedEntry() const;
    // Some argument of the entry's Exec line is this program, wherever it lives.
    bool namesUs(const QByteArray &entry) const;

    QString m_folder;
    QString m_program;
};
