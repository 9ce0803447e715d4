#include "CaptureAutostart.h"

#include "CaptureFileSystemFailure.h"
#include "CaptureFileWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

const QString entryName = QStringLiteral("local.tavimo.capture.desktop");

// Exec quoting of the desktop entry format.
QString quotedProgram(QString program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    program.replace(QStringLiteral("%"), QStringLiteral("%%"));
    if (std::none_of(program.begin(), program.end(), [](QChar c) { return reserved.contains(c); }))
        return program;
    QString quoted = program;
    for (const QString &special :
         {QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("`"), QStringLiteral("$")})
        quoted.replace(special, QStringLiteral("\\") + special);
    // The entry's own escaping doubles every backslash once more.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool switchedOff(const QList<QByteArray> &lines)
{
    bool inMainGroup = false;
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inMainGroup = line == "[Desktop Entry]";
        else if (inMainGroup && (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false"))
            return true;
    }
    return false;
}

} // namespace

CaptureAutostart::CaptureAutostart(QString folder, QString program)
    : m_folder(std::move(folder)), m_program(std::move(program))
{
}

QString CaptureAutostart::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

QString CaptureAutostart::defaultProgram()
{
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    return appImage.isEmpty() ? QCoreApplication::applicationFilePath() : appImage;
}

QString CaptureAutostart::filePath() const
{
    return m_folder + QLatin1Char('/') + entryName;
}

bool CaptureAutostart::enabled() const
{
    QFile file(filePath());
    return file.open(QIODevice::ReadOnly) && !switchedOff(file.readAll().split('\n'));
}

QByteArray CaptureAutostart::entry() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tavimo Capture\n"
                          "Comment=Capture, annotate and share. Local by design.\n"
                          "Exec=%1\n"
                          "Icon=local.tavimo.capture\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(quotedProgram(m_program))
        .toUtf8();
}

void CaptureAutostart::setEnabled(bool enabled)
{
    using Operation = CaptureFileSystemFailure::Operation;
    if (!enabled) {
        QFile file(filePath());
        if (file.remove() || !file.exists())
            return;
        throw CaptureFileSystemError(CaptureFileSystemFailure{Operation::remove, filePath(), 0, file.errorString()});
    }
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(m_folder).toStdString(), error);
    if (error)
        throw CaptureFileSystemError(
            CaptureFileSystemFailure::fromErrorNumber(Operation::createFolder, m_folder, error.value()));
    CaptureFileWriter::replace(filePath(), entry());
}
