#pragma once

#include "highlighterattribute.h"
#include "keywordlist.h"
#include "notestokenizer.h"

#include <QList>
#include <QSyntaxHighlighter>

class NoteEditor;
struct DisplaySettings;

// Colours the notes: keywords bold in aqua and numbers in yellow; every other token keeps the
// editor's own colours unless its attribute is given one. Any change of an attribute that
// really changes it repaints the text. Colouring changes no text: whoever repaints a document
// an editor shows does so under the editor's NoteEditor::ProgramChange, so that it is no edit.
class NotesHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit NotesHighlighter(QObject *parent = nullptr);

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

    // The editor's text and background colours, then the number and keyword colours; the
    // repaint is a program change of that editor.
    void applyDisplaySettings(const DisplaySettings &settings, NoteEditor &editor);

protected:
    void highlightBlock(const QString &text) override;

private:
    HighlighterAttribute *addAttribute(const QString &name,
                                       HighlighterAttribute::Styles style = {});
    void attributeChanged();
    void repaint();

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
    bool m_holdRepaint = false;
    bool m_repaintHeld = false;
};
