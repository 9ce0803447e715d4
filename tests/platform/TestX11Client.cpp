#include "TestX11Client.h"

#include <QDeadlineTimer>

#include <cstdlib>
#include <memory>

#include <poll.h>

template <typename T> using Malloced = std::unique_ptr<T, decltype([](T *memory) { std::free(memory); })>;

TestX11Client::TestX11Client() : m_connection(xcb_connect(nullptr, nullptr))
{
    if (isConnected()) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_symbols = xcb_key_symbols_alloc(m_connection);
    }
}

TestX11Client::~TestX11Client()
{
    if (m_symbols)
        xcb_key_symbols_free(m_symbols);
    xcb_disconnect(m_connection);
}

bool TestX11Client::grabKey(xcb_keysym_t keysym, uint16_t modifiers)
{
    const xcb_void_cookie_t request = xcb_grab_key_checked(m_connection, true, m_root, modifiers, keycodeOf(keysym),
                                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    return !Malloced<xcb_generic_error_t>(xcb_request_check(m_connection, request));
}

bool TestX11Client::waitForKeyPress(xcb_keysym_t keysym, int timeoutMs)
{
    const xcb_keycode_t keycode = keycodeOf(keysym);
    const QDeadlineTimer deadline(timeoutMs);
    pollfd connection{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    while (!deadline.hasExpired()) {
        while (const Malloced<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
            const bool isPress = (event->response_type & ~0x80) == XCB_KEY_PRESS;
            if (isPress && reinterpret_cast<const xcb_key_press_event_t *>(event.get())->detail == keycode)
                return true;
        }
        poll(&connection, 1, int(deadline.remainingTime()));
    }
    return false;
}

uint16_t TestX11Client::modifierState()
{
    const Malloced<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    return pointer ? pointer->mask : 0;
}

xcb_keycode_t TestX11Client::keycodeOf(xcb_keysym_t keysym)
{
    const Malloced<xcb_keycode_t> keycodes(xcb_key_symbols_get_keycode(m_symbols, keysym));
    return keycodes ? keycodes.get()[0] : 0;
}
