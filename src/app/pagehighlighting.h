#pragma once

#include "highlighter/displaysettings.h"

#include <QStringList>

class NoteEditor;
struct NotesSettings;

// The colouring of the notes: every document the editor shows (each page's, and the editor's
// own for the placeholder) keeps a highlighter of its own, so a page is coloured once, when it
// is first shown, and never again on a page switch. New colours and keywords reach the shown
// document at once and every other document when it is shown next.
class PageHighlighting
{
public:
    explicit PageHighlighting(NoteEditor &editor) : m_editor(editor) {}

    // The editor's colours, the number and keyword colours and the keyword list (kept sorted
    // and without entries that differ only in case).
    void apply(const NotesSettings &settings);
    const QStringList &keywords() const { return m_keywords; }

    // Colours the document the editor shows with the settings now in force.
    void colourShownDocument();

private:
    NoteEditor &m_editor;
    DisplaySettings m_display;
    QStringList m_keywords;
    int m_generation = 0; // counts the applied settings
};
