#pragma once

#include "highlighterattribute.h"
#include "keywordlist.h"
#include "notestokenizer.h"

#include <QList>
#include <QObject>
#include <QTextCharFormat>
#include <array>

class NoteEditor;
class QTextBlock;
class QTextDocument;
struct DisplaySettings;

// Colours the notes of one document: keywords bold in aqua and numbers in yellow; every other
// token keeps the editor's own colours unless its attribute is given one.
//
// No state passes from one line to the next, so a block's colours depend on its own text alone:
// only the blocks an editor is about to paint are coloured (colourBlock), and each stays
// coloured until its text or the highlighter's settings change. A block that is never shown gets
// no layout and no formats. Colouring sets the formats of the block's layout; it changes no text,
// records no undo step and raises no change of the document.
class NotesHighlighter : public QObject
{
    Q_OBJECT

public:
    // Colours blocks of the document, as the document's child.
    explicit NotesHighlighter(QTextDocument *document);

    QTextDocument *document() const;

    // The eight attributes in their order: "Comment", "Identifier", "Reserved Word", "Number",
    // "Space", "String", "Symbol", "Preprocessor".
    const QList<HighlighterAttribute *> &attributes() const { return m_attributes; }
    HighlighterAttribute *keyAttri() const { return m_keyAttri; }
    HighlighterAttribute *numberAttri() const { return m_numberAttri; }
    // The attribute a kind of token is drawn with; none for Null.
    HighlighterAttribute *attributeFor(TokenKind kind) const;

    const KeywordList &keywords() const { return m_keywords; }
    // The words are changed to ASCII upper case.
    void setKeyWords(const QStringList &words);
    // The entries keep their spelling (how the options and the Notes file fill the list).
    void setKeywordEntries(const QStringList &entries);

    // The editor's text and background colours, the number and keyword colours and the keyword
    // entries, asking for one recolouring.
    void applyDisplaySettings(const DisplaySettings &settings, NoteEditor &editor);

    // Gives a block of the document the formats of its tokens (only the formats that draw
    // something), unless it has them for its text and the current settings already. A block of
    // another document is left alone.
    void colourBlock(const QTextBlock &block);
    // Whether the block has the formats of its text and of the current settings.
    bool isColoured(const QTextBlock &block) const;

signals:
    // A keyword or attribute change left every block to be coloured again: whoever shows the
    // document colours what is on screen now and repaints it.
    void recolourNeeded();

private:
    static constexpr int TokenKindCount = int(TokenKind::Other) + 1;

    HighlighterAttribute *addAttribute(const QString &name,
                                       HighlighterAttribute::Styles style = {});
    void attributeChanged();
    void recolour();
    void textChanged(int from, int charsRemoved, int charsAdded);

    KeywordList m_keywords;
    NotesTokenizer m_tokenizer;
    QList<HighlighterAttribute *> m_attributes;
    HighlighterAttribute *m_commentAttri;
    HighlighterAttribute *m_identifierAttri;
    HighlighterAttribute *m_keyAttri;
    HighlighterAttribute *m_numberAttri;
    HighlighterAttribute *m_spaceAttri;
    HighlighterAttribute *m_stringAttri;
    HighlighterAttribute *m_symbolAttri;
    HighlighterAttribute *m_preprocessorAttri;
    std::array<QTextCharFormat, TokenKindCount> m_formats; // by kind, as the settings draw them
    // Kept by each coloured block (QTextBlock::userState); changing the settings counts it up,
    // so that every block is coloured again when it is next painted.
    int m_generation = 0;
    bool m_holdRecolour = false;
};
