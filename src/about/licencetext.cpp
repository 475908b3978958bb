#include "licencetext.h"

#include <QFile>
#include <QStringList>

namespace {
// Lines indented this far are centred headings, not running text.
constexpr qsizetype HeadingIndent = 8;

qsizetype indentOf(const QString &line)
{
    qsizetype blanks = 0;
    while (blanks < line.size() && line.at(blanks).isSpace())
        ++blanks;
    return blanks;
}
} // namespace

QString LicenceText::load()
{
    QFile file(QStringLiteral(":/about/LICENSE"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return unwrapped(QString::fromUtf8(file.readAll()));
}

QString LicenceText::unwrapped(const QString &text)
{
    QStringList lines;
    bool inParagraph = false;
    for (const QString &line : text.split(u'\n')) {
        const QString words = line.trimmed();
        if (words.isEmpty()) {
            lines.append(QString());
            inParagraph = false;
        } else if (inParagraph && indentOf(line) < HeadingIndent) {
            lines.last() += u' ' + words;
        } else {
            lines.append(words);
            inParagraph = indentOf(line) < HeadingIndent;
        }
    }
    return lines.join(u'\n');
}
