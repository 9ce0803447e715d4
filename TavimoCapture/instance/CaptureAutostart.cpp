#include "CaptureAutostart.h"

#include "CaptureFileSystemFailure.h"
#include "CaptureFileWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

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

// The trimmed lines of the entry's main group.
QList<QByteArray> mainGroup(const QByteArray &entry)
{
    QList<QByteArray> lines;
    bool inMainGroup = false;
    for (const QByteArray &raw : entry.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inMainGroup = line == "[Desktop Entry]";
        else if (inMainGroup)
            lines.append(line);
    }
    return lines;
}

bool switchedOff(const QList<QByteArray> &lines)
{
    return lines.contains("Hidden=true") || lines.contains("X-GNOME-Autostart-enabled=false");
}

// The string escapes of the entry format (\s, \n, \t, \r, \\).
QString unescaped(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        static const QHash<QChar, QChar> escapes{{u's', u' '}, {u'n', u'\n'}, {u't', u'\t'}, {u'r', u'\r'}};
        text += escapes.value(next, next);
    }
    return text;
}

// The arguments of an Exec line, its quoting undone.
QStringList execArguments(const QString &exec)
{
    QStringList arguments;
    QString argument;
    bool quoted = false;
    bool inArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            argument += exec[++i];
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && c == QLatin1Char(' ')) {
            if (inArgument)
                arguments.append(std::exchange(argument, {}));
            inArgument = false;
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(argument);
    return arguments;
}

QStringList execOf(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines) {
        if (line.startsWith("Exec="))
            return execArguments(unescaped(QString::fromUtf8(line.mid(5))));
    }
    return {};
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

std::optional<QByteArray> CaptureAutostart::storedEntry() const
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool CaptureAutostart::namesUs(const QByteArray &entry) const
{
    const QString program = QFileInfo(m_program).fileName();
    const QStringList arguments = execOf(mainGroup(entry));
    return std::any_of(arguments.begin(), arguments.end(),
                       [&](const QString &argument) { return QFileInfo(argument).fileName() == program; });
}

bool CaptureAutostart::enabled() const
{
    const std::optional<QByteArray> stored = storedEntry();
    return stored && namesUs(*stored) && !switchedOff(mainGroup(*stored));
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
    if (const std::optional<QByteArray> stored = storedEntry(); stored && !namesUs(*stored)) {
        if (!enabled)
            return;
        throw CaptureFileSystemError(CaptureFileSystemFailure{
            Operation::write, filePath(), EEXIST,
            QCoreApplication::translate("CaptureAutostart", "it was changed by hand to start another program")});
    }
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
