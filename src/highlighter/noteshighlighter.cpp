#include "noteshighlighter.h"

#include "displaysettings.h"
#include "editor/noteeditor.h"

#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {
using Style = HighlighterAttribute::Style;
using Styles = HighlighterAttribute::Styles;

const QColor aqua(0, 255, 255);
const QColor yellow(255, 255, 0);

// The state of a block whose text changed since it was coloured (and of every new block).
constexpr int NotColoured = -1;
} // namespace

NotesHighlighter::NotesHighlighter(QTextDocument *document)
    : QObject(document), m_tokenizer(m_keywords),
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
    connect(document, &QTextDocument::contentsChange, this, &NotesHighlighter::textChanged);
}

QTextDocument *NotesHighlighter::document() const
{
    return static_cast<QTextDocument *>(parent());
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
    recolour();
}

void NotesHighlighter::setKeywordEntries(const QStringList &entries)
{
    m_keywords.setEntries(entries);
    recolour();
}

void NotesHighlighter::applyDisplaySettings(const DisplaySettings &settings, NoteEditor &editor)
{
    editor.setTextColor(settings.color);
    editor.setBackgroundColor(settings.colorBk);
    {
        const QScopedValueRollback<bool> hold(m_holdRecolour, true);
        m_numberAttri->setForeground(settings.colorN);
        m_numberAttri->setBackground(settings.colorNBk);
        m_keyAttri->setForeground(settings.colorK);
        m_keyAttri->setBackground(settings.colorKBk);
        m_keywords.setEntries(settings.keywords);
    }
    recolour();
}

void NotesHighlighter::colourBlock(const QTextBlock &block)
{
    if (block.document() != document() || isColoured(block))
        return;
    QList<QTextLayout::FormatRange> ranges;
    for (m_tokenizer.setLine(block.text()); !m_tokenizer.atEndOfLine(); m_tokenizer.next()) {
        const QTextCharFormat &format = m_formats.at(std::size_t(m_tokenizer.tokenKind()));
        if (!format.isEmpty())
            ranges.append({m_tokenizer.tokenStart(), m_tokenizer.tokenLength(), format});
    }
    // New formats discard the block's lines; the editor lays the block out again when it next
    // measures it, so a bold word is measured bold.
    QTextLayout *layout = block.layout();
    if (layout->formats() != ranges)
        layout->setFormats(ranges);
    QTextBlock(block).setUserState(m_generation);
}

bool NotesHighlighter::isColoured(const QTextBlock &block) const
{
    return block.userState() == m_generation;
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
    if (!m_holdRecolour)
        recolour();
}

void NotesHighlighter::recolour()
{
    for (int kind = 0; kind < TokenKindCount; ++kind) {
        const HighlighterAttribute *attribute = attributeFor(TokenKind(kind));
        m_formats.at(std::size_t(kind)) = attribute ? attribute->format() : QTextCharFormat();
    }
    ++m_generation;
    emit recolourNeeded();
}

void NotesHighlighter::textChanged(int from, int charsRemoved, int charsAdded)
{
    Q_UNUSED(charsRemoved);
    const QTextDocument *doc = document();
    QTextBlock last = doc->findBlock(from + charsAdded);
    if (!last.isValid())
        last = doc->lastBlock();
    for (QTextBlock block = doc->findBlock(from); block.isValid(); block = block.next()) {
        block.setUserState(NotColoured);
        if (block == last)
            break;
    }
}
