#include "CaptureService.h"

#include "CaptureDecoding.h"
#include "CaptureFailure.h"
#include "CaptureLog.h"
#include "CapturePngEncoder.h"
#include "CaptureSelectionFocus.h"
#include "PixelLimit.h"
#include "PortalImageGrabber.h"
#include "PortalScreenshot.h"
#include "SelectionOverlay.h"
#include "SessionType.h"
#include "X11OverlayCapture.h"
#include "X11ScreenGrabber.h"
#include "X11SharedDesktop.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QPromise>
#include <QScreen>
#include <QThreadPool>
#include <QTimer>
#include <QUuid>

#include <fcntl.h>
#include <sys/file.h>
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

// Every service locks the folder it uses, so that another process's sweep
// leaves it alone. Nothing else ever takes that lock.
int lockDirectory(const QString &directory)
{
    const int descriptor = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0)
        ::flock(descriptor, LOCK_EX | LOCK_NB);
    return descriptor;
}

bool isInUse(const QFileInfo &entry)
{
    const int descriptor =
        ::open(QFile::encodeName(entry.filePath()).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool locked = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);
    return locked;
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

// Settles `promise` with what `work` returns or throws, off the GUI thread.
template <typename T, typename Work> void settleInBackground(std::shared_ptr<QPromise<T>> promise, Work work)
{
    QThreadPool::globalInstance()->start([promise, work = std::move(work)] {
        try {
            succeed(*promise, T(work()));
        } catch (...) {
            fail(*promise, std::current_exception());
        }
    });
}

// A cancelled request gives nothing, as Escape does; a refusal is the
// missing permission.
template <typename T> void settleWithoutPicture(QPromise<T> &promise, PortalScreenshot::Outcome outcome)
{
    if (outcome == PortalScreenshot::Outcome::cancelled)
        return succeed(promise, T());
    const bool refused = outcome == PortalScreenshot::Outcome::denied;
    fail(promise, std::make_exception_ptr(CaptureError(refused ? CaptureFailure::permission : CaptureFailure::failed)));
}

std::optional<QImage> decodeCapture(const QByteArray &encoded)
{
    QImage image = CaptureDecoding::decode(encoded);
    if (image.isNull())
        throw CaptureError(CaptureFailure::invalidImage);
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

std::optional<QImage> decoded(const std::optional<QByteArray> &png)
{
    if (!png)
        return std::nullopt;
    return decodeCapture(*png);
}

// Reads the header only.
std::optional<QByteArray> checked(const std::optional<QByteArray> &png)
{
    if (!png)
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(*png);
    QImageReader reader(&buffer, "png");
    if (!reader.canRead() || reader.size().isEmpty())
        throw CaptureError(CaptureFailure::invalidImage);
    return png;
}

// The desktop's picture as PNG bytes, for callers that write it out as it is.
std::optional<QByteArray> encoded(const std::optional<QImage> &image)
{
    if (!image)
        return std::nullopt;
    try {
        return CapturePngEncoder::encode(*image);
    } catch (const CapturePngEncodeFailure &) {
        throw CaptureError(CaptureFailure::failed);
    }
}

// Only a file the desktop left in our temporary folder is ours to remove;
// one it saved elsewhere (the user's pictures) stays.
bool isTemporaryPortalFile(const QFileInfo &file)
{
    const QString temporary = QDir(QDir::tempPath()).canonicalPath();
    const QString folder = file.canonicalPath();
    return file.isFile() && !file.isSymLink() && file.ownerId() == getuid() && !temporary.isEmpty() &&
           (folder == temporary || folder.startsWith(temporary + QLatin1Char('/')));
}

// The picture the desktop saved, read into memory.
QByteArray takePortalFile(const QString &path)
{
    QFile file(path);
    const QByteArray encoded = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.close();
    if (isTemporaryPortalFile(QFileInfo(path)))
        QFile::remove(path);
    if (encoded.isEmpty())
        throw CaptureError(CaptureFailure::failed);
    return encoded;
}

ScreenGrabber::Monitor primaryOf(const QList<ScreenGrabber::Monitor> &screens)
{
    const auto primary = std::ranges::find_if(screens, &ScreenGrabber::Monitor::primary);
    if (primary != screens.end())
        return *primary;
    if (screens.isEmpty())
        throw CaptureError(CaptureFailure::failed);
    return screens.first();
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
        const QSizeF logicalSize =
            monitor.logicalSize.isEmpty() ? QSizeF(monitor.geometry.size()) : monitor.logicalSize;
        displays.append({std::move(image), logicalSize, pixelSize});
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
    if (currentSessionType() == SessionType::wayland) {
        m_portalBus = QDBusConnection::sessionBus();
        m_portalTimeout = PortalRequest::defaultTimeout;
        m_screens = desktopScreens;
    }
}

CaptureService::CaptureService(const QDBusConnection &bus, std::chrono::milliseconds timeout, ScreenList screens,
                               QObject *parent)
    : QObject(parent), m_portalBus(bus), m_portalTimeout(timeout), m_screens(std::move(screens))
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
    forgetTemporaryDirectory();
}

void CaptureService::forgetTemporaryDirectory()
{
    m_temporaryDirectory.clear();
    if (m_directoryLock >= 0)
        ::close(m_directoryLock);
    m_directoryLock = -1;
}

bool CaptureService::busy() const
{
    return m_process != nullptr || m_portalCapture != nullptr || m_awaitingPicture || m_pictureSelection ||
           (m_overlayCapture && m_overlayCapture->busy());
}

X11OverlayCapture *CaptureService::overlayCapture()
{
    if (std::exchange(m_overlayTried, true) || m_portalBus || qEnvironmentVariableIsSet("TAVIMO_SCREENCAPTURE") ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        return m_overlayCapture.get();
    if (std::unique_ptr<X11SharedDesktop> desktop = X11SharedDesktop::connect())
        m_overlayCapture = std::make_unique<X11OverlayCapture>(std::move(desktop));
    return m_overlayCapture.get();
}

void CaptureService::keepWarm()
{
    if (X11OverlayCapture *overlay = overlayCapture())
        overlay->warm();
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

QList<ScreenGrabber::Monitor> CaptureService::desktopScreens()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QRect desktop;
    for (const QScreen *screen : screens)
        desktop |= screen->geometry();
    QList<ScreenGrabber::Monitor> monitors;
    for (qsizetype index = 0; index < screens.size(); ++index) {
        const QScreen *screen = screens[index];
        const qreal ratio = screen->devicePixelRatio();
        const QRect geometry = screen->geometry().translated(-desktop.topLeft());
        monitors.append({quint32(index), QRect(geometry.topLeft() * ratio, geometry.size() * ratio),
                         screen == QGuiApplication::primaryScreen(), QSizeF(geometry.size())});
    }
    return monitors;
}

void CaptureService::removeStaleDirectories()
{
    const QDir temporary(QDir::tempPath());
    const QFileInfoList entries = temporary.entryInfoList(
        {directoryPrefix + QLatin1Char('*')}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (isCaptureDirectoryName(entry.fileName()) && entry.ownerId() == getuid() && !isInUse(entry))
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
    if (busy())
        return QtFuture::makeReadyFuture(std::optional<QImage>());
    if (m_portalBus)
        return captureThroughPortal(mode);
    if (X11OverlayCapture *overlay = overlayCapture())
        return overlay->capture(mode);
    return runTool(mode).then(QtFuture::Launch::Async, decoded);
}

QFuture<std::optional<QByteArray>> CaptureService::capturePng(CaptureMode mode)
{
    if (busy())
        return QtFuture::makeReadyFuture(std::optional<QByteArray>());
    if (m_portalBus)
        return captureThroughPortal(mode).then(QtFuture::Launch::Async, encoded);
    return runTool(mode).then(checked);
}

QFuture<std::optional<QByteArray>> CaptureService::runTool(CaptureMode mode)
{
    QString directory;
    try {
        directory = makeTemporaryDirectory();
    } catch (const std::system_error &) {
        return failedFuture<std::optional<QByteArray>>(std::current_exception());
    }
    m_temporaryDirectory = directory;
    m_directoryLock = lockDirectory(directory);
    auto promise = std::make_shared<QPromise<std::optional<QByteArray>>>();
    QFuture<std::optional<QByteArray>> future = promise->future();
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
        return succeed(*promise, std::optional<QByteArray>());
    if (!png || status != 0)
        return fail(*promise, std::make_exception_ptr(CaptureError(CaptureFailure::failed)));
    succeed(*promise, png);
}

PortalScreenshot *CaptureService::askPortal(bool interactive, PortalHandler onFinished)
{
    auto *portal = new PortalScreenshot(*m_portalBus, m_portalTimeout, this);
    connect(portal, &PortalScreenshot::finished, portal, &QObject::deleteLater);
    connect(portal, &PortalScreenshot::finished, this, std::move(onFinished));
    portal->take(interactive);
    return portal;
}

QFuture<std::optional<QImage>> CaptureService::captureThroughPortal(CaptureMode mode)
{
    if (isInteractive(mode) && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return selectOnDesktopPicture();
    auto promise = std::make_shared<QPromise<std::optional<QImage>>>();
    QFuture<std::optional<QImage>> future = promise->future();
    promise->start();
    m_portalCapture = askPortal(isInteractive(mode), [=, this](PortalScreenshot::Outcome outcome, const QString &file) {
        m_portalCapture = nullptr;
        if (outcome != PortalScreenshot::Outcome::saved)
            return settleWithoutPicture(*promise, outcome);
        if (isInteractive(mode))
            return settleInBackground(promise, [file] { return decodeCapture(takePortalFile(file)); });
        settleInBackground(promise, [file, screens = m_screens()] {
            const PortalImageGrabber desktop(takePortalFile(file), screens);
            const QImage image = desktop.grab(primaryOf(desktop.monitors()).geometry);
            if (image.isNull())
                throw CaptureError(CaptureFailure::failed);
            return std::optional<QImage>(image);
        });
    });
    return future;
}

// The desktop's own selection cannot be drawn like ours; a picture of the
// whole desktop can, and our overlay then works as on X11 but for picking windows.
QFuture<std::optional<QImage>> CaptureService::selectOnDesktopPicture()
{
    auto promise = std::make_shared<QPromise<std::optional<QImage>>>();
    QFuture<std::optional<QImage>> future = promise->future();
    promise->start();
    m_portalCapture = askPortal(false, [=, this](PortalScreenshot::Outcome outcome, const QString &file) {
        m_portalCapture = nullptr;
        if (outcome != PortalScreenshot::Outcome::saved)
            return settleWithoutPicture(*promise, outcome);
        m_awaitingPicture = true;
        auto decoding = std::make_shared<QPromise<std::optional<QImage>>>();
        decoding->start();
        decoding->future().then(this, [=, this](QFuture<std::optional<QImage>> done) {
            m_awaitingPicture = false;
            try {
                showPictureSelection(*done.result(), promise);
            } catch (...) {
                fail(*promise, std::current_exception());
            }
        });
        settleInBackground(decoding, [file] { return decodeCapture(takePortalFile(file)); });
    });
    return future;
}

void CaptureService::showPictureSelection(const QImage &desktop, const ImagePromise &promise)
{
    OverlayScreens screens;
    for (const ScreenGrabber::Monitor &screen : m_screens()) {
        const qreal ratio = screen.logicalSize.isEmpty() ? 1.0 : screen.geometry.width() / screen.logicalSize.width();
        screens.append({screen.geometry, ratio});
    }
    m_pictureSelection = std::make_unique<SelectionOverlay>(screens);
    m_pictureSelection->prepare(desktop, {},
                                tr("Drag to choose an area. This desktop does not let apps pick a window."));
    connect(m_pictureSelection.get(), &SelectionOverlay::selected, this,
            [=, this](const QRect &area) { endPictureSelection(promise, desktop.copy(area)); });
    connect(m_pictureSelection.get(), &SelectionOverlay::cancelled, this,
            [=, this] { endPictureSelection(promise, std::nullopt); });
    m_pictureSelection->show();
}

void CaptureService::endPictureSelection(const ImagePromise &promise, std::optional<QImage> selection)
{
    m_pictureSelection->disconnect(this);
    m_pictureSelection->hide();
    m_pictureSelection.release()->deleteLater();
    succeed(*promise, std::move(selection));
}

QFuture<QList<CaptureDisplayImage>> CaptureService::captureAllThroughPortal()
{
    auto promise = std::make_shared<QPromise<QList<CaptureDisplayImage>>>();
    QFuture<QList<CaptureDisplayImage>> future = promise->future();
    promise->start();
    askPortal(false, [=, this](PortalScreenshot::Outcome outcome, const QString &file) {
        if (outcome != PortalScreenshot::Outcome::saved)
            return settleWithoutPicture(*promise, outcome);
        settleInBackground(promise, [=, screens = m_screens()] {
            const GrabberFactory grabber = [&] {
                return std::make_unique<PortalImageGrabber>(takePortalFile(file), screens);
            };
            return grabDisplays(grabber, *promise);
        });
    });
    return future;
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
        forgetTemporaryDirectory();
}

void CaptureService::cancel()
{
    for (PortalScreenshot *portal : findChildren<PortalScreenshot *>(Qt::FindDirectChildrenOnly))
        portal->cancel();
    if (m_pictureSelection)
        m_pictureSelection->cancel();
    if (m_process)
        m_process->terminate();
    if (!m_temporaryDirectory.isEmpty())
        QDir(m_temporaryDirectory).removeRecursively();
    forgetTemporaryDirectory();
}

QFuture<QList<CaptureDisplayImage>> CaptureService::captureAllDisplays()
{
    if (m_portalBus)
        return captureAllThroughPortal();
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
    if (m_portalBus)
        return QtFuture::makeReadyFuture();
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
CaptureService::waitForModifierRelease(std::function<Qt::KeyboardModifiers()> heldModifiers,
                                       std::optional<CaptureMode> upcoming)
{
    if (m_portalBus)
        return QtFuture::makeReadyFuture(ModifierRelease::released);
    auto promise = std::make_shared<QPromise<ModifierRelease>>();
    QFuture<ModifierRelease> future = promise->future();
    promise->start();
    const QDeadlineTimer deadline(modifierTimeout);
    auto released = [=, this] {
        if (heldModifiers() & captureModifiers)
            return false;
        if (X11OverlayCapture *overlay = upcoming && !busy() ? overlayCapture() : nullptr)
            overlay->prepare(*upcoming);
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
