#include "virtualkeys.h"

#include <Qt>
#include <vector>

namespace {

// Windows virtual-key codes of the keys that are not letters or digits.
enum Vk : int
{
    VkBack = 0x08,
    VkTab = 0x09,
    VkReturn = 0x0D,
    VkPause = 0x13,
    VkEscape = 0x1B,
    VkSpace = 0x20,
    VkPrior = 0x21,
    VkNext = 0x22,
    VkEnd = 0x23,
    VkHome = 0x24,
    VkLeft = 0x25,
    VkUp = 0x26,
    VkRight = 0x27,
    VkDown = 0x28,
    VkInsert = 0x2D,
    VkDelete = 0x2E,
    VkNumpad0 = 0x60,
    VkMultiply = 0x6A,
    VkAdd = 0x6B,
    VkSubtract = 0x6D,
    VkDecimal = 0x6E,
    VkDivide = 0x6F,
    VkF1 = 0x70,
    VkOem1 = 0xBA,     // ;
    VkOemPlus = 0xBB,  // =
    VkOemComma = 0xBC, // ,
    VkOemMinus = 0xBD, // -
    VkOemPeriod = 0xBE,
    VkOem2 = 0xBF, // /
    VkOem3 = 0xC0, // `
    VkOem4 = 0xDB, // [
    VkOem5 = 0xDC, // backslash
    VkOem6 = 0xDD, // ]
    VkOem7 = 0xDE  // '
};

struct Key
{
    int vk;
    quint32 keysym;
    int qtKey;
};

// A key that leads to a virtual-key code in one direction only.
struct Alias
{
    int from;
    int vk;
};

constexpr int keypad(int qtKey)
{
    return qtKey | Qt::KeypadModifier;
}

const std::vector<Key> &keys()
{
    static const std::vector<Key> table = [] {
        std::vector<Key> t;
        for (int i = 0; i < 26; ++i)
            t.push_back({'A' + i, quint32('a' + i), Qt::Key_A + i});
        for (int i = 0; i < 10; ++i)
            t.push_back({'0' + i, quint32('0' + i), Qt::Key_0 + i});
        for (int i = 0; i < 24; ++i)
            t.push_back({VkF1 + i, quint32(0xffbe + i), Qt::Key_F1 + i});
        for (int i = 0; i < 10; ++i)
            t.push_back({VkNumpad0 + i, quint32(0xffb0 + i), keypad(Qt::Key_0 + i)});
        t.insert(t.end(), {
                              {VkMultiply, 0xffaa, keypad(Qt::Key_Asterisk)},
                              {VkAdd, 0xffab, keypad(Qt::Key_Plus)},
                              {VkSubtract, 0xffad, keypad(Qt::Key_Minus)},
                              {VkDecimal, 0xffae, keypad(Qt::Key_Period)},
                              {VkDivide, 0xffaf, keypad(Qt::Key_Slash)},
                              {VkLeft, 0xff51, Qt::Key_Left},
                              {VkUp, 0xff52, Qt::Key_Up},
                              {VkRight, 0xff53, Qt::Key_Right},
                              {VkDown, 0xff54, Qt::Key_Down},
                              {VkHome, 0xff50, Qt::Key_Home},
                              {VkEnd, 0xff57, Qt::Key_End},
                              {VkPrior, 0xff55, Qt::Key_PageUp},
                              {VkNext, 0xff56, Qt::Key_PageDown},
                              {VkInsert, 0xff63, Qt::Key_Insert},
                              {VkDelete, 0xffff, Qt::Key_Delete},
                              {VkSpace, 0x0020, Qt::Key_Space},
                              {VkReturn, 0xff0d, Qt::Key_Return},
                              {VkTab, 0xff09, Qt::Key_Tab},
                              {VkBack, 0xff08, Qt::Key_Backspace},
                              {VkEscape, 0xff1b, Qt::Key_Escape},
                              {VkPause, 0xff13, Qt::Key_Pause},
                              {VkOem1, 0x003b, Qt::Key_Semicolon},
                              {VkOemPlus, 0x003d, Qt::Key_Equal},
                              {VkOemComma, 0x002c, Qt::Key_Comma},
                              {VkOemMinus, 0x002d, Qt::Key_Minus},
                              {VkOemPeriod, 0x002e, Qt::Key_Period},
                              {VkOem2, 0x002f, Qt::Key_Slash},
                              {VkOem3, 0x0060, Qt::Key_QuoteLeft},
                              {VkOem4, 0x005b, Qt::Key_BracketLeft},
                              {VkOem5, 0x005c, Qt::Key_Backslash},
                              {VkOem6, 0x005d, Qt::Key_BracketRight},
                              {VkOem7, 0x0027, Qt::Key_Apostrophe},
                          });
        return t;
    }();
    return table;
}

const Key *keyOfVk(int vk)
{
    for (const Key &key : keys()) {
        if (key.vk == vk)
            return &key;
    }
    return nullptr;
}

// Upper-case letter keysyms and the keypad's Enter.
int vkFromKeysymAlias(quint32 keysym)
{
    if (keysym >= 'A' && keysym <= 'Z')
        return int(keysym);
    return keysym == 0xff8d ? VkReturn : 0;
}

// Qt keys a key press may give besides the table's own: Enter, Shift+Tab and the shifted
// symbols of a US keyboard.
const std::vector<Alias> &qtAliases()
{
    static const std::vector<Alias> aliases = {
        {Qt::Key_Enter, VkReturn},      {Qt::Key_Backtab, VkTab},
        {Qt::Key_Exclam, '1'},          {Qt::Key_At, '2'},
        {Qt::Key_NumberSign, '3'},      {Qt::Key_Dollar, '4'},
        {Qt::Key_Percent, '5'},         {Qt::Key_AsciiCircum, '6'},
        {Qt::Key_Ampersand, '7'},       {Qt::Key_Asterisk, '8'},
        {Qt::Key_ParenLeft, '9'},       {Qt::Key_ParenRight, '0'},
        {Qt::Key_Colon, VkOem1},        {Qt::Key_Plus, VkOemPlus},
        {Qt::Key_Less, VkOemComma},     {Qt::Key_Underscore, VkOemMinus},
        {Qt::Key_Greater, VkOemPeriod}, {Qt::Key_Question, VkOem2},
        {Qt::Key_AsciiTilde, VkOem3},   {Qt::Key_BraceLeft, VkOem4},
        {Qt::Key_Bar, VkOem5},          {Qt::Key_BraceRight, VkOem6},
        {Qt::Key_QuoteDbl, VkOem7},
    };
    return aliases;
}

int vkFromExactQtKey(int qtKey)
{
    for (const Key &key : keys()) {
        if (key.qtKey == qtKey)
            return key.vk;
    }
    for (const Alias &alias : qtAliases()) {
        if (alias.from == qtKey)
            return alias.vk;
    }
    return 0;
}

} // namespace

quint32 VirtualKeys::keysymFromVk(int vk)
{
    const Key *key = keyOfVk(vk);
    return key ? key->keysym : 0;
}

int VirtualKeys::vkFromKeysym(quint32 keysym)
{
    for (const Key &key : keys()) {
        if (key.keysym == keysym)
            return key.vk;
    }
    return vkFromKeysymAlias(keysym);
}

int VirtualKeys::qtKeyFromVk(int vk)
{
    const Key *key = keyOfVk(vk);
    return key ? key->qtKey : 0;
}

int VirtualKeys::vkFromQtKey(int qtKey)
{
    const int plain = qtKey & ~int(Qt::KeyboardModifierMask);
    if (qtKey & Qt::KeypadModifier) {
        // Keypad keys without a keypad entry (its Enter, or Home with NumLock off) are the
        // ordinary keys.
        if (const int vk = vkFromExactQtKey(keypad(plain)))
            return vk;
    }
    return vkFromExactQtKey(plain);
}
