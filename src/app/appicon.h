#pragma once

#include <QIcon>

// The program's icon for its windows and the tray, from the compiled-in resources (the drawing
// and its 32 and 64 pixel renderings). Needs the quillbox_resources objects in the program.
QIcon appIcon();
