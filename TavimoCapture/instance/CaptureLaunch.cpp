#include "CaptureLaunch.h"

#include "CaptureCommandLine.h"
#include "CaptureFileSystemFailure.h"
#include "CaptureImageImport.h"
#include "CaptureImportFailure.h"
#include "CaptureInstanceClient.h"
#include "CaptureInstanceFailure.h"
#include "CaptureInstanceSocket.h"
#include "CaptureOutputCapture.h"
#include "CaptureOutputFile.h"
#include "CaptureService.h"
#include "CaptureUsageFailure.h"
#include "SessionType.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QTextStream>
#include <QThread>

#include <cstdio>

namespace {

constexpr int handOverTimeout = 5000;

int print(const QString &text)
{
    QTextStream(stdout) << text;
    return int(CaptureExitStatus::success);
}

bool refusesExistingFile(const CaptureCommand &command)
{
    return command.output && *command.output != CaptureCommand::standardOutput && !command.overwrite &&
           QFileInfo(*command.output).exists();
}

// The running app would refuse the image too, but a script learns why only here.
std::optional<QString> refusedImage(const CaptureCommand &command)
{
    if (!command.request || command.request->action != CaptureRequest::Action::open)
        return std::nullopt;
    try {
        CaptureImageImport::check(command.request->path);
    } catch (const CaptureImportError &error) {
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(command.request->path), error.description());
    }
    return std::nullopt;
}

} // namespace

int report(const QString &message, CaptureExitStatus status)
{
    QTextStream(stderr) << QStringLiteral("tavimo-capture: ") << message << Qt::endl;
    return int(status);
}

std::optional<int> CaptureLaunch::finishWithoutApp()
{
    CaptureCommandLine commandLine;
    try {
        m_command = commandLine.parse(QCoreApplication::arguments(), QDir::currentPath());
    } catch (const CaptureUsageError &error) {
        return report(error.description(), CaptureExitStatus::usage);
    }
    if (m_command.kind == CaptureCommand::Kind::help)
        return print(commandLine.helpText());
    if (m_command.kind == CaptureCommand::Kind::version)
        return print(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
                     QLatin1Char('\n'));
    if (refusesExistingFile(m_command))
        return report(CaptureOutputFile::existsMessage(*m_command.output), CaptureExitStatus::failed);
    if (const std::optional<QString> refusal = refusedImage(m_command))
        return report(*refusal, CaptureExitStatus::failed);
    try {
        m_socketPath = CaptureInstanceSocket::path();
        if (const std::optional<CaptureOutcome> outcome = CaptureInstanceClient::send(m_socketPath, requestToSend()))
            return finish(*outcome);
    } catch (const CaptureInstanceError &error) {
        return report(error.description(), CaptureExitStatus::failed);
    }
    m_capturesHere = m_command.output.has_value();
    return std::nullopt;
}

bool CaptureLaunch::captureNeedsScreens()
{
    const bool reachesDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                                !qEnvironmentVariableIsEmpty("DISPLAY") ||
                                !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    return currentSessionType() == SessionType::wayland && reachesDisplay;
}

int CaptureLaunch::handOver()
{
    try {
        // The other start may still be setting up its socket.
        const QDeadlineTimer deadline(handOverTimeout);
        do {
            if (const std::optional<CaptureOutcome> outcome =
                    CaptureInstanceClient::send(m_socketPath, requestToSend()))
                return finish(*outcome);
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        throw CaptureInstanceError(
            CaptureInstanceFailure{CaptureInstanceFailure::Kind::noAnswer,
                                   {},
                                   QCoreApplication::translate("CaptureLaunch", "it stopped listening.")});
    } catch (const CaptureInstanceError &error) {
        return report(error.description(), CaptureExitStatus::failed);
    }
}

CaptureRequest CaptureLaunch::requestToSend() const
{
    return m_command.request.value_or(CaptureRequest::showingEditor());
}

int CaptureLaunch::finish(const CaptureOutcome &outcome) const
{
    switch (outcome.kind) {
    case CaptureOutcome::Kind::accepted:
        return int(CaptureExitStatus::success);
    case CaptureOutcome::Kind::cancelled:
        return report(QCoreApplication::translate("CaptureLaunch", "The capture was cancelled."),
                      CaptureExitStatus::cancelled);
    case CaptureOutcome::Kind::failed:
        return report(outcome.reason, CaptureExitStatus::failed);
    case CaptureOutcome::Kind::image:
        break;
    }
    if (!m_command.output)
        return report(
            QCoreApplication::translate("CaptureLaunch", "The running Tavimo Capture sent an image nobody asked for."),
            CaptureExitStatus::failed);
    try {
        CaptureOutputFile::write(*m_command.output, outcome.png, m_command.overwrite);
    } catch (const CaptureFileSystemError &error) {
        const bool taken = error.code().nameTaken();
        return report(taken ? CaptureOutputFile::existsMessage(*m_command.output) : error.description(),
                      CaptureExitStatus::failed);
    }
    return int(CaptureExitStatus::success);
}

int CaptureLaunch::captureHere() const
{
    CaptureService service;
    QObject context;
    QFutureWatcher<CaptureOutcome> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<CaptureOutcome>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(CaptureOutputCapture::run(service, m_command.request->mode,
                                                std::chrono::seconds(m_command.request->delaySeconds), &context));
    if (!watcher.isFinished())
        loop.exec();
    if (watcher.future().resultCount() == 0)
        return report(QCoreApplication::translate("CaptureLaunch", "The capture ended without a result."),
                      CaptureExitStatus::failed);
    return finish(watcher.result());
}
