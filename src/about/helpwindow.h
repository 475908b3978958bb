#pragma once

#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QUrl;

// The program's own help window: the HTML manual in a browser pane with Back and Forward and a
// find field. It stands in when the desktop cannot open the manual. Links within the manual
// are followed here; a link to a web or mail address goes to the desktop, and when that fails
// the address is shown for the user to copy.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the manual file at the section anchor (at its start when anchor is empty) in the
    // help window of owner and brings it to the front. The window belongs to the modal dialog
    // open at the time, if any, so that it can be used beside it; otherwise to owner. Returns
    // the window, made when owner has none yet.
    static HelpWindow *showManual(QWidget *owner, const QString &path, const QString &anchor);

    QTextBrowser *browser() const { return m_browser; }

    // Selects the next occurrence of the find field's text after the selection, going round to
    // the top when there is none below; backward goes the other way. False when the text is
    // nowhere in the page.
    bool findNext(bool backward = false);

private:
    void open(const QUrl &url);
    void followLink(const QUrl &url);

    QTextBrowser *m_browser;
    QLineEdit *m_findText;
};
