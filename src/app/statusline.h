#pragma once

#include <QFrame>

class QLabel;

// The status line at the bottom of the notes window: the caret position, the double-click hint
// (or a short text in its place) and the maker's web address. A click on it, except on the hint,
// asks for the web site.
//
// The panels stand side by side and never overlap: the caret panel keeps its width, the
// address panel takes the rest beside the hint's designed width and never less than its text
// needs, and the hint gets what is left, its text shortened with "…" when it does not fit.
// Only a line too narrow for the caret panel and the whole address shortens the address.
class StatusLine : public QFrame
{
    Q_OBJECT

public:
    explicit StatusLine(const QString &webAddress, QWidget *parent = nullptr);

    void setCaretText(const QString &text);
    QString caretText() const;
    // The hint panel shows text until resetHint() brings back the double-click hint.
    void setHint(const QString &text);
    void resetHint();
    QString hint() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placePanels();

    QLabel *m_caret;
    QLabel *m_hint; // the only panel a click on does nothing
    QLabel *m_address;
    QString m_hintText;
    QString m_addressText;
    int m_hintWidth = 0;    // designed, or wider when the font needs it
    int m_addressWidth = 0; // what its whole text needs
};
