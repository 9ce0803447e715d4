#include "X11SharedDesktop.h"

#include "DesktopWindows.h"
#include "X11ScreenGrabber.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

namespace {

constexpr quint32 allPlanes = ~0u;

qsizetype bytesPerLine(int width, QImage::Format format)
{
    const int bytesPerPixel = format == QImage::Format_RGB32 ? 4 : 2;
    return (qsizetype(width) * bytesPerPixel + 3) / 4 * 4;
}

} // namespace

std::unique_ptr<X11SharedDesktop> X11SharedDesktop::connect(const QByteArray &display)
{
    std::unique_ptr<X11ScreenGrabber> grabber = X11ScreenGrabber::connect(display);
    if (!grabber)
        return nullptr;
    return std::unique_ptr<X11SharedDesktop>(new X11SharedDesktop(std::move(grabber)));
}

X11SharedDesktop::X11SharedDesktop(std::unique_ptr<X11ScreenGrabber> grabber) : m_grabber(std::move(grabber))
{
}

X11SharedDesktop::~X11SharedDesktop()
{
    detach();
}

QRect X11SharedDesktop::desktopGeometry() const
{
    // The setup block keeps the size the screen had at connection; RandR may have changed it since.
    xcb_get_geometry_reply_t *reply = xcb_get_geometry_reply(
        m_grabber->connection(), xcb_get_geometry(m_grabber->connection(), m_grabber->root()), nullptr);
    if (!reply)
        return m_grabber->desktopGeometry();
    const QRect desktop(0, 0, reply->width, reply->height);
    free(reply);
    return desktop;
}

QList<ScreenGrabber::Monitor> X11SharedDesktop::monitors() const
{
    return m_grabber->monitors();
}

QList<QRect> X11SharedDesktop::windows() const
{
    return DesktopWindows::query(m_grabber->connection(), m_grabber->root());
}

bool X11SharedDesktop::prepare()
{
    if (!m_grabber->sharedMemory() || m_grabber->pixelFormat() == QImage::Format_Invalid)
        return false;
    const QRect desktop = desktopGeometry();
    const qsizetype bytes = bytesPerLine(desktop.width(), m_grabber->pixelFormat()) * desktop.height();
    if (m_address && bytes == m_bytes)
        return true;
    detach();
    return attach(bytes);
}

bool X11SharedDesktop::attach(qsizetype bytes)
{
    const int id = shmget(IPC_PRIVATE, size_t(bytes), IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void *address = shmat(id, nullptr, 0);
    xcb_connection_t *connection = m_grabber->connection();
    const xcb_shm_seg_t segment = xcb_generate_id(connection);
    xcb_generic_error_t *error =
        address == reinterpret_cast<void *>(-1)
            ? nullptr
            : xcb_request_check(connection, xcb_shm_attach_checked(connection, segment, id, false));
    // The segment now lives only as long as someone has it attached.
    shmctl(id, IPC_RMID, nullptr);
    if (address == reinterpret_cast<void *>(-1))
        return false;
    if (error) {
        free(error);
        shmdt(address);
        return false;
    }
    m_address = static_cast<uchar *>(address);
    m_bytes = bytes;
    m_segment = segment;
    // Fault every page in now rather than during the first capture.
    std::memset(m_address, 0, size_t(m_bytes));
    return true;
}

void X11SharedDesktop::detach()
{
    if (!m_address)
        return;
    xcb_shm_detach(m_grabber->connection(), m_segment);
    xcb_flush(m_grabber->connection());
    shmdt(m_address);
    m_address = nullptr;
    m_bytes = 0;
}

QImage X11SharedDesktop::grab(const QRect &area)
{
    const QRect inside = area & desktopGeometry();
    const QImage::Format format = m_grabber->pixelFormat();
    if (inside.isEmpty() || format == QImage::Format_Invalid)
        return QImage();
    const qsizetype stride = bytesPerLine(inside.width(), format);
    if (!m_address || stride * inside.height() > m_bytes) {
        m_copied = m_grabber->grabColours(inside);
        return m_copied;
    }
    m_copied = QImage();
    // Why one segment kept for good: a plain GetImage sends every pixel
    // through the socket into a fresh reply, and first touching a fresh 5K
    // bitmap alone costs more than the grab. Here the server writes straight
    // into pages faulted in at start; the image is only a view of them.
    xcb_connection_t *connection = m_grabber->connection();
    xcb_shm_get_image_reply_t *reply =
        xcb_shm_get_image_reply(connection,
                                xcb_shm_get_image(connection, m_grabber->root(), qint16(inside.x()), qint16(inside.y()),
                                                  quint16(inside.width()), quint16(inside.height()), allPlanes,
                                                  XCB_IMAGE_FORMAT_Z_PIXMAP, m_segment, 0),
                                nullptr);
    if (!reply)
        return QImage();
    free(reply);
    return QImage(m_address, inside.width(), inside.height(), stride, format);
}
