#include "x11keygrab.h"

#include <cstdlib>
#include <memory>
#include <xcb/xcb_keysyms.h>

namespace {

// The modifiers a hot key is told apart by; lock keys and the others do not count.
constexpr quint16 relevantModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
constexpr quint16 numLock = XCB_MOD_MASK_2;
constexpr quint16 capsLock = XCB_MOD_MASK_LOCK;

} // namespace

X11KeyGrab::X11KeyGrab(xcb_connection_t *connection, xcb_window_t root)
    : m_connection(connection), m_root(root)
{
}

X11KeyGrab::~X11KeyGrab()
{
    release();
}

xcb_window_t X11KeyGrab::defaultRoot(xcb_connection_t *connection)
{
    int screen = 0;
    char *host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen))
        std::free(host);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen && it.rem > 1; ++i)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : XCB_WINDOW_NONE;
}

quint16 X11KeyGrab::modifierMask(HotKeyCode::Modifier modifier)
{
    switch (modifier) {
    case HotKeyCode::Modifier::CtrlAlt:
        return XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    case HotKeyCode::Modifier::CtrlShift:
        return XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
    case HotKeyCode::Modifier::Win:
        break;
    }
    return XCB_MOD_MASK_4;
}

QList<quint16> X11KeyGrab::modifierVariants(HotKeyCode::Modifier modifier)
{
    const quint16 mask = modifierMask(modifier);
    return {mask, quint16(mask | numLock), quint16(mask | capsLock),
            quint16(mask | numLock | capsLock)};
}

xcb_keycode_t X11KeyGrab::keycodeOf(quint32 keysym) const
{
    const std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(
        xcb_key_symbols_alloc(m_connection), &xcb_key_symbols_free);
    if (!symbols)
        return 0;
    const std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(
        xcb_key_symbols_get_keycode(symbols.get(), keysym), &std::free);
    return codes ? codes.get()[0] : 0;
}

X11KeyGrab::Result X11KeyGrab::grab(quint32 keysym, HotKeyCode::Modifier modifier)
{
    release();
    const xcb_keycode_t keycode = keysym ? keycodeOf(keysym) : 0;
    if (keycode == 0)
        return Result::NoSuchKey;

    const QList<quint16> variants = modifierVariants(modifier);
    QList<xcb_void_cookie_t> cookies;
    for (quint16 mask : variants) {
        cookies.append(xcb_grab_key_checked(m_connection, 0, m_root, mask, keycode,
                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    Result result = Result::Grabbed;
    for (const xcb_void_cookie_t &cookie : cookies) {
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            if (result == Result::Grabbed)
                result = error->error_code == XCB_ACCESS ? Result::Taken : Result::Failed;
            std::free(error);
        }
    }
    if (result != Result::Grabbed) {
        ungrabVariants(keycode, modifier);
        return result;
    }
    m_keycode = keycode;
    m_modifier = modifier;
    return result;
}

void X11KeyGrab::ungrabVariants(xcb_keycode_t keycode, HotKeyCode::Modifier modifier)
{
    // Waited for, so that the key is free for others once this returns.
    QList<xcb_void_cookie_t> cookies;
    for (quint16 mask : modifierVariants(modifier))
        cookies.append(xcb_ungrab_key_checked(m_connection, keycode, m_root, mask));
    for (const xcb_void_cookie_t &cookie : cookies)
        std::free(xcb_request_check(m_connection, cookie));
}

void X11KeyGrab::release()
{
    if (!isGrabbed())
        return;
    ungrabVariants(m_keycode, m_modifier);
    m_keycode = 0;
}

bool X11KeyGrab::matches(const xcb_key_press_event_t &event) const
{
    return isGrabbed() && event.event == m_root && event.detail == m_keycode &&
           (event.state & relevantModifiers) == modifierMask(m_modifier);
}
