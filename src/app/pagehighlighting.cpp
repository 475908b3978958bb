#include "pagehighlighting.h"

#include "editor/noteeditor.h"
#include "highlighter/keywordlist.h"
#include "highlighter/noteshighlighter.h"
#include "notes/notessettings.h"

#include <QTextDocument>

namespace {
const char *const GenerationProperty = "quillboxSettingsGeneration";
} // namespace

void PageHighlighting::apply(const NotesSettings &settings)
{
    m_display = {settings.textColor,        settings.backgroundColor, settings.numberColor,
                 settings.numberBackground, settings.keyColor,        settings.keyBackground};
    KeywordList keywords;
    keywords.setEntries(settings.keywords);
    m_keywords = keywords.entries();
    ++m_generation;
    m_editor.setTextColor(m_display.color);
    m_editor.setBackgroundColor(m_display.colorBk);
    colourShownDocument();
}

void PageHighlighting::colourShownDocument()
{
    QTextDocument *document = m_editor.document();
    auto *highlighter =
        document->findChild<NotesHighlighter *>(QString(), Qt::FindDirectChildrenOnly);
    if (highlighter && highlighter->property(GenerationProperty).toInt() == m_generation)
        return;
    // Colouring changes no text: it is no edit.
    const NoteEditor::ProgramChange colouring(m_editor);
    const bool isNew = !highlighter;
    if (isNew)
        highlighter = new NotesHighlighter(document);
    highlighter->setProperty(GenerationProperty, m_generation);
    highlighter->setKeywordEntries(m_keywords);
    highlighter->applyDisplaySettings(m_display, m_editor);
    if (isNew) {
        highlighter->setDocument(document);
        highlighter->rehighlight();
    }
}
