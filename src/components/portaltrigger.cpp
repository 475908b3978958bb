#include "portaltrigger.h"

#include "hotkeycode.h"
#include "virtualkeys.h"

#include <QHash>

namespace {

QString modifierText(HotKeyCode::Modifier modifier)
{
    switch (modifier) {
    case HotKeyCode::Modifier::CtrlAlt:
        return QStringLiteral("CTRL+ALT");
    case HotKeyCode::Modifier::CtrlShift:
        return QStringLiteral("CTRL+SHIFT");
    case HotKeyCode::Modifier::Win:
        break;
    }
    return QStringLiteral("LOGO");
}

// The names of the keysyms our key table holds besides letters, digits, F-keys and keypad
// digits.
QString namedKeysym(quint32 keysym)
{
    static const QHash<quint32, QString> names = {
        {0xffaa, QStringLiteral("KP_Multiply")},  {0xffab, QStringLiteral("KP_Add")},
        {0xffad, QStringLiteral("KP_Subtract")},  {0xffae, QStringLiteral("KP_Decimal")},
        {0xffaf, QStringLiteral("KP_Divide")},    {0xff51, QStringLiteral("Left")},
        {0xff52, QStringLiteral("Up")},           {0xff53, QStringLiteral("Right")},
        {0xff54, QStringLiteral("Down")},         {0xff50, QStringLiteral("Home")},
        {0xff57, QStringLiteral("End")},          {0xff55, QStringLiteral("Prior")},
        {0xff56, QStringLiteral("Next")},         {0xff63, QStringLiteral("Insert")},
        {0xffff, QStringLiteral("Delete")},       {0x0020, QStringLiteral("space")},
        {0xff0d, QStringLiteral("Return")},       {0xff09, QStringLiteral("Tab")},
        {0xff08, QStringLiteral("BackSpace")},    {0xff1b, QStringLiteral("Escape")},
        {0xff13, QStringLiteral("Pause")},        {0x003b, QStringLiteral("semicolon")},
        {0x003d, QStringLiteral("equal")},        {0x002c, QStringLiteral("comma")},
        {0x002d, QStringLiteral("minus")},        {0x002e, QStringLiteral("period")},
        {0x002f, QStringLiteral("slash")},        {0x0060, QStringLiteral("grave")},
        {0x005b, QStringLiteral("bracketleft")},  {0x005c, QStringLiteral("backslash")},
        {0x005d, QStringLiteral("bracketright")}, {0x0027, QStringLiteral("apostrophe")},
    };
    return names.value(keysym);
}

QString keysymName(quint32 keysym)
{
    if (keysym >= 'a' && keysym <= 'z')
        return QString(QChar(char16_t(keysym - 'a' + 'A')));
    if (keysym >= '0' && keysym <= '9')
        return QString(QChar(char16_t(keysym)));
    if (keysym >= 0xffbe && keysym < 0xffbe + 24)
        return QStringLiteral("F%1").arg(keysym - 0xffbe + 1);
    if (keysym >= 0xffb0 && keysym <= 0xffb9)
        return QStringLiteral("KP_%1").arg(keysym - 0xffb0);
    return namedKeysym(keysym);
}

} // namespace

QString PortalTrigger::fromHotKeyCode(int code)
{
    const HotKeyCode hotKey(code);
    if (hotKey.isNone())
        return QString();
    const QString key = keysymName(VirtualKeys::keysymFromVk(hotKey.virtualKey()));
    return key.isEmpty() ? QString() : modifierText(hotKey.modifier()) + u'+' + key;
}
