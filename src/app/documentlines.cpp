#include "documentlines.h"

#include <QTextBlock>
#include <QTextDocument>

namespace DocumentLines {

QStringList of(const QTextDocument &document)
{
    if (document.isEmpty())
        return {};
    QStringList lines;
    lines.reserve(document.blockCount());
    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

bool givesBack(const QStringList &lines)
{
    if (lines.size() == 1 && lines.constFirst().isEmpty())
        return false;
    for (const QString &line : lines) {
        for (const QChar c : line) {
            const char16_t code = c.unicode();
            if (code == u'\n' || code == u'\r' || code == QChar::ParagraphSeparator ||
                code == 0xFDD0 || code == 0xFDD1)
                return false;
        }
    }
    return true;
}

QString searchText(const QTextDocument &document)
{
    if (document.isEmpty())
        return {};
    // The blocks' text in one piece, each block ended by a paragraph separator but the last
    // (QString::replace() of the separators takes ten times as long as this).
    const QString raw = document.toRawText();
    const QLatin1String lineBreak("\r\n");
    QString text;
    text.reserve(raw.size() + document.blockCount() + 1);
    qsizetype start = 0;
    for (qsizetype end = raw.indexOf(QChar::ParagraphSeparator); end >= 0;
         end = raw.indexOf(QChar::ParagraphSeparator, start)) {
        text.append(QStringView(raw).sliced(start, end - start)).append(lineBreak);
        start = end + 1;
    }
    text.append(QStringView(raw).sliced(start)).append(lineBreak);
    return text;
}

} // namespace DocumentLines
