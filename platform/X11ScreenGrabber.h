#pragma once

#include "ScreenGrabber.h"

#include <QByteArray>

#include <xcb/xcb.h>

#include <memory>

// Copies pixels off an X11 screen through its own XCB connection, over shared
// memory (MIT-SHM) when the server offers it. Safe to use on any one thread.
class X11ScreenGrabber : public ScreenGrabber {
public:
    // Connects to `display` ($DISPLAY when empty); nullptr when no X server answers.
    static std::unique_ptr<X11ScreenGrabber> connect(const QByteArray &display = {});
    ~X11ScreenGrabber() override;
    X11ScreenGrabber(const X11ScreenGrabber &) = delete;
    X11ScreenGrabber &operator=(const X11ScreenGrabber &) = delete;

    QList<Monitor> monitors() const override;
    // Null too when the screen's pixel layout is not 16-bit or 24/32-bit true colour.
    QImage grab(const QRect &area) const override;
    // As grab(), one pass quicker: the padding byte of 32-bit pixels stays as
    // the server left it. Only for readers of the colour channels, such as
    // PNG encoding or painting onto an opaque window.
    QImage grabColours(const QRect &area) const;

    QRect desktopGeometry() const;
    // The root window's pixels as a QImage format; invalid when unsupported.
    QImage::Format pixelFormat() const { return m_format; }
    // Whether the server offers MIT-SHM.
    bool sharedMemory() const { return m_sharedMemory; }
    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_screen->root; }

private:
    X11ScreenGrabber(xcb_connection_t *connection, const xcb_screen_t *screen);

    QImage::Format rootPixelFormat() const;
    bool hasSharedMemory() const;
    QImage grabShared(const QRect &area) const;
    QImage grabCopied(const QRect &area) const;

    xcb_connection_t *m_connection;
    const xcb_screen_t *m_screen;
    QImage::Format m_format;
    bool m_sharedMemory;
};
