#include "documenttext.h"

#include "textlines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace DocumentText {

namespace {
// Where the block starts in CR-LF counting: every earlier block ends in a two-character break.
int blockOffset(const QTextBlock &block)
{
    return block.position() + block.blockNumber();
}
} // namespace

QString text(const QTextDocument &document)
{
    QStringList blocks;
    blocks.reserve(document.blockCount());
    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return TextLines::join(blocks);
}

QStringList lines(const QTextDocument &document)
{
    return TextLines::split(text(document));
}

void setText(QTextDocument &document, const QString &text)
{
    document.setPlainText(TextLines::split(text).join(QChar(u'\n')));
}

bool trimLastEmptyLine(QTextDocument &document)
{
    const QTextBlock last = document.lastBlock();
    if (document.blockCount() < 2 || !last.text().isEmpty())
        return false;
    QTextCursor cursor(&document);
    cursor.joinPreviousEditBlock();
    cursor.setPosition(last.position() - 1);
    cursor.setPosition(last.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    return true;
}

int offsetFromPosition(const QTextDocument &document, int position)
{
    const int clamped = std::clamp(position, 0, document.characterCount() - 1);
    return clamped + document.findBlock(clamped).blockNumber();
}

int positionFromOffset(const QTextDocument &document, int offset)
{
    // The last block whose start is not beyond the offset holds it.
    int low = 0;
    int high = document.blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (blockOffset(document.findBlockByNumber(middle)) <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = document.findBlockByNumber(low);
    const int column = std::clamp(offset - blockOffset(block), 0, block.length() - 1);
    return block.position() + column;
}

} // namespace DocumentText
