#include "CaptureThumbnail.h"

#include "CaptureThumbnailSurface.h"
#include "NativeKeyText.h"

CaptureThumbnail::CaptureThumbnail(GlobalHotKeys &hotKeys, Clock clock, QObject *parent)
    : QObject(parent), m_hotKeys(hotKeys), m_clock(std::move(clock))
{
    m_expiry.setInterval(pollMilliseconds);
    m_expiry.setTimerType(Qt::PreciseTimer);
    connect(&m_expiry, &QTimer::timeout, this, &CaptureThumbnail::checkExpiry);
    connect(&m_hotKeys, &GlobalHotKeys::pressed, this, &CaptureThumbnail::hotKeyPressed);
}

// The window may already be gone; only the hot key is released.
CaptureThumbnail::~CaptureThumbnail()
{
    if (m_hotKey)
        m_hotKeys.unregisterHotKey(*m_hotKey);
}

bool CaptureThumbnail::show(const QImage &image, double seconds, CaptureThumbnailShortcut shortcut,
                            const QString &caption, std::function<void()> open)
{
    dismiss();
    if (!m_surface)
        return false;
    m_lifetime = CaptureThumbnailLifetime::starting(seconds, m_clock());
    m_action = std::move(open);
    ++m_generation;
    const bool registered = registerHotKey(shortcut);
    const QString text = m_action ? hint(shortcut, registered) : caption;
    if (!m_surface->present({m_lifetime->id, image, text})) {
        dismiss();
        return false;
    }
    m_expiry.start();
    return registered;
}

void CaptureThumbnail::dismiss()
{
    m_expiry.stop();
    m_lifetime.reset();
    m_action = nullptr;
    if (m_surface)
        m_surface->remove();
    if (m_hotKey)
        m_hotKeys.unregisterHotKey(*std::exchange(m_hotKey, std::nullopt));
}

void CaptureThumbnail::click(const QUuid &lifetime)
{
    if (m_lifetime && m_lifetime->id == lifetime && m_action)
        open();
}

void CaptureThumbnail::hover(const QUuid &lifetime, bool inside)
{
    if (m_lifetime && m_lifetime->id == lifetime)
        m_lifetime->hover(inside, m_clock());
}

QString CaptureThumbnail::hint(CaptureThumbnailShortcut shortcut, bool registered)
{
    const std::optional<QKeyCombination> keys = thumbnailHotKey(shortcut);
    if (!registered || !keys)
        return tr("Click to edit");
    return tr("Click or %1 to edit").arg(nativeKeyText(QKeySequence(*keys)));
}

bool CaptureThumbnail::registerHotKey(CaptureThumbnailShortcut shortcut)
{
    const std::optional<QKeyCombination> keys = thumbnailHotKey(shortcut);
    if (!keys)
        return true;
    const GlobalHotKeys::Identifier identifier{signature, m_generation};
    const GlobalHotKeys::Status status = m_hotKeys.registerHotKey(*keys, identifier, tr("Edit the capture thumbnail"));
    // A desktop that asks the user first may grant the key later; it is released with the thumbnail.
    if (status == GlobalHotKeys::Status::registered || status == GlobalHotKeys::Status::pending)
        m_hotKey = identifier;
    return status == GlobalHotKeys::Status::registered;
}

void CaptureThumbnail::hotKeyPressed(GlobalHotKeys::Identifier identifier)
{
    if (identifier.signature == signature && identifier.id == m_generation && m_action)
        open();
}

void CaptureThumbnail::checkExpiry()
{
    if (m_lifetime && m_lifetime->isExpired(m_clock()))
        dismiss();
}

void CaptureThumbnail::open()
{
    const std::function<void()> action = std::exchange(m_action, nullptr);
    dismiss();
    action();
}
