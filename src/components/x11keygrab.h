#pragma once

#include "hotkeycode.h"

#include <QList>
#include <xcb/xcb.h>

// A passive grab of one key with one modifier set on an X root window: the X11 form of a
// system-wide hot key. The key is grabbed also with NumLock (Mod2), CapsLock (Lock) and both
// held, so that it works whatever those locks are; the grab is all or nothing.
class X11KeyGrab
{
public:
    enum class Result
    {
        Grabbed,
        NoSuchKey, // no key of the keyboard gives the keysym
        Taken,     // another client holds a grab of the combination (BadAccess)
        Failed     // any other protocol error
    };

    X11KeyGrab(xcb_connection_t *connection, xcb_window_t root);
    ~X11KeyGrab();
    X11KeyGrab(const X11KeyGrab &) = delete;
    X11KeyGrab &operator=(const X11KeyGrab &) = delete;

    // The root window of the screen $DISPLAY names.
    static xcb_window_t defaultRoot(xcb_connection_t *connection);

    // Releases an earlier grab, then grabs the key that gives keysym. On any failure nothing
    // of the new grab is left.
    Result grab(quint32 keysym, HotKeyCode::Modifier modifier);
    void release();
    bool isGrabbed() const { return m_keycode != 0; }
    xcb_keycode_t keycode() const { return m_keycode; }

    // A press of the grabbed key on the root window, whatever the lock keys.
    bool matches(const xcb_key_press_event_t &event) const;

    static quint16 modifierMask(HotKeyCode::Modifier modifier);
    // The mask alone, with NumLock, with CapsLock and with both.
    static QList<quint16> modifierVariants(HotKeyCode::Modifier modifier);

private:
    xcb_keycode_t keycodeOf(quint32 keysym) const;
    void ungrabVariants(xcb_keycode_t keycode, HotKeyCode::Modifier modifier);

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    xcb_keycode_t m_keycode = 0;
    HotKeyCode::Modifier m_modifier = HotKeyCode::Modifier::Win;
};
