#pragma once

#include <QFrame>

class QLabel;

// The status line at the bottom of the notes window: the caret position, the double-click hint
// (or a short text in its place) and the maker's web address. A click on it, except on the hint,
// asks for the web site.
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

private:
    QLabel *m_caret;
    QLabel *m_hint; // the only panel a click on does nothing
};
