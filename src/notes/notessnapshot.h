#pragma once

#include "notessettings.h"
#include "inistore/linebuffer.h"
#include "notesstore.h"

#include <QList>
#include <string>
#include <vector>

// The settings and pages one content of the Notes file holds, read from its (deciphered)
// lines as the start-up read would read them.
namespace NotesSnapshot {

void read(const LineBuffer &lines, NotesSettings &settings, QList<StoredPage> &pages);

} // namespace NotesSnapshot
