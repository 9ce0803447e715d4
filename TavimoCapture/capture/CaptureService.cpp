#include "CaptureService.h"

#include "CaptureFailure.h"
#include "CaptureLog.h"
#include "CaptureSelectionFocus.h"
#include "PixelLimit.h"
#include "X11ScreenGrabber.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>
#include <QUuid>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>

using namespace std::chrono_literals;

namespace {

const QString directoryPrefix = QStringLiteral("tavimo-capture-");
const QString outputName = QStringLiteral("capture.png");
constexpr int focusPolls = 50;
constexpr auto focusPollInterval = 40ms;
constexpr auto modifierPollInterval = 40ms;
constexpr auto modifierTimeout = 5s;
constexpr auto releasePause = 200ms;
constexpr Qt::KeyboardModifiers captureModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

QStringList toolArguments(CaptureMode mode)
{
    switch (mode) {
    case CaptureMode::area:
        return {QStringLiteral("-i"), QStringLiteral("-o")};
    case CaptureMode::ocr:
        return {QStringLiteral("-i"), QStringLiteral("-s")};
    case CaptureMode::screen:
        return {QStringLiteral("-m")};
    case CaptureMode::allDisplays:
        return {};
    }
    return {};
}

bool isCaptureDirectoryName(const QString &name)
{
    const QString rest = name.mid(directoryPrefix.size());
    return name.startsWith(directoryPrefix) && rest.size() == 36 && !QUuid::fromString(rest).isNull();
}

// A link is removed itself: nothing it points to is touched.
void removeEntry(const QFileInfo &entry)
{
    if (entry.isDir() && !entry.isSymLink())
        QDir(entry.filePath()).removeRecursively();
    else
        QFile::remove(entry.filePath());
}

// Nothing when the tool wrote no file.
std::optional<QByteArray> readOutput(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

template <typename T> void fail(QPromise<T> &promise, std::exception_ptr error)
{
    promise.setException(error);
    promise.finish();
}

template <typename T> void succeed(QPromise<T> &promise, T value)
{
    promise.addResult(std::move(value));
    promise.finish();
}

template <typename T> QFuture<T> failedFuture(std::exception_ptr error)
{
    QPromise<T> promise;
    QFuture<T> future = promise.future();
    promise.start();
    fail(promise, error);
    return future;
}

void decodeInBackground(const QByteArray &png, std::shared_ptr<QPromise<std::optional<QImage>>> promise)
{
    QThreadPool::globalInstance()->start([png, promise] {
        QImage image = QImage::fromData(png, "PNG");
        if (image.isNull())
            return fail(*promise, std::make_exception_ptr(CaptureError(CaptureFailure::invalidImage)));
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        succeed(*promise, std::optional<QImage>(std::move(image)));
    });
}

void checkPixelLimit(const QList<ScreenGrabber::Monitor> &monitors)
{
    qint64 pixels = 0;
    for (const ScreenGrabber::Monitor &monitor : monitors)
        pixels += qint64(monitor.geometry.width()) * monitor.geometry.height();
    if (!withinPixelLimit(pixels))
        throw CaptureError(CaptureFailure::displaysTooLarge);
}

QList<CaptureDisplayImage> grabDisplays(const CaptureService::GrabberFactory &grabbers,
                                        const QPromise<QList<CaptureDisplayImage>> &promise)
{
    const std::unique_ptr<ScreenGrabber> grabber = grabbers();
    if (!grabber)
        throw CaptureError(CaptureFailure::failed);
    QList<ScreenGrabber::Monitor> monitors = grabber->monitors();
    std::stable_sort(monitors.begin(), monitors.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
    if (monitors.isEmpty())
        throw CaptureError(CaptureFailure::failed);
    checkPixelLimit(monitors);
    QList<CaptureDisplayImage> displays;
    for (const ScreenGrabber::Monitor &monitor : monitors) {
        if (promise.isCanceled())
            return {};
        QImage image = grabber->grab(monitor.geometry);
        if (image.isNull())
            throw CaptureError(CaptureFailure::failed);
        const QSizeF pixelSize = image.size();
        displays.append({std::move(image), QSizeF(monitor.geometry.size()), pixelSize});
    }
    return displays;
}

} // namespace

CaptureService::CaptureService(QObject *parent)
    : CaptureService([] { return std::unique_ptr<ScreenGrabber>(X11ScreenGrabber::connect()); }, parent)
{
}

CaptureService::CaptureService(GrabberFactory grabbers, QObject *parent)
    : QObject(parent), m_grabbers(std::move(grabbers))
{
    removeStaleDirectories();
}

CaptureService::~CaptureService()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished();
    }
    if (!m_temporaryDirectory.isEmpty())
        QDir(m_temporaryDirectory).removeRecursively();
}

QString CaptureService::toolPath()
{
    const QString path = qEnvironmentVariable("TAVIMO_SCREENCAPTURE");
    if (!path.isEmpty())
        return path;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tavimo-screencapture");
}

bool CaptureService::isApplicationActive()
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

Qt::KeyboardModifiers CaptureService::modifiers()
{
    return QGuiApplication::queryKeyboardModifiers();
}

void CaptureService::removeStaleDirectories()
{
    const QDir temporary(QDir::tempPath());
    const QFileInfoList entries = temporary.entryInfoList(
        {directoryPrefix + QLatin1Char('*')}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (isCaptureDirectoryName(entry.fileName()) && entry.ownerId() == getuid())
            removeEntry(entry);
    }
}

QString CaptureService::makeTemporaryDirectory()
{
    const QString temporary = QDir::tempPath();
    QDir().mkpath(temporary);
    const QString directory =
        temporary + QLatin1Char('/') + directoryPrefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    if (::mkdir(QFile::encodeName(directory).constData(), 0700) != 0)
        throw std::system_error(errno, std::generic_category(),
                                QStringLiteral("Could not create the folder %1").arg(directory).toStdString());
    return directory;
}

QFuture<std::optional<QImage>> CaptureService::capture(CaptureMode mode)
{
    if (m_process)
        return QtFuture::makeReadyFuture(std::optional<QImage>());
    QString directory;
    try {
        directory = makeTemporaryDirectory();
    } catch (const std::system_error &) {
        return failedFuture<std::optional<QImage>>(std::current_exception());
    }
    m_temporaryDirectory = directory;
    auto promise = std::make_shared<QPromise<std::optional<QImage>>>();
    QFuture<std::optional<QImage>> future = promise->future();
    promise->start();

    m_process = new QProcess(this);
    m_process->setProgram(toolPath());
    m_process->setArguments(QStringList{QStringLiteral("-x"), QStringLiteral("-t"), QStringLiteral("png")} +
                            toolArguments(mode) + QStringList{directory + QLatin1Char('/') + outputName});
    m_process->setStandardOutputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, [=, this](int exitCode, QProcess::ExitStatus exitStatus) {
        if (exitStatus != QProcess::NormalExit || exitCode != 0)
            qCWarning(captureLog).nospace() << "The screenshot tool " << m_process->program() << " ended with "
                                            << exitCode << ": " << m_process->readAllStandardError();
        finishCapture(mode, directory, exitStatus == QProcess::NormalExit ? exitCode : -1, promise);
    });
    connect(m_process, &QProcess::errorOccurred, this, [=, this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            failToLaunch(directory, m_process->errorString(), promise);
    });
    m_process->start();
    return future;
}

void CaptureService::finishCapture(CaptureMode mode, const QString &directory, int status,
                                   const CapturePromise &promise)
{
    const std::optional<QByteArray> png = readOutput(directory + QLatin1Char('/') + outputName);
    endProcess(directory);
    if (!png && isInteractive(mode))
        return succeed(*promise, std::optional<QImage>());
    if (!png || status != 0)
        return fail(*promise, std::make_exception_ptr(CaptureError(CaptureFailure::failed)));
    decodeInBackground(*png, promise);
}

void CaptureService::failToLaunch(const QString &directory, const QString &reason, const CapturePromise &promise)
{
    qCWarning(captureLog) << "Cannot start the screenshot tool" << m_process->program() << ':' << reason;
    endProcess(directory);
    const QString message =
        QCoreApplication::translate("CaptureService", "The screenshot tool could not be started: %1").arg(reason);
    fail(*promise, std::make_exception_ptr(std::runtime_error(message.toStdString())));
}

void CaptureService::endProcess(const QString &directory)
{
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    QDir(directory).removeRecursively();
    if (m_temporaryDirectory == directory)
        m_temporaryDirectory.clear();
}

void CaptureService::cancel()
{
    if (m_process)
        m_process->terminate();
    if (!m_temporaryDirectory.isEmpty())
        QDir(m_temporaryDirectory).removeRecursively();
    m_temporaryDirectory.clear();
}

QFuture<QList<CaptureDisplayImage>> CaptureService::captureAllDisplays()
{
    auto promise = std::make_shared<QPromise<QList<CaptureDisplayImage>>>();
    QFuture<QList<CaptureDisplayImage>> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, grabbers = m_grabbers] {
        try {
            QList<CaptureDisplayImage> displays = grabDisplays(grabbers, *promise);
            if (promise->isCanceled())
                return promise->finish();
            succeed(*promise, std::move(displays));
        } catch (...) {
            fail(*promise, std::current_exception());
        }
    });
    return future;
}

QFuture<void> CaptureService::waitForKeyboardFocus(std::function<bool()> applicationActive)
{
    auto promise = std::make_shared<QPromise<void>>();
    QFuture<void> future = promise->future();
    promise->start();
    auto polls = std::make_shared<int>(0);
    auto check = [=] {
        if (promise->isCanceled() || applicationActive()) {
            promise->finish();
            return true;
        }
        if ((*polls)++ < focusPolls)
            return false;
        fail(*promise,
             std::make_exception_ptr(CaptureSelectionFocus::Error(CaptureSelectionFocus::Failure::activationTimedOut)));
        return true;
    };
    if (!check())
        repeatEvery(focusPollInterval, check);
    return future;
}

QFuture<CaptureService::ModifierRelease>
CaptureService::waitForModifierRelease(std::function<Qt::KeyboardModifiers()> heldModifiers)
{
    auto promise = std::make_shared<QPromise<ModifierRelease>>();
    QFuture<ModifierRelease> future = promise->future();
    promise->start();
    const QDeadlineTimer deadline(modifierTimeout);
    auto released = [=, this] {
        if (heldModifiers() & captureModifiers)
            return false;
        // Give the desktop a moment to settle after the keys come up.
        QTimer::singleShot(releasePause, this, [promise] {
            if (promise->isCanceled())
                return promise->finish();
            succeed(*promise, ModifierRelease::released);
        });
        return true;
    };
    if (!released())
        repeatEvery(modifierPollInterval, [=] {
            if (promise->isCanceled() || deadline.hasExpired()) {
                succeed(*promise, ModifierRelease::modifiersHeld);
                return true;
            }
            return released();
        });
    return future;
}

void CaptureService::repeatEvery(std::chrono::milliseconds interval, std::function<bool()> step)
{
    auto *timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(interval);
    connect(timer, &QTimer::timeout, this, [timer, step = std::move(step)] {
        if (!step())
            return;
        timer->stop();
        timer->deleteLater();
    });
    timer->start();
}
