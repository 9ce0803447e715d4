#pragma once

#include "CaptureThumbnailLifetime.h"
#include "CaptureThumbnailShortcut.h"
#include "GlobalHotKeys.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class CaptureThumbnailSurface;

// The preview shown for a few seconds after a capture. A click, or its hot key
// while it is visible, dismisses it and runs the open action; the pointer
// resting on it pauses the countdown. At most one exists; a newer one replaces
// it. The window is a CaptureThumbnailSurface; `hotKeys` must outlive this.
class CaptureThumbnail : public QObject {
    Q_OBJECT

public:
    // "TCTH"; the id of the hot key is the generation of the thumbnail shown.
    static constexpr quint32 signature = GlobalHotKeys::fourCharCode("TCTH");
    static constexpr int pollMilliseconds = 100;

    using Clock = std::function<QDateTime()>;

    explicit CaptureThumbnail(GlobalHotKeys &hotKeys, Clock clock = QDateTime::currentDateTimeUtc,
                              QObject *parent = nullptr);
    ~CaptureThumbnail() override;

    void setSurface(CaptureThumbnailSurface *surface) { m_surface = surface; }

    // Shows `image` for `seconds` (clamped to 1 to 30, 5 when not finite).
    // Without `open` the thumbnail shows `caption` and a click does nothing.
    // False when the hot key could not be taken (the thumbnail still shows)
    // or there is no screen (nothing shows).
    bool show(const QImage &image, double seconds, CaptureThumbnailShortcut shortcut, const QString &caption,
              std::function<void()> open);
    // Removes the thumbnail, its countdown, action and hot key.
    void dismiss();

    bool isShown() const { return m_lifetime.has_value(); }
    const std::optional<CaptureThumbnailLifetime> &lifetime() const { return m_lifetime; }
    quint32 generation() const { return m_generation; }

    // From the window, naming the lifetime it shows; stale calls do nothing.
    void click(const QUuid &lifetime);
    void hover(const QUuid &lifetime, bool inside);

    // "Click to edit", "Click or E to edit", "Click or Alt+E to edit".
    static QString hint(CaptureThumbnailShortcut shortcut, bool registered);

private:
    bool registerHotKey(CaptureThumbnailShortcut shortcut);
    void hotKeyPressed(GlobalHotKeys::Identifier identifier);
    void checkExpiry();
    void open();

    GlobalHotKeys &m_hotKeys;
    Clock m_clock;
    CaptureThumbnailSurface *m_surface = nullptr;
    std::optional<CaptureThumbnailLifetime> m_lifetime;
    QTimer m_expiry;
    std::optional<GlobalHotKeys::Identifier> m_hotKey;
    std::function<void()> m_action;
    quint32 m_generation = 0;
};
