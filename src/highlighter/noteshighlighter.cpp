#include "noteshighlighter.h"

#include "displaysettings.h"
#include "editor/noteeditor.h"

#include <QScopedValueRollback>
#include <QTextDocument>

namespace {
using Style = HighlighterAttribute::Style;
using Styles = HighlighterAttribute::Styles;

const QColor aqua(0, 255, 255);
const QColor yellow(255, 255, 0);
} // namespace

NotesHighlighter::NotesHighlighter(QObject *parent)
    : QSyntaxHighlighter(parent), m_tokenizer(m_keywords),
      m_commentAttri(addAttribute(QStringLiteral("Comment"), Style::Italic)),
      m_identifierAttri(addAttribute(QStringLiteral("Identifier"))),
      m_keyAttri(addAttribute(QStringLiteral("Reserved Word"), Style::Bold)),
      m_numberAttri(addAttribute(QStringLiteral("Number"))),
      m_spaceAttri(addAttribute(QStringLiteral("Space"))),
      m_stringAttri(addAttribute(QStringLiteral("String"))),
      m_symbolAttri(addAttribute(QStringLiteral("Symbol"))),
      m_preprocessorAttri(addAttribute(QStringLiteral("Preprocessor")))
{
    m_keyAttri->setForeground(aqua);
    m_numberAttri->setForeground(yellow);
    m_keywords.setKeyWords({QStringLiteral("HTTP"), QStringLiteral("PASSWORD"),
                            QStringLiteral("PW"), QStringLiteral("PWD"), QStringLiteral("UN"),
                            QStringLiteral("USER"), QStringLiteral("USERNAME"),
                            QStringLiteral("WWW")});
}

HighlighterAttribute *NotesHighlighter::attributeFor(TokenKind kind) const
{
    switch (kind) {
    case TokenKind::Comment:
        return m_commentAttri;
    case TokenKind::Identifier:
        return m_identifierAttri;
    case TokenKind::Key:
        return m_keyAttri;
    case TokenKind::Number:
        return m_numberAttri;
    case TokenKind::Preprocessor:
        return m_preprocessorAttri;
    case TokenKind::Space:
        return m_spaceAttri;
    case TokenKind::String:
        return m_stringAttri;
    case TokenKind::Symbol:
    case TokenKind::Other:
        return m_symbolAttri;
    case TokenKind::Null:
        break;
    }
    return nullptr;
}

void NotesHighlighter::setKeyWords(const QStringList &words)
{
    m_keywords.setKeyWords(words);
    repaint();
}

void NotesHighlighter::setKeywordEntries(const QStringList &entries)
{
    m_keywords.setEntries(entries);
    repaint();
}

void NotesHighlighter::applyDisplaySettings(const DisplaySettings &settings, NoteEditor &editor)
{
    editor.setTextColor(settings.color);
    editor.setBackgroundColor(settings.colorBk);
    {
        const QScopedValueRollback<bool> hold(m_holdRepaint, true);
        m_numberAttri->setForeground(settings.colorN);
        m_numberAttri->setBackground(settings.colorNBk);
        m_keyAttri->setForeground(settings.colorK);
        m_keyAttri->setBackground(settings.colorKBk);
    }
    if (m_repaintHeld) {
        const NoteEditor::ProgramChange colouring(editor);
        repaint();
    }
}

void NotesHighlighter::highlightBlock(const QString &text)
{
    for (m_tokenizer.setLine(text); !m_tokenizer.atEndOfLine(); m_tokenizer.next()) {
        if (const HighlighterAttribute *attribute = attributeFor(m_tokenizer.tokenKind()))
            setFormat(m_tokenizer.tokenStart(), m_tokenizer.tokenLength(), attribute->format());
    }
}

HighlighterAttribute *NotesHighlighter::addAttribute(const QString &name, Styles style)
{
    auto *attribute = new HighlighterAttribute(name, style, this);
    connect(attribute, &HighlighterAttribute::changed, this, &NotesHighlighter::attributeChanged);
    m_attributes.append(attribute);
    return attribute;
}

void NotesHighlighter::attributeChanged()
{
    if (m_holdRepaint)
        m_repaintHeld = true;
    else
        repaint();
}

void NotesHighlighter::repaint()
{
    m_repaintHeld = false;
    QTextDocument *doc = document();
    if (!doc)
        return;
    rehighlight();
}
