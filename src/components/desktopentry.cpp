#include "desktopentry.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

namespace {

const QString group = QStringLiteral("[Desktop Entry]");

// Characters that stand behind a backslash inside a quoted argument of Exec.
bool isQuotedEscape(QChar c)
{
    return c == u'"' || c == u'`' || c == u'$' || c == u'\\';
}

// The string escapes of a value besides \s, which stands for a blank only at its start.
struct ValueEscape
{
    QChar letter;
    QChar character;
};
const ValueEscape valueEscapes[] = {{u'n', u'\n'}, {u't', u'\t'}, {u'r', u'\r'}, {u'\\', u'\\'}};

} // namespace

QString DesktopEntry::escapeValue(const QString &text)
{
    QString value;
    for (QChar c : text) {
        const auto escape = std::ranges::find(valueEscapes, c, &ValueEscape::character);
        if (escape != std::end(valueEscapes)) {
            value += u'\\';
            value += escape->letter;
        } else {
            value += c;
        }
    }
    if (value.startsWith(u' '))
        value.replace(0, 1, QStringLiteral("\\s"));
    return value;
}

QString DesktopEntry::unescapeValue(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar letter = value.at(++i);
        if (letter == u's') {
            text += u' ';
            continue;
        }
        const auto escape = std::ranges::find(valueEscapes, letter, &ValueEscape::letter);
        if (escape != std::end(valueEscapes))
            text += escape->character;
        else
            text += QString(c) + letter; // not an escape of values: left to the reader of Exec
    }
    return text;
}

QString DesktopEntry::execValue(const QString &program)
{
    QString quoted = QStringLiteral("\"");
    for (QChar c : program) {
        if (isQuotedEscape(c))
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    return quoted.replace(u'%', QStringLiteral("%%"));
}

QString DesktopEntry::firstExecWord(const QString &exec)
{
    QString word;
    qsizetype i = 0;
    while (i < exec.size() && exec.at(i).isSpace())
        ++i;
    if (i < exec.size() && exec.at(i) == u'"') {
        for (++i; i < exec.size() && exec.at(i) != u'"'; ++i) {
            if (exec.at(i) == u'\\' && i + 1 < exec.size() && isQuotedEscape(exec.at(i + 1)))
                ++i;
            word += exec.at(i);
        }
    } else {
        for (; i < exec.size() && !exec.at(i).isSpace(); ++i)
            word += exec.at(i);
    }
    return word.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

QByteArray DesktopEntry::application(const QString &name, const QString &program)
{
    const QStringList lines = {group, QStringLiteral("Type=Application"),
                               QStringLiteral("Name=") + escapeValue(name),
                               QStringLiteral("Exec=") + escapeValue(execValue(program))};
    return (lines.join(u'\n') + u'\n').toUtf8();
}

QString DesktopEntry::startedProgram(const QByteArray &content)
{
    bool inGroup = false;
    QString exec;
    const QStringList lines = QString::fromUtf8(content).split(u'\n');
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == group;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || line.startsWith(u'#') || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Hidden") && value == QLatin1String("true"))
            return {};
        if (key == QLatin1String("Exec"))
            exec = value;
    }
    return firstExecWord(exec);
}
