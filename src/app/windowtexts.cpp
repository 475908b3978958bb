#include "windowtexts.h"

#include "components/hotkeycode.h"
#include "components/productname.h"

namespace {
QString modifierName(HotKeyCode::Modifier modifier)
{
    switch (modifier) {
    case HotKeyCode::Modifier::CtrlAlt:
        return QStringLiteral("Ctrl+Alt+");
    case HotKeyCode::Modifier::CtrlShift:
        return QStringLiteral("Ctrl+Shift+");
    case HotKeyCode::Modifier::Win:
        break;
    }
    return QStringLiteral("Win+");
}
} // namespace

QString WindowTexts::caption(int hotKeyCode)
{
    QString text = productName() + QStringLiteral(" by Brackmoor    (Esc = Hide");
    const HotKeyCode hotKey(hotKeyCode);
    if (!hotKey.isNone())
        text += QStringLiteral("  ") + modifierName(hotKey.modifier()) +
                QChar(hotKey.virtualKey()) + QStringLiteral(" = Activate");
    return text + QLatin1Char(')');
}

QString WindowTexts::caretPosition(int line, int column)
{
    return QStringLiteral("Line: %1   Col: %2").arg(line, 3).arg(column, 3);
}

QString WindowTexts::copiedHint(int secondsLeft)
{
    return QStringLiteral("Copied \u2013 clears in %1 s").arg(secondsLeft);
}
