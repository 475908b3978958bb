#include "noteeditor.h"

#include "documenttext.h"
#include "linenumbergutter.h"
#include "pagedocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <limits>

namespace {
constexpr int fontPixelSize = 13;
constexpr int tabWidthInBlanks = 8;
const QColor defaultTextColor = Qt::white;
const QColor defaultBackgroundColor = Qt::black;

bool isMonospaced(const QFont &font)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(QLatin1Char('i')) ==
           metrics.horizontalAdvance(QLatin1Char('W'));
}

// "Courier New", or what the system puts in its place when that is monospaced too; otherwise
// the system's fixed-pitch family.
QFont editorFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(fontPixelSize);
    if (!isMonospaced(font)) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(fontPixelSize);
    }
    return font;
}
} // namespace

NoteEditor::NoteEditor(QWidget *parent)
    : QPlainTextEdit(parent), m_ownDocument(new PageDocument({}, this)),
      m_gutter(new LineNumberGutter(this))
{
    setFont(editorFont());
    setPaletteColor(QPalette::Text, defaultTextColor);
    setPaletteColor(QPalette::Base, defaultBackgroundColor);
    setTabChangesFocus(false);
    setWordWrap(false);

    connect(this, &QPlainTextEdit::textChanged, this, &NoteEditor::emitChanged);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &NoteEditor::statusChanged);
    connect(this, &QPlainTextEdit::selectionChanged, this, &NoteEditor::statusChanged);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &NoteEditor::updateGutterGeometry);
    connect(this, &QPlainTextEdit::updateRequest, this, &NoteEditor::updateGutterArea);
    connect(m_gutter, &LineNumberGutter::doubleClicked, this, &NoteEditor::doubleClicked);

    showDocument(m_ownDocument);
}

NoteEditor::~NoteEditor()
{
    // A page document may outlive the editor: leave it without a pointer to this viewport.
    disconnect(m_pageDeletion);
    blockSignals(true);
    setDocument(m_ownDocument);
}

QString NoteEditor::text() const
{
    return DocumentText::text(*document());
}

void NoteEditor::setText(const QString &text)
{
    DocumentText::setText(*document(), text);
    setCaretPosition(0);
}

void NoteEditor::showPageDocument(PageDocument *document, int caretX, int caretY, int topLine)
{
    showDocument(document);
    // Losing the page is no edit: the editor shows nothing until the next page is entered.
    m_pageDeletion = connect(document, &PageDocument::aboutToBeDeleted, this, [this] {
        const ProgramChange letGo(*this);
        showPlaceholder(QString());
    });
    setReadOnly(false);
    setCaretXY(caretX, caretY);
    setTopLine(topLine);
}

void NoteEditor::showPlaceholder(const QString &text)
{
    showDocument(m_ownDocument);
    setText(text);
    setReadOnly(true);
    // The caret still moves by keyboard, so the status line can follow it.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QStringList NoteEditor::takePageLines()
{
    const QStringList lines = DocumentText::lines(*document());
    const ProgramChange trim(*this);
    DocumentText::trimLastEmptyLine(*document());
    return lines;
}

bool NoteEditor::isShowingPageDocument() const
{
    return document() != m_ownDocument;
}

int NoteEditor::caretX() const
{
    return textCursor().positionInBlock() + 1;
}

int NoteEditor::caretY() const
{
    return textCursor().blockNumber() + 1;
}

void NoteEditor::setCaretX(int column)
{
    setCaretXY(column, caretY());
}

void NoteEditor::setCaretY(int line)
{
    setCaretXY(caretX(), line);
}

void NoteEditor::setCaretXY(int column, int line)
{
    const QTextDocument *doc = document();
    const QTextBlock block = doc->findBlockByNumber(std::clamp(line - 1, 0, doc->blockCount() - 1));
    setCaretPosition(block.position() + std::clamp(column - 1, 0, block.length() - 1));
}

int NoteEditor::topLine() const
{
    return firstVisibleBlock().blockNumber() + 1;
}

void NoteEditor::setTopLine(int line)
{
    const QTextDocument *doc = document();
    const QTextBlock block = doc->findBlockByNumber(std::clamp(line - 1, 0, doc->blockCount() - 1));
    verticalScrollBar()->setValue(block.firstLineNumber());
}

int NoteEditor::selStart() const
{
    return DocumentText::offsetFromPosition(*document(), textCursor().selectionStart());
}

int NoteEditor::selLength() const
{
    const QTextCursor cursor = textCursor();
    return DocumentText::offsetFromPosition(*document(), cursor.selectionEnd()) -
           DocumentText::offsetFromPosition(*document(), cursor.selectionStart());
}

void NoteEditor::setSelStart(int offset)
{
    setCaretPosition(DocumentText::positionFromOffset(*document(), offset));
}

void NoteEditor::setSelLength(int length)
{
    const int start = selStart();
    const qint64 end =
        std::clamp<qint64>(qint64(start) + length, 0, std::numeric_limits<int>::max());
    setSelection(DocumentText::positionFromOffset(*document(), start),
                 DocumentText::positionFromOffset(*document(), int(end)));
}

bool NoteEditor::canUndo() const
{
    return !isReadOnly() && document()->isUndoAvailable();
}

bool NoteEditor::canRedo() const
{
    return !isReadOnly() && document()->isRedoAvailable();
}

void NoteEditor::undo()
{
    if (canUndo())
        QPlainTextEdit::undo();
}

void NoteEditor::redo()
{
    if (canRedo())
        QPlainTextEdit::redo();
}

void NoteEditor::deleteSelection()
{
    QTextCursor cursor = textCursor();
    if (isReadOnly() || !cursor.hasSelection())
        return;
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

bool NoteEditor::wordWrap() const
{
    return lineWrapMode() == QPlainTextEdit::WidgetWidth;
}

void NoteEditor::setWordWrap(bool on)
{
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

bool NoteEditor::isGutterVisible() const
{
    return m_gutterVisible;
}

void NoteEditor::setGutterVisible(bool visible)
{
    m_gutterVisible = visible;
    m_gutter->setVisible(visible);
    updateGutterGeometry();
}

QColor NoteEditor::textColor() const
{
    return palette().color(QPalette::Text);
}

void NoteEditor::setTextColor(const QColor &color)
{
    setPaletteColor(QPalette::Text, color.isValid() ? color : defaultTextColor);
}

QColor NoteEditor::backgroundColor() const
{
    return palette().color(QPalette::Base);
}

void NoteEditor::setBackgroundColor(const QColor &color)
{
    setPaletteColor(QPalette::Base, color.isValid() ? color : defaultBackgroundColor);
}

void NoteEditor::repaintShownBlocks()
{
    announceShownBlocks();
    viewport()->update();
    m_gutter->update();
}

void NoteEditor::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyFontToDocument();
        updateGutterGeometry();
    }
}

void NoteEditor::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void NoteEditor::paintEvent(QPaintEvent *event)
{
    announceShownBlocks();
    QPlainTextEdit::paintEvent(event);
}

void NoteEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    updateGutterGeometry();
}

void NoteEditor::showDocument(QTextDocument *document)
{
    disconnect(m_pageDeletion);
    if (document != this->document()) {
        auto *previous = qobject_cast<PageDocument *>(this->document());
        setDocument(document);
        if (previous)
            previous->releaseLayout();
        document->documentLayout()->setPaintDevice(viewport());
        applyFontToDocument();
        updateGutterGeometry();
    }
}

// The blocks QPlainTextEdit paints: from the first visible one while its top is inside the
// viewport. Each is announced before it is measured, so that it is laid out with its formats.
void NoteEditor::announceShownBlocks()
{
    QTextBlock block = firstVisibleBlock();
    if (!block.isValid())
        return;
    emit blockAboutToBePainted(block);
    const qreal bottom = viewport()->height();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    for (;;) {
        top += blockBoundingRect(block).height();
        block = block.next();
        if (!block.isValid() || top > bottom)
            return;
        emit blockAboutToBePainted(block);
    }
}

void NoteEditor::applyFontToDocument()
{
    document()->setDefaultFont(font());
    setTabStopDistance(tabWidthInBlanks * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
}

void NoteEditor::updateGutterGeometry()
{
    const int width = m_gutterVisible ? m_gutter->preferredWidth() : 0;
    setViewportMargins(width, 0, 0, 0);
    const QRect area = contentsRect();
    m_gutter->setGeometry(area.left(), area.top(), width, area.height());
}

void NoteEditor::updateGutterArea(const QRect &rect, int dy)
{
    if (dy != 0)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
}

void NoteEditor::setPaletteColor(QPalette::ColorRole role, const QColor &color)
{
    QPalette colours = palette();
    colours.setColor(role, color);
    setPalette(colours);
}

void NoteEditor::setCaretPosition(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
}

void NoteEditor::setSelection(int anchor, int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void NoteEditor::emitChanged()
{
    if (m_programChanges == 0)
        emit changed();
}
