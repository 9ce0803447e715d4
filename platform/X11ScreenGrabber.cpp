#include "X11ScreenGrabber.h"

#include "X11Monitors.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/shm.h>

namespace {

constexpr quint32 allPlanes = ~0u;

const xcb_visualtype_t *findVisual(const xcb_screen_t *screen, xcb_visualid_t id)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id)
                return visuals.data;
        }
    }
    return nullptr;
}

const xcb_format_t *findPixmapFormat(const xcb_setup_t *setup, quint8 depth)
{
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats)) {
        if (formats.data->depth == depth)
            return formats.data;
    }
    return nullptr;
}

// X leaves the padding byte of 24-bit pixels undefined; QImage wants it opaque.
void makeOpaque(QImage &image)
{
    if (image.format() != QImage::Format_RGB32)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto *pixel = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            pixel[x] |= 0xff000000u;
    }
}

void detachSharedMemory(void *address)
{
    shmdt(address);
}

} // namespace

std::unique_ptr<X11ScreenGrabber> X11ScreenGrabber::connect(const QByteArray &display)
{
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    return std::unique_ptr<X11ScreenGrabber>(new X11ScreenGrabber(connection, screens.data));
}

X11ScreenGrabber::X11ScreenGrabber(xcb_connection_t *connection, const xcb_screen_t *screen)
    : m_connection(connection), m_screen(screen), m_format(QImage::Format_Invalid), m_sharedMemory(false)
{
    m_format = rootPixelFormat();
    m_sharedMemory = hasSharedMemory();
}

X11ScreenGrabber::~X11ScreenGrabber()
{
    xcb_disconnect(m_connection);
}

QList<ScreenGrabber::Monitor> X11ScreenGrabber::monitors() const
{
    return X11Monitors::query(m_connection, m_screen);
}

QRect X11ScreenGrabber::desktopGeometry() const
{
    return QRect(0, 0, m_screen->width_in_pixels, m_screen->height_in_pixels);
}

QImage X11ScreenGrabber::grab(const QRect &area) const
{
    QImage image = grabColours(area);
    makeOpaque(image);
    return image;
}

QImage X11ScreenGrabber::grabColours(const QRect &area) const
{
    const QRect inside = area & desktopGeometry();
    if (inside.isEmpty() || m_format == QImage::Format_Invalid)
        return QImage();
    QImage image = m_sharedMemory ? grabShared(inside) : QImage();
    return image.isNull() ? grabCopied(inside) : image;
}

QImage::Format X11ScreenGrabber::rootPixelFormat() const
{
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const xcb_visualtype_t *visual = findVisual(m_screen, m_screen->root_visual);
    const xcb_format_t *format = findPixmapFormat(setup, m_screen->root_depth);
    if (!visual || !format || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return QImage::Format_Invalid;
    if (format->bits_per_pixel == 32 && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 &&
        visual->blue_mask == 0xff)
        return QImage::Format_RGB32;
    if (format->bits_per_pixel == 16 && visual->red_mask == 0xf800 && visual->green_mask == 0x7e0 &&
        visual->blue_mask == 0x1f)
        return QImage::Format_RGB16;
    return QImage::Format_Invalid;
}

bool X11ScreenGrabber::hasSharedMemory() const
{
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(m_connection, &xcb_shm_id);
    return extension && extension->present;
}

QImage X11ScreenGrabber::grabShared(const QRect &area) const
{
    const int bytesPerPixel = m_format == QImage::Format_RGB32 ? 4 : 2;
    const qsizetype bytesPerLine = (qsizetype(area.width()) * bytesPerPixel + 3) / 4 * 4;
    const int id = shmget(IPC_PRIVATE, size_t(bytesPerLine * area.height()), IPC_CREAT | 0600);
    if (id < 0)
        return QImage();
    void *address = shmat(id, nullptr, 0);
    const xcb_shm_seg_t segment = xcb_generate_id(m_connection);
    xcb_generic_error_t *attachError =
        address == reinterpret_cast<void *>(-1)
            ? nullptr
            : xcb_request_check(m_connection, xcb_shm_attach_checked(m_connection, segment, id, false));
    // The segment now lives only as long as someone has it attached.
    shmctl(id, IPC_RMID, nullptr);
    if (address == reinterpret_cast<void *>(-1))
        return QImage();
    if (attachError) {
        free(attachError);
        shmdt(address);
        return QImage();
    }
    xcb_shm_get_image_reply_t *reply = xcb_shm_get_image_reply(
        m_connection,
        xcb_shm_get_image(m_connection, root(), qint16(area.x()), qint16(area.y()), quint16(area.width()),
                          quint16(area.height()), allPlanes, XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0),
        nullptr);
    xcb_shm_detach(m_connection, segment);
    xcb_flush(m_connection);
    if (!reply) {
        shmdt(address);
        return QImage();
    }
    free(reply);
    return QImage(static_cast<uchar *>(address), area.width(), area.height(), bytesPerLine, m_format,
                  detachSharedMemory, address);
}

QImage X11ScreenGrabber::grabCopied(const QRect &area) const
{
    xcb_get_image_reply_t *reply =
        xcb_get_image_reply(m_connection,
                            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), qint16(area.x()),
                                          qint16(area.y()), quint16(area.width()), quint16(area.height()), allPlanes),
                            nullptr);
    if (!reply)
        return QImage();
    const qsizetype bytesPerLine = xcb_get_image_data_length(reply) / area.height();
    return QImage(xcb_get_image_data(reply), area.width(), area.height(), bytesPerLine, m_format, free, reply);
}
