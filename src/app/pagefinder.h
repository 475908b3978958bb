#pragma once

#include "search/findhistory.h"

#include <QString>

class MainWindow;

// Find and Find Again of the notes window: the find dialog with this run's history, and the
// search from the caret through every page, which passes over locked pages and counts them.
class PageFinder
{
public:
    explicit PageFinder(MainWindow &window) : m_window(window) {}

    // ShowFindDialog: the find dialog; a search confirmed with text runs at once.
    void showFindDialog();
    // SearchPages: the last confirmed search again from the caret, or the find dialog when
    // there is none. Found: its page is shown and the occurrence selected. Not found: the
    // exclamation sound and a message that counts the locked pages passed over.
    void searchPages();

    const QString &lastSearchText() const { return m_lastSearchText; }

private:
    MainWindow &m_window;
    FindHistory m_history;
    QString m_lastSearchText;
};
