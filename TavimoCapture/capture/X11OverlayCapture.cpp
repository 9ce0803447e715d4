#include "X11OverlayCapture.h"

#include "CaptureFailure.h"
#include "LargeImage.h"
#include "SelectionOverlay.h"
#include "X11Monitors.h"
#include "X11SharedDesktop.h"

#include <QGuiApplication>
#include <QPromise>
#include <QScreen>
#include <QtConcurrent>

namespace {

template <typename T> void fail(QPromise<T> &promise, CaptureFailure failure)
{
    promise.setException(std::make_exception_ptr(CaptureError(failure)));
    promise.finish();
}

template <typename T> void succeed(QPromise<T> &promise, T value)
{
    promise.addResult(std::move(value));
    promise.finish();
}

qreal scaleOf(const QRect &monitor)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        const qreal ratio = screen->devicePixelRatio();
        if ((QSizeF(screen->geometry().size()) * ratio).toSize() == monitor.size())
            return ratio;
    }
    return 1.0;
}

} // namespace

X11OverlayCapture::X11OverlayCapture(std::unique_ptr<X11SharedDesktop> desktop, QObject *parent)
    : QObject(parent), m_desktop(std::move(desktop))
{
    m_worker.setMaxThreadCount(1);
    m_worker.setExpiryTimeout(-1);
}

X11OverlayCapture::~X11OverlayCapture()
{
    m_worker.waitForDone();
}

OverlayScreens X11OverlayCapture::overlayScreens(const QList<ScreenGrabber::Monitor> &monitors)
{
    OverlayScreens screens;
    for (const ScreenGrabber::Monitor &monitor : monitors)
        screens.append({monitor.geometry, scaleOf(monitor.geometry)});
    return screens;
}

QImage X11OverlayCapture::opaqueCopy(const QImage &desktop, const QRect &area)
{
    const QRect inside = area & desktop.rect();
    if (desktop.format() != QImage::Format_RGB32)
        return desktop.copy(inside).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // One pass: X leaves the padding byte of each pixel undefined, so it is
    // set while copying; opaque pixels are premultiplied as they stand.
    QImage copy = LargeImage::allocate(inside.size(), QImage::Format_ARGB32_Premultiplied);
    if (copy.isNull())
        return copy;
    for (int y = 0; y < inside.height(); ++y) {
        const auto *from = reinterpret_cast<const quint32 *>(desktop.constScanLine(inside.y() + y)) + inside.x();
        auto *to = reinterpret_cast<quint32 *>(copy.scanLine(y));
        for (int x = 0; x < inside.width(); ++x)
            to[x] = from[x] | 0xff000000u;
    }
    return copy;
}

void X11OverlayCapture::warm()
{
    watchScreens();
    // A capture under way keeps its windows; the next one checks the screens again.
    if (m_busy || m_preparedMode)
        return;
    const QList<ScreenGrabber::Monitor> monitors = m_desktop->monitors();
    ensureOverlay(overlayScreens(monitors));
    m_worker.start([desktop = m_desktop.get()] { desktop->prepare(); });
}

void X11OverlayCapture::watchScreens()
{
    if (std::exchange(m_watching, true))
        return;
    const auto rewarm = [this] {
        QMetaObject::invokeMethod(this, &X11OverlayCapture::warm, Qt::QueuedConnection);
    };
    const auto watch = [=, this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, rewarm);
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, rewarm);
    };
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [=](QScreen *screen) {
        watch(screen);
        rewarm();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, rewarm);
}

void X11OverlayCapture::ensureOverlay(const OverlayScreens &screens)
{
    if (m_overlay && m_overlay->screens() == screens)
        return;
    m_overlay = std::make_unique<SelectionOverlay>(screens);
    // One frame now, so that the windows' stores hold their memory before the first capture.
    m_overlay->prepare(QImage(), {});
    m_overlay->hide();
}

X11OverlayCapture::Frozen X11OverlayCapture::freeze(CaptureMode mode)
{
    Frozen frozen;
    frozen.monitors = m_desktop->monitors();
    if (mode == CaptureMode::screen) {
        frozen.desktop = opaqueCopy(m_desktop->grab(X11Monitors::main(frozen.monitors).geometry),
                                    QRect(QPoint(), X11Monitors::main(frozen.monitors).geometry.size()));
        return frozen;
    }
    m_desktop->prepare();
    frozen.desktop = m_desktop->grab(m_desktop->desktopGeometry());
    if (mode == CaptureMode::area)
        frozen.windows = m_desktop->windows();
    return frozen;
}

QFuture<X11OverlayCapture::Frozen> X11OverlayCapture::preparedFor(CaptureMode mode)
{
    return QtConcurrent::run(&m_worker, [this, mode] { return freeze(mode); }).then(this, [this, mode](Frozen frozen) {
        if (isInteractive(mode) && !frozen.desktop.isNull()) {
            ensureOverlay(overlayScreens(frozen.monitors));
            m_overlay->prepare(frozen.desktop, frozen.windows);
        }
        return frozen;
    });
}

void X11OverlayCapture::prepare(CaptureMode mode)
{
    if (m_busy || mode == CaptureMode::allDisplays)
        return;
    m_preparedMode = mode;
    m_prepared = preparedFor(mode);
}

QFuture<std::optional<QImage>> X11OverlayCapture::capture(CaptureMode mode)
{
    auto promise = std::make_shared<QPromise<std::optional<QImage>>>();
    QFuture<std::optional<QImage>> future = promise->future();
    promise->start();
    m_busy = true;
    QFuture<Frozen> frozen = m_preparedMode == mode ? m_prepared : preparedFor(mode);
    m_preparedMode.reset();
    m_prepared = {};
    frozen.then(this, [this, mode, promise](const Frozen &picture) {
        if (picture.desktop.isNull()) {
            m_busy = false;
            return fail(*promise, CaptureFailure::failed);
        }
        if (mode == CaptureMode::screen) {
            m_busy = false;
            return succeed(*promise, std::optional<QImage>(picture.desktop));
        }
        select(picture, promise);
    });
    return future;
}

void X11OverlayCapture::select(const Frozen &frozen, const Promise &promise)
{
    const QImage desktop = frozen.desktop;
    connect(m_overlay.get(), &SelectionOverlay::selected, this,
            [=, this](const QRect &area) { finish(promise, desktop, area); });
    connect(m_overlay.get(), &SelectionOverlay::cancelled, this, [=, this] { finish(promise, desktop, QRect()); });
    m_overlay->show();
    emit overlayShown();
}

void X11OverlayCapture::finish(const Promise &promise, const QImage &desktop, const QRect &area)
{
    m_overlay->disconnect(this);
    m_overlay->hide();
    if (area.isEmpty()) {
        m_busy = false;
        return succeed(*promise, std::optional<QImage>());
    }
    // Off the GUI thread, and before any later grab reuses the segment.
    QtConcurrent::run(&m_worker, [desktop, area] {
        return opaqueCopy(desktop, area);
    }).then(this, [this, promise](const QImage &selection) {
        m_busy = false;
        succeed(*promise, std::optional<QImage>(selection));
    });
}
