#pragma once

#include "ScreenGrabber.h"

#include <QByteArray>

// Cuts displays out of one encoded picture of the whole desktop, as the
// desktop portal delivers it. The picture is decoded when first needed, once,
// and only when its header shows at most 80,000,000 pixels.
class PortalImageGrabber : public ScreenGrabber {
public:
    // Without `monitors` (a start that knows no screens) the whole picture is
    // one primary display.
    PortalImageGrabber(QByteArray encoded, QList<Monitor> monitors);

    // Throws CaptureError(displaysTooLarge) as grab() does.
    QList<Monitor> monitors() const override;
    // Null when `area` reaches outside the picture or it cannot be decoded;
    // throws CaptureError(displaysTooLarge) for a picture over the limit.
    QImage grab(const QRect &area) const override;

private:
    void decode() const;

    QByteArray m_encoded;
    QList<Monitor> m_monitors;
    mutable QImage m_picture;
    mutable bool m_decoded = false;
};
