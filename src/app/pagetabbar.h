#pragma once

#include <QTabBar>

struct PageRecord;

// The tab strip of the notes window: one tab per page, the page's record as the tab's data.
// Every tab is painted flat in the button-face colour with its name; the selected tab's name
// stands further right and a protected page carries a small blue square in its lower right
// corner. Tabs that do not fit in one row scroll (QTabBar has no rows of tabs).
class PageTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit PageTabBar(QWidget *parent = nullptr);

    // The page names, kept and drawn as typed. An '&' in a name is a character like any other:
    // it gives the tab no Alt+letter shortcut, which would change the selection without
    // page-leave and page-enter.
    int addPage(const QString &name);
    QString pageName(int index) const;
    void setPageName(int index, const QString &name);

    PageRecord *record(int index) const;
    void setRecord(int index, PageRecord *record);

signals:
    // The user (mouse, keys or wheel) selected another tab; previous is the tab left, which
    // still holds the same record.
    void changedByUser(int previous);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent *event) override;
#endif

private:
    template <typename Handler> void trackUserChange(Handler handler);
    void drawTab(QPainter &painter, int index, const QRect &rect) const;
    // QTabBar takes "&x" in a tab's text as its Alt+X shortcut; "&&" is a plain '&'.
    static QString literalTabText(const QString &name);
};
