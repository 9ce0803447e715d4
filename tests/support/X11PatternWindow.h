#pragma once

#include "ScreenGrabber.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QRasterWindow>
#include <QThread>

// A borderless window at a fixed place on the test display, showing a
// pattern in which neighbouring pixels differ, so that any offset shows.
class X11PatternWindow : public QRasterWindow {
public:
    explicit X11PatternWindow(const QRect &geometry) : m_pattern(geometry.size(), QImage::Format_RGB32)
    {
        for (int y = 0; y < m_pattern.height(); ++y)
            for (int x = 0; x < m_pattern.width(); ++x)
                m_pattern.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 13) % 256));
        setFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        setGeometry(geometry);
    }

    const QImage &pattern() const { return m_pattern; }

    // Shows the window and waits until the screen shows the whole pattern.
    bool showOn(const ScreenGrabber &screen)
    {
        show();
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents();
            if (screen.grab(geometry()) == m_pattern)
                return true;
            QThread::msleep(10);
        }
        return false;
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, m_pattern); }

private:
    QImage m_pattern;
};
