#include "CaptureCommandLine.h"

#include "CaptureUsageFailure.h"

#include <QDir>

namespace {

using Kind = CaptureUsageFailure::Kind;

[[noreturn]] void reject(Kind kind, const QString &detail = QString())
{
    throw CaptureUsageError(CaptureUsageFailure{kind, detail});
}

QString absoluteFile(const QString &path, const QString &workingDirectory, const QString &option)
{
    if (path.isEmpty())
        reject(Kind::emptyFileName, option);
    return QDir::cleanPath(QDir(workingDirectory).absoluteFilePath(path));
}

} // namespace

CaptureCommandLine::CaptureCommandLine() : m_help(m_parser.addHelpOption()), m_version(m_parser.addVersionOption())
{
    m_parser.setApplicationDescription(tr("Capture, annotate and share. Local by design."));
    m_parser.addOptions({m_area, m_text, m_screen, m_allDisplays, m_editor, m_open, m_delay, m_output, m_overwrite});
}

QString CaptureCommandLine::helpText() const
{
    return m_parser.helpText();
}

CaptureCommand CaptureCommandLine::parse(const QStringList &arguments, const QString &workingDirectory)
{
    if (!m_parser.parse(arguments))
        reject(Kind::rejected, m_parser.errorText());
    CaptureCommand command;
    if (m_parser.isSet(m_help)) {
        command.kind = CaptureCommand::Kind::help;
        return command;
    }
    if (m_parser.isSet(m_version)) {
        command.kind = CaptureCommand::Kind::version;
        return command;
    }
    if (!m_parser.positionalArguments().isEmpty())
        reject(Kind::unexpectedArgument, m_parser.positionalArguments().constFirst());
    checkCombination();
    if (m_parser.isSet(m_open)) {
        command.request =
            CaptureRequest::opening(absoluteFile(m_parser.value(m_open), workingDirectory, QStringLiteral("--open")));
    } else if (m_parser.isSet(m_editor)) {
        command.request = CaptureRequest::showingEditor();
    } else if (m_parser.isSet(m_area) || m_parser.isSet(m_text) || m_parser.isSet(m_screen) ||
               m_parser.isSet(m_allDisplays)) {
        command.request = request();
    }
    command.output = output(workingDirectory);
    command.overwrite = m_parser.isSet(m_overwrite);
    if (command.output)
        command.request->returnsImage = true;
    return command;
}

void CaptureCommandLine::checkCombination() const
{
    const int actions = int(m_parser.isSet(m_area)) + int(m_parser.isSet(m_text)) + int(m_parser.isSet(m_screen)) +
                        int(m_parser.isSet(m_allDisplays)) + int(m_parser.isSet(m_editor)) +
                        int(m_parser.isSet(m_open));
    if (actions > 1 || m_parser.values(m_open).size() > 1)
        reject(Kind::severalActions);
    const bool imageCapture = m_parser.isSet(m_area) || m_parser.isSet(m_screen) || m_parser.isSet(m_allDisplays);
    if (m_parser.isSet(m_output) && !imageCapture)
        reject(Kind::outputNeedsImageCapture);
    if (m_parser.isSet(m_overwrite) && !m_parser.isSet(m_output))
        reject(Kind::overwriteNeedsOutput);
    if (m_parser.isSet(m_delay) && !(imageCapture || m_parser.isSet(m_text)))
        reject(Kind::delayNeedsCapture);
}

CaptureRequest CaptureCommandLine::request() const
{
    CaptureMode mode = CaptureMode::area;
    if (m_parser.isSet(m_text))
        mode = CaptureMode::ocr;
    else if (m_parser.isSet(m_screen))
        mode = CaptureMode::screen;
    else if (m_parser.isSet(m_allDisplays))
        mode = CaptureMode::allDisplays;
    return CaptureRequest::capture(mode, delaySeconds());
}

int CaptureCommandLine::delaySeconds() const
{
    if (!m_parser.isSet(m_delay))
        return 0;
    const QString text = m_parser.value(m_delay);
    bool isNumber = false;
    const int seconds = text.toInt(&isNumber);
    if (!isNumber || seconds < 0 || seconds > CaptureRequest::maximumDelaySeconds)
        reject(Kind::invalidDelay, text);
    return seconds;
}

std::optional<QString> CaptureCommandLine::output(const QString &workingDirectory) const
{
    if (!m_parser.isSet(m_output))
        return std::nullopt;
    const QString path = m_parser.value(m_output);
    if (path == CaptureCommand::standardOutput)
        return path;
    return absoluteFile(path, workingDirectory, QStringLiteral("--output"));
}
