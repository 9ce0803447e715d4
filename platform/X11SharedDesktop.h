#pragma once

#include "ScreenGrabber.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>

#include <xcb/shm.h>

#include <memory>

class X11ScreenGrabber;

// The X desktop read into one shared-memory segment that lives as long as
// this object: every grab reuses it, so a capture touches no fresh memory.
// Use from one thread at a time.
class X11SharedDesktop {
public:
    // Connects to `display` ($DISPLAY when empty); nullptr when no X server answers.
    static std::unique_ptr<X11SharedDesktop> connect(const QByteArray &display = {});
    ~X11SharedDesktop();
    X11SharedDesktop(const X11SharedDesktop &) = delete;
    X11SharedDesktop &operator=(const X11SharedDesktop &) = delete;

    // Sizes the segment for the desktop as it is now (again after a RandR
    // change) and faults its pages in. False when the server offers no
    // shared memory; grabs then copy.
    bool prepare();
    // The screen inside `area`, null when it cannot be read. The image uses
    // the segment's memory: it is valid until the next grab or prepare(), and
    // the padding byte of 32-bit pixels is as the server left it.
    QImage grab(const QRect &area);

    QRect desktopGeometry() const;
    QList<ScreenGrabber::Monitor> monitors() const;
    // Pickable top-level windows, bottom to top, frames included.
    QList<QRect> windows() const;
    qsizetype segmentBytes() const { return m_bytes; }

private:
    explicit X11SharedDesktop(std::unique_ptr<X11ScreenGrabber> grabber);

    bool attach(qsizetype bytes);
    void detach();

    std::unique_ptr<X11ScreenGrabber> m_grabber;
    uchar *m_address = nullptr;
    qsizetype m_bytes = 0;
    xcb_shm_seg_t m_segment = 0;
    QImage m_copied;
};
