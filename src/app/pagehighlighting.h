#pragma once

#include "highlighter/displaysettings.h"

#include <QStringList>

class NoteEditor;
struct NotesSettings;

// The colouring of the notes: every document the editor shows (each page's, and the editor's
// own for the placeholder) keeps a highlighter of its own, which colours a block when the editor
// is about to paint it, and again only when its text changed. A page switch colours no more
// than what comes on screen. New colours and keywords reach what is shown at once and every other
// block when it is painted next.
class PageHighlighting
{
public:
    explicit PageHighlighting(NoteEditor &editor);

    // The editor's colours, the number and keyword colours and the keyword list (kept sorted
    // and without entries that differ only in case).
    void apply(const NotesSettings &settings);
    const QStringList &keywords() const { return m_display.keywords; }

    // Brings the highlighter of the document the editor shows to the settings now in force and
    // colours what is on screen.
    void colourShownDocument();

private:
    NoteEditor &m_editor;
    DisplaySettings m_display;
    int m_generation = 0; // counts the applied settings
};
