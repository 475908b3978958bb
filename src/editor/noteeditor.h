#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QStringList>

class LineNumberGutter;
class PageDocument;
class QTextBlock;
class QTextDocument;

// The notes editor: a plain-text editor with a line-number gutter, white on black in a 13-pixel
// monospace font, where Tab types a tab character. Lines and columns are 1-based; character
// offsets are 0-based and count a line break as two characters, like the text joined with CR LF.
//
// Each page keeps its text and its undo and redo histories in a PageDocument of its own; the
// editor shows one page document at a time, or the locked placeholder in a document of its own
// that no page shares.
//
// Colours are given to the blocks on screen only: before the text or the gutter is painted, each
// block on screen is announced (blockAboutToBePainted), so that a highlighter can give it its
// formats before the editor measures and draws it.
class NoteEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit NoteEditor(QWidget *parent = nullptr);
    ~NoteEditor() override;

    // The one way to say "this change is not an edit": while a ProgramChange lives, changes of
    // the shown text are the program's own (showing a page, trimming it, letting go of a deleted
    // page) and the editor raises no changed() for them. They nest.
    class ProgramChange
    {
    public:
        explicit ProgramChange(NoteEditor &editor) : m_editor(editor)
        {
            ++m_editor.m_programChanges;
        }
        ~ProgramChange() { --m_editor.m_programChanges; }
        ProgramChange(const ProgramChange &) = delete;
        ProgramChange &operator=(const ProgramChange &) = delete;

    private:
        NoteEditor &m_editor;
    };

    // The shown document's lines joined by CR LF, no break after the last line.
    QString text() const;
    // Replaces the shown document's text by the text split into lines, empties its histories and
    // puts the caret at line 1, column 1.
    void setText(const QString &text);

    // Page switching. Page-enter shows the page's document writable, with the caret at the given
    // place, the given top line and nothing selected. The placeholder (a locked page, or an
    // empty editor) is shown read-only in the editor's own document, so no page document and
    // no page history is touched. When the shown page document is deleted, the editor shows an
    // empty placeholder without raising any signal.
    void showPageDocument(PageDocument *document, int caretX, int caretY, int topLine);
    void showPlaceholder(const QString &text);
    // Page-leave of an edited page (never of the placeholder): the lines to keep, the text split
    // into lines. An empty last line is not kept; it is removed from the page document too, so
    // that the page shows the same lines when it is entered again.
    QStringList takePageLines();
    bool isShowingPageDocument() const;

    int caretX() const;
    int caretY() const;
    // Setting the caret clamps it to the text and collapses the selection to it.
    void setCaretX(int column);
    void setCaretY(int line);
    void setCaretXY(int column, int line);

    int topLine() const;
    void setTopLine(int line); // clamped to the lines that exist

    // The selection start is the caret offset when nothing is selected.
    int selStart() const;
    int selLength() const;
    void setSelStart(int offset);  // moves the caret there with nothing selected
    void setSelLength(int length); // selects that many characters from the selection start

    // Undo and redo are unavailable while the editor is read-only.
    bool canUndo() const;
    bool canRedo() const;
    void deleteSelection();

    bool wordWrap() const;
    // Wrapping shows only a vertical scroll bar; without wrapping both appear as needed.
    void setWordWrap(bool on);

    bool isGutterVisible() const;
    void setGutterVisible(bool visible);

    // An invalid colour restores the default (white text, black background).
    QColor textColor() const;
    void setTextColor(const QColor &color);
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);

    // Announces every block on screen again, at once, and repaints the text and the gutter:
    // after a change of how blocks are coloured.
    void repaintShownBlocks();

public slots:
    // Undo and redo of the shown document; nothing while read-only (QPlainTextEdit's own
    // would undo even then).
    void undo();
    void redo();

signals:
    // After every change of the text, by the user or by program (also when a document is shown),
    // except the changes made under a ProgramChange.
    void changed();
    // The caret or the selection moved.
    void statusChanged();
    // After a double click in the text selected the word at the caret, or after a double click
    // in the gutter, which selects nothing.
    void doubleClicked();
    // A block on screen is about to be measured and painted, in the text or in the gutter; a
    // handler may set the formats of the block's layout now. Raised for every block on screen
    // at every paint, so a handler returns at once for a block it has coloured already.
    void blockAboutToBePainted(const QTextBlock &block);

protected:
    void changeEvent(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class LineNumberGutter;

    void showDocument(QTextDocument *document);
    void announceShownBlocks();
    void applyFontToDocument();
    void updateGutterGeometry();
    void updateGutterArea(const QRect &rect, int dy);
    void setPaletteColor(QPalette::ColorRole role, const QColor &color);
    void setCaretPosition(int position);
    void setSelection(int anchor, int position);
    void emitChanged();

    QTextDocument *m_ownDocument;
    LineNumberGutter *m_gutter;
    QMetaObject::Connection m_pageDeletion;
    bool m_gutterVisible = true;
    int m_programChanges = 0;
};
