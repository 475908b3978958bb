#pragma once

#include <QtGlobal>

// The one table between the Windows virtual-key codes the Notes file stores for the hot key
// and the keys of the other worlds: X keysyms (to grab the key on X11) and Qt keys (to capture
// it in the options dialog). Keypad keys carry Qt::KeypadModifier in their Qt key.
// Every lookup answers 0 for a key the table does not hold.
class VirtualKeys
{
public:
    static quint32 keysymFromVk(int vk);
    static int vkFromKeysym(quint32 keysym);

    static int qtKeyFromVk(int vk);

    // qtKey is a Qt key, possibly combined with modifiers; only Qt::KeypadModifier counts.
    // The symbols of a US keyboard's shifted keys give the key they are typed on ("!" gives 1),
    // since the hot key's modifiers never come from the standard key.
    static int vkFromQtKey(int qtKey);
};
