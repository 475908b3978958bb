#pragma once

#include <QByteArray>
#include <QString>

// The little of the freedesktop.org desktop entry format an autostart entry needs: writing an
// application entry for one program, and reading back which program an entry starts.
class DesktopEntry
{
public:
    // "[Desktop Entry]" with Type=Application, Name=name and Exec= the program, quoted.
    static QByteArray application(const QString &name, const QString &program);

    // The program an entry starts: the first word of Exec in its [Desktop Entry] group, with
    // the format's escapes and quoting undone. Empty when there is none, and for an entry
    // marked Hidden=true, which is one that is switched off.
    static QString startedProgram(const QByteArray &content);

    // The value of Exec that starts program with no arguments.
    static QString execValue(const QString &program);
    static QString firstExecWord(const QString &exec);

    // The string escapes of a value: \s, \n, \t, \r and \\.
    static QString escapeValue(const QString &text);
    static QString unescapeValue(const QString &value);
};
