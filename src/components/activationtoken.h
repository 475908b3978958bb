#pragma once

#include <QString>

// An activation token that a launcher or the desktop portal handed over, kept where Qt's
// Wayland platform finds it when the window is next activated, so that the compositor lets the
// window take the focus. An empty token changes nothing.
void useActivationToken(const QString &token);
