#pragma once

#include <QString>

// The entry in the user's start-up folder that starts a program at log-on. Windows: a shell
// link (.lnk) in the Startup folder of the user's Shell Folders. Elsewhere: an XDG autostart
// entry (.desktop) in $XDG_CONFIG_HOME/autostart whose Exec names the program.
//
// Any entry in the folder that starts the program counts, whatever its name; it is the one
// removed, and only the first one when there are several. Nothing is kept between uses:
// presence is found out anew each time the program is set.
class StartupShortcut
{
public:
    StartupShortcut();

    // The start-up folder, ending in a separator; empty when it cannot be found.
    QString folderLocation() const { return m_folder; }

    QString programName() const { return m_programName; }
    // A trailing separator is dropped. A new name runs the presence check, which also sets
    // the title to the name of the entry found, or empties it.
    void setProgramName(const QString &path);

    // The entry's file name without its extension; a new entry takes the program's file name
    // without its extension when this is empty.
    QString shortcutTitle() const { return m_title; }
    void setShortcutTitle(const QString &title) { m_title = title; }

    bool isShortcutPresent() const { return m_present; }
    // Creates (true) or removes (false) the entry, but only when present differs from the
    // value held: setting the value held touches nothing. False when the entry could not be
    // written or deleted (errorString() says why); the next presence check tells the truth.
    bool setShortcutPresent(bool present);
    // Why the last setShortcutPresent failed, for the user: "Unable to create directory" when
    // the start-up folder is unknown or cannot be made (with the folder on a second line when
    // it is known), otherwise the entry's path and the system's reason. Empty after success.
    QString errorString() const { return m_error; }

private:
    QString findEntry() const;
    bool checkPresence();
    bool create();
    bool remove();

    // One implementation per platform.
    static QString startupFolder();
    static QString entrySuffix();
    static QString linkTarget(const QString &entryPath);
    static bool sameProgram(const QString &target, const QString &program);
    // Writes the entry that starts the program; on failure reason says why.
    bool writeEntry(const QString &entryPath, QString &reason);

    QString m_folder;
    QString m_programName;
    QString m_title;
    QString m_error;
    bool m_present = false;
};
