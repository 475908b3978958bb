#pragma once

#include <QDialog>
#include <functional>

class FindHistory;
class QComboBox;

// The find dialog: one editable drop-down with the search history, OK and Cancel. Every close
// empties the last search text; a close with OK puts the typed text at the top of the history
// and makes it the last search text (an empty field leaves it empty, so nothing is searched).
//
// The main window's showFindDialog() creates it, runs it through DialogSeam::exec() and, when
// it was accepted and the last search text is not empty, runs searchPages().
class TextSearchDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 80;

    // lastSearchText and history belong to the main window and outlive the dialog; showHelp
    // is called with HelpContext when F1 is pressed in the dialog.
    TextSearchDialog(FindHistory &history, QString &lastSearchText,
                     std::function<void(int)> showHelp, QWidget *parent = nullptr);

    void done(int result) override;

private:
    FindHistory &m_history;
    QString &m_lastSearchText;
    QComboBox *m_searchText;
};
