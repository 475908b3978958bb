#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

// The process-wide values kept in the Notes file besides the pages, with the values they hold
// before the file is read. A colour that is not valid means "none": the editor's own colour.
struct NotesSettings
{
    int hotKeyCode = -1; // -1 none, else modifier index * 1000 + virtual-key code
    bool startHidden = false;
    bool backupNotes = false;
    bool showTrayIcon = true;
    bool wrapText = false;
    bool hideDisablesPassword = false;
    QString backupFolder;
    QString customColors; // "ColorA=FFFFFF" lines joined by CR LF
    bool securityEnabled = false;
    QString passwordText;  // at most 30 bytes of UTF-8
    double lastBackup = 0; // days since 1899-12-30, local time
    bool gutterVisible = true;
    QStringList keywords = {QStringLiteral("HTTP"),     QStringLiteral("PASSWORD"),
                            QStringLiteral("PW"),       QStringLiteral("PWD"),
                            QStringLiteral("UN"),       QStringLiteral("USER"),
                            QStringLiteral("USERNAME"), QStringLiteral("WWW")};
    QColor textColor = Qt::white;
    QColor backgroundColor = Qt::black;
    QColor numberColor = Qt::yellow;
    QColor numberBackground;
    QColor keyColor = Qt::cyan;
    QColor keyBackground;
    int clipClearSecs = 30;    // a secret copied word leaves the clipboard after this; 0 never
    bool clipClearAll = false; // words of unprotected pages are secret copies as well
    // Protected pages are kept as sealed lines, under a key derived from the password; the
    // password itself is then not kept ("User2" holds zeros, whatever passwordText holds).
    bool encryptProtected = false;
    QByteArray cryptSalt; // the key derivation's salt, 16 bytes
    QString cryptParams;  // the key derivation's limits, "argon2id,<passes>,<memory bytes>"
    QString cryptCheck;   // the check value that tells the right password's key from others
};
