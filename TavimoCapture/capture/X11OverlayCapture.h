#pragma once

#include "CaptureMode.h"
#include "OverlayScreen.h"
#include "ScreenGrabber.h"

#include <QFuture>
#include <QImage>
#include <QObject>
#include <QThreadPool>

#include <memory>
#include <optional>

class SelectionOverlay;
class X11SharedDesktop;
template <typename T> class QPromise;

// Area, text-area and main-display captures on X11, inside the app: the
// screen is read into one shared segment kept from start to end, and the
// selection overlay's windows wait hidden. A capture copies only the chosen
// region out of the segment. GUI thread only.
class X11OverlayCapture : public QObject {
    Q_OBJECT

public:
    explicit X11OverlayCapture(std::unique_ptr<X11SharedDesktop> desktop, QObject *parent = nullptr);
    ~X11OverlayCapture() override;

    // Attaches the segment and makes the overlay's windows, hidden; again
    // whenever the screens change.
    void warm();
    // Starts reading the screen (and, for an area, the windows to pick) for
    // the coming capture of `mode`, off the GUI thread.
    void prepare(CaptureMode mode);
    // Area and ocr: the user's selection; screen: the main monitor. Nothing
    // when the user cancels. Fails with CaptureError.
    QFuture<std::optional<QImage>> capture(CaptureMode mode);
    bool busy() const { return m_busy; }
    const SelectionOverlay *overlay() const { return m_overlay.get(); }

    // The screens as the overlay shows them: monitor pixels and the app's
    // scale there.
    static OverlayScreens overlayScreens(const QList<ScreenGrabber::Monitor> &monitors);
    // `area` of `desktop` in a bitmap of its own, opaque and premultiplied.
    static QImage opaqueCopy(const QImage &desktop, const QRect &area);

signals:
    // The overlay's windows are on the screen (for tests and benchmarks).
    void overlayShown();

private:
    struct Frozen {
        QImage desktop;
        QList<QRect> windows;
        QList<ScreenGrabber::Monitor> monitors;
    };

    Frozen freeze(CaptureMode mode);
    // The picture read off the GUI thread, then the overlay's first frame painted on it.
    QFuture<Frozen> preparedFor(CaptureMode mode);
    using Promise = std::shared_ptr<QPromise<std::optional<QImage>>>;

    void select(const Frozen &frozen, const Promise &promise);
    void finish(const Promise &promise, const QImage &desktop, const QRect &area);
    void ensureOverlay(const OverlayScreens &screens);
    void watchScreens();

    std::unique_ptr<X11SharedDesktop> m_desktop;
    // One thread: grabs never overlap, so the segment has one writer.
    QThreadPool m_worker;
    std::unique_ptr<SelectionOverlay> m_overlay;
    std::optional<CaptureMode> m_preparedMode;
    QFuture<Frozen> m_prepared;
    bool m_busy = false;
    bool m_watching = false;
};
