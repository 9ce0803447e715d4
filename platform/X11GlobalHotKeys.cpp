#include "X11GlobalHotKeys.h"

#include <QChar>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/keysym.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <span>
#include <utility>

namespace {

// Replies, errors and lists that XCB hands over for the caller to free.
struct FreeDeleter {
    void operator()(void *memory) const { std::free(memory); }
};
template <typename T> using Malloced = std::unique_ptr<T, FreeDeleter>;

constexpr uint16_t allModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 |
                                  XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

xcb_connection_t *appConnection()
{
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!application)
        return nullptr;
    const auto *x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_keysym_t keysymOf(int qtKey)
{
    if (qtKey >= Qt::Key_Space && qtKey <= Qt::Key_ydiaeresis)
        return QChar(char16_t(qtKey)).toLower().unicode();
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F35)
        return XK_F1 + (qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_Print)
        return XK_Print;
    if (qtKey == Qt::Key_NumLock)
        return XK_Num_Lock;
    return XCB_NO_SYMBOL;
}

uint16_t x11Modifiers(Qt::KeyboardModifiers modifiers)
{
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

} // namespace

void X11GlobalHotKeys::KeySymbolsDeleter::operator()(xcb_key_symbols_t *symbols) const
{
    xcb_key_symbols_free(symbols);
}

X11GlobalHotKeys::X11GlobalHotKeys(QObject *parent) : GlobalHotKeys(parent), m_connection(appConnection())
{
    if (!m_connection)
        return;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_keySymbols.reset(xcb_key_symbols_alloc(m_connection));
    m_numLockMask = numLockMask();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11GlobalHotKeys::~X11GlobalHotKeys()
{
    for (const Grab &grab : m_grabs)
        ungrab(grab.keycode, grab.modifiers);
}

bool X11GlobalHotKeys::isSupported() const
{
    return m_connection != nullptr;
}

GlobalHotKeys::Status X11GlobalHotKeys::registerHotKey(QKeyCombination keys, Identifier identifier, const QString &)
{
    unregisterHotKey(identifier);
    if (!m_connection)
        return Status::unsupported;
    const xcb_keycode_t keycode = keycodeOf(keys.key());
    if (keycode == 0)
        return Status::noSuchKey;
    const uint16_t modifiers = x11Modifiers(keys.keyboardModifiers());
    const bool heldByUs = std::ranges::any_of(
        m_grabs, [&](const Grab &held) { return held.keycode == keycode && held.modifiers == modifiers; });
    if (heldByUs || !grab(keycode, modifiers))
        return Status::taken;
    m_grabs.push_back({identifier, keys.key(), keycode, modifiers});
    return Status::registered;
}

void X11GlobalHotKeys::unregisterHotKey(Identifier identifier)
{
    const auto held = std::ranges::find(m_grabs, identifier, &Grab::identifier);
    if (held == m_grabs.end())
        return;
    ungrab(held->keycode, held->modifiers);
    m_grabs.erase(held);
}

bool X11GlobalHotKeys::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const int type = event->response_type & ~0x80;
    if (type == XCB_MAPPING_NOTIFY)
        remap(*static_cast<xcb_mapping_notify_event_t *>(message));
    if (type != XCB_KEY_PRESS)
        return false;
    const auto &press = *static_cast<const xcb_key_press_event_t *>(message);
    const auto held = std::ranges::find_if(m_grabs, [&](const Grab &grab) { return isPressOf(grab, press); });
    if (held == m_grabs.end())
        return false;
    deliverPress(held->identifier);
    return true;
}

bool X11GlobalHotKeys::isPressOf(const Grab &grab, const xcb_key_press_event_t &press) const
{
    const uint16_t locks = XCB_MOD_MASK_LOCK | m_numLockMask;
    return press.detail == grab.keycode && (press.state & allModifiers & ~locks) == grab.modifiers;
}

// Lets go of the old key codes and takes the keys again where the new layout
// puts them; a key the layout no longer has, or another client now holds, is
// dropped. Qt sees the notification too.
void X11GlobalHotKeys::remap(xcb_mapping_notify_event_t &notification)
{
    if (notification.request == XCB_MAPPING_POINTER)
        return;
    const std::vector<Grab> previous = std::exchange(m_grabs, {});
    for (const Grab &held : previous)
        ungrab(held.keycode, held.modifiers);
    xcb_refresh_keyboard_mapping(m_keySymbols.get(), &notification);
    m_numLockMask = numLockMask();
    for (const Grab &held : previous) {
        const xcb_keycode_t keycode = keycodeOf(held.key);
        if (keycode != 0 && grab(keycode, held.modifiers))
            m_grabs.push_back({held.identifier, held.key, keycode, held.modifiers});
    }
}

// Reported after the event dispatch, and only while the keys are still held.
void X11GlobalHotKeys::deliverPress(Identifier identifier)
{
    QMetaObject::invokeMethod(
        this,
        [this, identifier] {
            if (std::ranges::find(m_grabs, identifier, &Grab::identifier) != m_grabs.end())
                emit pressed(identifier);
        },
        Qt::QueuedConnection);
}

xcb_keycode_t X11GlobalHotKeys::keycodeOf(int qtKey) const
{
    const xcb_keysym_t keysym = keysymOf(qtKey);
    if (keysym == XCB_NO_SYMBOL)
        return 0;
    const Malloced<xcb_keycode_t> keycodes(xcb_key_symbols_get_keycode(m_keySymbols.get(), keysym));
    return keycodes ? keycodes.get()[0] : 0;
}

// The modifier bit the keyboard gives Num Lock; 0 when it has none.
uint16_t X11GlobalHotKeys::numLockMask() const
{
    const xcb_keycode_t numLock = keycodeOf(Qt::Key_NumLock);
    const Malloced<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (numLock == 0 || !mapping)
        return 0;
    const std::span modifierKeys(xcb_get_modifier_mapping_keycodes(mapping.get()),
                                 xcb_get_modifier_mapping_keycodes_length(mapping.get()));
    const auto found = std::ranges::find(modifierKeys, numLock);
    if (found == modifierKeys.end())
        return 0;
    return uint16_t(1 << ((found - modifierKeys.begin()) / mapping->keycodes_per_modifier));
}

std::vector<uint16_t> X11GlobalHotKeys::lockCombinations() const
{
    std::vector<uint16_t> combinations{0, XCB_MOD_MASK_LOCK};
    if (m_numLockMask != 0) {
        combinations.push_back(m_numLockMask);
        combinations.push_back(XCB_MOD_MASK_LOCK | m_numLockMask);
    }
    return combinations;
}

// Takes the keys with every lock combination, or none of them: the server
// refuses a combination another client holds.
bool X11GlobalHotKeys::grab(xcb_keycode_t keycode, uint16_t modifiers)
{
    std::vector<xcb_void_cookie_t> requests;
    for (const uint16_t locks : lockCombinations()) {
        requests.push_back(xcb_grab_key_checked(m_connection, true, m_root, modifiers | locks, keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool granted = true;
    for (const xcb_void_cookie_t request : requests) {
        if (Malloced<xcb_generic_error_t>(xcb_request_check(m_connection, request)))
            granted = false;
    }
    if (!granted)
        ungrab(keycode, modifiers);
    return granted;
}

// Waits for the server, so that the keys are free for others on return.
void X11GlobalHotKeys::ungrab(xcb_keycode_t keycode, uint16_t modifiers)
{
    std::vector<xcb_void_cookie_t> requests;
    for (const uint16_t locks : lockCombinations())
        requests.push_back(xcb_ungrab_key_checked(m_connection, keycode, m_root, modifiers | locks));
    for (const xcb_void_cookie_t request : requests)
        std::free(xcb_request_check(m_connection, request));
}
