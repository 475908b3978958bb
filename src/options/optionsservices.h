#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the options dialog needs from outside: the main window's hot-key registration, the
// start-up shortcut, the folder browser and the help launcher.
struct OptionsServices
{
    // RegisterAppHotKey: registers NotesSettings::hotKeyCode, stores the outcome in the main
    // window's HotKeyRegistered, reports a failure itself and returns the outcome.
    std::function<bool()> registerHotKey;
    // Whether the program is started at log-on, and making it so (or not). Setting it answers
    // why the start-up entry could not be written or removed, empty when it was done.
    std::function<bool()> startupShortcutPresent;
    std::function<QString(bool)> setStartupShortcutPresent;
    // Lets the user pick a folder, starting at the one given; empty when cancelled.
    std::function<QString(const QString &)> browseForFolder;
    // Opens the help for a help context.
    std::function<void(int)> showHelp;
    // How the hot key works now, shown in one line under the hot key; none: no line.
    std::function<QString()> hotKeyRoute;
    // Turns the encryption of protected pages on or off, asking for the password; false, and
    // nothing changed, when the user cancelled. None: encryption is not changed here.
    std::function<bool(bool on)> setEncryption;

    // The services of the running program: the start-up shortcut to this program's file
    // (on a substituted drive, its real path) titled with the product name, and the platform's
    // folder picker over parent.
    static OptionsServices standard(std::function<bool()> registerHotKey,
                                    std::function<void(int)> showHelp, QWidget *parent);
};
