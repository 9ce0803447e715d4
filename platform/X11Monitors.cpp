#include "X11Monitors.h"

#include <xcb/randr.h>

#include <algorithm>
#include <memory>

namespace {

template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&free)>;

bool hasMonitorList(xcb_connection_t *connection)
{
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_randr_id);
    if (!extension || !extension->present)
        return false;
    ReplyPointer<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(connection, xcb_randr_query_version(connection, 1, 5), nullptr), &free);
    return version && (version->major_version > 1 || version->minor_version >= 5);
}

ScreenGrabber::Monitor wholeScreen(const xcb_screen_t *screen)
{
    return {0, QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels), true};
}

ScreenGrabber::Monitor monitorFrom(const xcb_randr_monitor_info_t *info)
{
    const xcb_randr_output_t *outputs = xcb_randr_monitor_info_outputs(info);
    // A monitor set up without an output is known by its name.
    const quint32 id = info->nOutput > 0 ? outputs[0] : info->name;
    return {id, QRect(info->x, info->y, info->width, info->height), bool(info->primary)};
}

} // namespace

namespace X11Monitors {

QList<ScreenGrabber::Monitor> query(xcb_connection_t *connection, const xcb_screen_t *screen)
{
    if (!hasMonitorList(connection))
        return {wholeScreen(screen)};
    ReplyPointer<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(connection, xcb_randr_get_monitors(connection, screen->root, 1), nullptr), &free);
    if (!reply || reply->nMonitors == 0)
        return {wholeScreen(screen)};
    QList<ScreenGrabber::Monitor> monitors;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem; xcb_randr_monitor_info_next(&it))
        monitors.append(monitorFrom(it.data));
    std::stable_sort(monitors.begin(), monitors.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
    return monitors;
}

ScreenGrabber::Monitor main(const QList<ScreenGrabber::Monitor> &monitors)
{
    const auto primary = std::find_if(monitors.begin(), monitors.end(), [](const auto &m) { return m.primary; });
    return primary != monitors.end() ? *primary : monitors.first();
}

} // namespace X11Monitors
