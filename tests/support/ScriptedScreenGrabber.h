#pragma once

#include "ScreenGrabber.h"

#include <QColor>

#include <algorithm>

// Monitors as a test lays them out. Each grab is coloured by where it was
// taken and is as large as the monitor's entry in `pixels`, or else a few
// pixels sized after the area. The test reads `grabbed` once the capture has settled.
struct ScriptedDesktop {
    QList<ScreenGrabber::Monitor> monitors;
    QList<QSize> pixels;
    bool failGrabs = false;
    QList<QRect> grabbed;
};

class ScriptedScreenGrabber : public ScreenGrabber {
public:
    explicit ScriptedScreenGrabber(ScriptedDesktop &desktop) : m_desktop(desktop) {}
    QList<Monitor> monitors() const override { return m_desktop.monitors; }

    QImage grab(const QRect &area) const override
    {
        m_desktop.grabbed.append(area);
        if (m_desktop.failGrabs)
            return {};
        const qsizetype index =
            std::ranges::find(m_desktop.monitors, area, &Monitor::geometry) - m_desktop.monitors.begin();
        QImage image(index < m_desktop.pixels.size() ? m_desktop.pixels[index]
                                                     : QSize(area.width() % 64 + 1, area.height() % 64 + 1),
                     QImage::Format_RGB32);
        image.fill(QColor::fromRgb(area.x() % 256, area.y() % 256, 7));
        return image;
    }

private:
    ScriptedDesktop &m_desktop;
};
