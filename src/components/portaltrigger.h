#pragma once

#include <QString>

// The text a desktop portal takes as a shortcut's trigger: the modifiers in upper case and the
// key's X keysym name, joined by "+" ("CTRL+ALT+Q", "LOGO+F5", "CTRL+SHIFT+KP_Add").
class PortalTrigger
{
public:
    // The trigger of a HotKeyCode value; empty for none and for a key without a keysym name.
    static QString fromHotKeyCode(int code);
};
