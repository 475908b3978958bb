// The Qt-free headers of the Windows program that no Qt-free source includes, compiled for
// Windows on their own.
#include "components/hotkeycode.h"
#include "notes/eventloopdelay.h"
