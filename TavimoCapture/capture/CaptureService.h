#pragma once

#include "CaptureDisplayImage.h"
#include "CaptureMode.h"
#include "PortalScreenshot.h"
#include "ScreenGrabber.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QFuture>
#include <QImage>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QProcess;
class SelectionOverlay;
class X11OverlayCapture;
template <typename T> class QPromise;

// Turns a capture mode into pixels. On X11, area, text-area and main-display
// captures show the selection overlay in this process (or, when
// $TAVIMO_SCREENCAPTURE names one, run that tool in a private temporary
// folder) and all displays are grabbed here, one image per display. On Wayland the
// desktop's Screenshot portal takes every picture: area and text with the
// desktop's own selection, the main display and all displays cut out of a
// picture of the whole desktop. Where a GUI application runs, area and text
// captures there show the selection overlay over a picture of the whole
// desktop instead, as the images of capture() or the PNG of capturePng().
//
// Every operation returns at once with a future; attach continuations with a
// GUI-thread context (`future.then(this, ...)`) to handle the outcome there.
// Failures are CaptureError, CaptureSelectionFocus::Error, or for a folder
// or tool that cannot be made or started, a std::exception whose what() is
// the sentence to show. Cancelling a wait's future ends the wait.
class CaptureService : public QObject {
    Q_OBJECT

public:
    enum class ModifierRelease {
        released,
        modifiersHeld,
    };

    using GrabberFactory = std::function<std::unique_ptr<ScreenGrabber>()>;
    using ScreenList = std::function<QList<ScreenGrabber::Monitor>()>;

    // All remove the capture folders an earlier run left behind. This one
    // captures the way the session calls for.
    explicit CaptureService(QObject *parent = nullptr);
    // `grabbers` opens a grabber on the worker thread that captures all displays.
    explicit CaptureService(GrabberFactory grabbers, QObject *parent = nullptr);
    // Through the Screenshot portal on `bus`; a request unanswered after
    // `timeout` fails. `screens` tells where the displays lie in a picture
    // of the whole desktop; with none the picture is one display.
    CaptureService(const QDBusConnection &bus, std::chrono::milliseconds timeout, ScreenList screens,
                   QObject *parent = nullptr);
    ~CaptureService() override;

    // On X11: reads the screen into memory kept for every capture and makes
    // the overlay's windows now, so that a capture starts at once.
    void keepWarm();

    // For area, ocr and screen. Nothing when the user cancelled the selection
    // or another capture is still running.
    QFuture<std::optional<QImage>> capture(CaptureMode mode);
    // As capture(), but the tool's PNG as written, checked and not decoded:
    // for callers that pass the file on.
    QFuture<std::optional<QByteArray>> capturePng(CaptureMode mode);
    // One image per display in display-identifier order; refuses more than
    // 80,000,000 pixels in all before anything is grabbed.
    QFuture<QList<CaptureDisplayImage>> captureAllDisplays();
    // Ends a running tool and removes its folder; its capture then finishes
    // as the tool's exit decides.
    void cancel();

    // Before an interactive capture: up to 50 checks 40 ms apart. Through the
    // portal, which asks for nothing of ours, both waits end at once.
    QFuture<void> waitForKeyboardFocus(std::function<bool()> applicationActive = isApplicationActive);
    // Before any capture: until Shift, Ctrl, Alt and Meta are all up, at most 5 s.
    // Once they are, the screen is read for the `upcoming` capture during
    // the short pause that follows.
    QFuture<ModifierRelease> waitForModifierRelease(std::function<Qt::KeyboardModifiers()> heldModifiers = modifiers,
                                                    std::optional<CaptureMode> upcoming = std::nullopt);

    bool busy() const;
    // The overlay over the desktop's picture while the user chooses, or null.
    SelectionOverlay *pictureSelection() const { return m_pictureSelection.get(); }
    // $TAVIMO_SCREENCAPTURE, else tavimo-screencapture beside this program.
    static QString toolPath();
    static bool isApplicationActive();
    static Qt::KeyboardModifiers modifiers();
    // The app's screens in pixels of a desktop picture: geometry from the
    // desktop's top-left corner times the screen's device pixel ratio,
    // identified by their place in the app's screen list.
    static QList<ScreenGrabber::Monitor> desktopScreens();

private:
    using CapturePromise = std::shared_ptr<QPromise<std::optional<QByteArray>>>;

    QFuture<std::optional<QByteArray>> runTool(CaptureMode mode);
    // The in-process overlay, made on first use; null where it cannot run.
    X11OverlayCapture *overlayCapture();

    void removeStaleDirectories();
    QString makeTemporaryDirectory();
    void finishCapture(CaptureMode mode, const QString &directory, int status, const CapturePromise &promise);
    void failToLaunch(const QString &directory, const QString &reason, const CapturePromise &promise);
    void endProcess(const QString &directory);
    void forgetTemporaryDirectory();
    void repeatEvery(std::chrono::milliseconds interval, std::function<bool()> step);
    using PortalHandler = std::function<void(PortalScreenshot::Outcome, const QString &)>;
    PortalScreenshot *askPortal(bool interactive, PortalHandler onFinished);
    QFuture<std::optional<QImage>> captureThroughPortal(CaptureMode mode);
    using ImagePromise = std::shared_ptr<QPromise<std::optional<QImage>>>;
    QFuture<std::optional<QImage>> selectOnDesktopPicture();
    void showPictureSelection(const QImage &desktop, const ImagePromise &promise);
    void endPictureSelection(const ImagePromise &promise, std::optional<QImage> selection);
    QFuture<QList<CaptureDisplayImage>> captureAllThroughPortal();

    GrabberFactory m_grabbers;
    QProcess *m_process = nullptr;
    QString m_temporaryDirectory;
    std::optional<QDBusConnection> m_portalBus;
    std::chrono::milliseconds m_portalTimeout{0};
    ScreenList m_screens;
    PortalScreenshot *m_portalCapture = nullptr;
    int m_directoryLock = -1;
    std::unique_ptr<X11OverlayCapture> m_overlayCapture;
    bool m_overlayTried = false;
    std::unique_ptr<SelectionOverlay> m_pictureSelection;
    bool m_awaitingPicture = false;
};
