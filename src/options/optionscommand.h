#pragma once

#include "optionsservices.h"

#include <functional>

struct NotesSettings;
class QWidget;

// What the options command needs of the main window besides OptionsServices.
struct OptionsWindow
{
    // After OK: the editor and the highlighter take the settings: word wrap (with a vertical
    // scroll bar only when wrapping, both scroll bars when not), the gutter, the six colours
    // and the keyword list.
    std::function<void()> applySettings;
    // After OK: SettingsChanged := true, then saveNotes().
    std::function<void()> saveSettings;
    // Shows or hides the tray icon.
    std::function<void(bool)> setTrayIconVisible;
    // UpdateCaption: the caption names the hot key now in force.
    std::function<void()> updateCaption;
};

namespace OptionsCommand {

// The main window's Options command (OptionsExecute): shows the options dialog through the
// dialog seam, then
//   1. after OK: applySettings(), saveSettings();
//   2. whatever the outcome, unless a hot key is registered and registering it again works:
//      the tray icon is forced on, a beep, and the plain message "Hot Key is not set up",
//      a CR, "You will need to use the Tray Icon to Activate Quillbox";
//   3. the tray icon is shown exactly when settings.showTrayIcon is set;
//   4. the dialog is destroyed and updateCaption() runs.
// Returns whether the dialog closed with OK.
bool execute(NotesSettings &settings, bool &hotKeyRegistered, const OptionsServices &services,
             const OptionsWindow &window, QWidget *parent);

} // namespace OptionsCommand
