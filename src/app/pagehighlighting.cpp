#include "pagehighlighting.h"

#include "editor/noteeditor.h"
#include "highlighter/keywordlist.h"
#include "highlighter/noteshighlighter.h"
#include "notes/notessettings.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {
const char *const GenerationProperty = "quillboxSettingsGeneration";

NotesHighlighter *highlighterOf(const QTextDocument &document)
{
    return document.findChild<NotesHighlighter *>(QString(), Qt::FindDirectChildrenOnly);
}
} // namespace

PageHighlighting::PageHighlighting(NoteEditor &editor) : m_editor(editor)
{
    QObject::connect(&editor, &NoteEditor::blockAboutToBePainted, &editor,
                     [](const QTextBlock &block) {
                         if (NotesHighlighter *highlighter = highlighterOf(*block.document()))
                             highlighter->colourBlock(block);
                     });
}

void PageHighlighting::apply(const NotesSettings &settings)
{
    KeywordList keywords;
    keywords.setEntries(settings.keywords);
    m_display = {settings.textColor,        settings.backgroundColor, settings.numberColor,
                 settings.numberBackground, settings.keyColor,        settings.keyBackground,
                 keywords.entries()};
    ++m_generation;
    colourShownDocument();
}

void PageHighlighting::colourShownDocument()
{
    QTextDocument *document = m_editor.document();
    NotesHighlighter *highlighter = highlighterOf(*document);
    if (!highlighter) {
        highlighter = new NotesHighlighter(document);
        // Whenever its settings change while its document is shown, what is on screen is
        // coloured again at once.
        QObject::connect(highlighter, &NotesHighlighter::recolourNeeded, &m_editor,
                         [&editor = m_editor, highlighter] {
                             if (editor.document() == highlighter->document())
                                 editor.repaintShownBlocks();
                         });
    } else if (highlighter->property(GenerationProperty).toInt() == m_generation) {
        // Its settings are in force, but a document that was off screen has no formats left.
        m_editor.repaintShownBlocks();
        return;
    }
    highlighter->setProperty(GenerationProperty, m_generation);
    highlighter->applyDisplaySettings(m_display, m_editor);
}
