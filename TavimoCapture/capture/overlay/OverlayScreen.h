#pragma once

#include <QList>
#include <QRect>

// Where one screen shows in a picture of the whole desktop: `geometry` in
// the picture's pixels, `devicePixelRatio` picture pixels per screen point.
struct OverlayScreen {
    QRect geometry;
    qreal devicePixelRatio = 1;

    friend bool operator==(const OverlayScreen &, const OverlayScreen &) = default;
};

using OverlayScreens = QList<OverlayScreen>;
