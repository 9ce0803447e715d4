#pragma once

#include <QImage>
#include <QString>
#include <QUuid>

// What the floating thumbnail shows: the capture and one line of text.
struct CaptureThumbnailContent {
    // The lifetime the window reports clicks and hovering for.
    QUuid lifetime;
    QImage image;
    QString text;
};

// The window that shows the thumbnail at the bottom right of the main screen,
// never taking keyboard focus.
class CaptureThumbnailSurface {
public:
    virtual ~CaptureThumbnailSurface() = default;

    // Shows `content`, replacing what was shown; false when there is no screen.
    virtual bool present(const CaptureThumbnailContent &content) = 0;
    virtual void remove() = 0;
};
