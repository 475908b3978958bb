#pragma once

#include <QString>

// The texts the notes window shows about itself.
namespace WindowTexts {

// "Quillbox by Brackmoor    (Esc = Hide)", with "  Ctrl+Alt+N = Activate" before the closing
// parenthesis when a hot key is set (modifier index * 1000 + virtual-key code).
QString caption(int hotKeyCode);

// The caret panel of the status line: "Line: %3d   Col: %3d".
QString caretPosition(int line, int column);

// The hint panel of the status line while a secret copied word waits to be cleared:
// "Copied – clears in 30 s".
QString copiedHint(int secondsLeft);

} // namespace WindowTexts
