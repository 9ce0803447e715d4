#include "DesktopWindows.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&free)>;

struct WindowCookies {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
};

} // namespace

namespace DesktopWindows {

QList<QRect> query(xcb_connection_t *connection, xcb_window_t root)
{
    ReplyPointer<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr), &free);
    if (!tree)
        return {};
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    std::vector<WindowCookies> cookies;
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
        cookies.push_back(
            {xcb_get_window_attributes(connection, children[i]), xcb_get_geometry(connection, children[i])});
    QList<QRect> windows;
    for (const WindowCookies &cookie : cookies) {
        ReplyPointer<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection, cookie.attributes, nullptr), &free);
        ReplyPointer<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(connection, cookie.geometry, nullptr),
                                                        &free);
        if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
            continue;
        const int border = geometry->border_width;
        windows.append(QRect(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border));
    }
    return windows;
}

QRect topmostAt(const QList<QRect> &windows, const QPoint &point)
{
    const auto hit = std::find_if(windows.rbegin(), windows.rend(), [&](const QRect &r) { return r.contains(point); });
    return hit != windows.rend() ? *hit : QRect();
}

} // namespace DesktopWindows
