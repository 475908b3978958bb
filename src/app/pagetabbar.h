#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

// The tab strip of the notes window: one tab per page, in rows that wrap to the strip's width
// with the selected tab's row next to the page, so that every page has a visible tab. The strip
// is as high as its rows (it has a height for each width). Every tab is painted flat in the
// button-face colour with its name, drawn as typed; the selected tab's name stands further
// right and a protected page carries a small blue square in its lower right corner.
//
// The strip holds names and protected marks only, never the pages. Every change of the selected
// tab is reported with currentChanged, whoever made it: a click, Left, Right or the wheel (these
// are also reported with changedByUser), setCurrentIndex, adding the first tab or removing the
// selected one. Moving tabs or removing another tab keeps the selected tab and reports nothing.
// Tabs take no Alt+letter shortcut from an '&' in a name.
class PageTabBar : public QWidget
{
    Q_OBJECT

public:
    explicit PageTabBar(QWidget *parent = nullptr);

    // Appends a tab; the first tab of an empty strip becomes the selected one.
    int addPage(const QString &name, bool isProtected = false);
    QString pageName(int index) const;
    void setPageName(int index, const QString &name);
    // Removes a tab; when it was the selected one, the tab that takes its place (or the new
    // last one) is selected.
    void removePage(int index);
    // Takes the tab from out of the list and puts it back at to; the selection stays with it.
    void movePage(int from, int to);
    int count() const { return int(m_tabs.size()); }

    // The small blue square of a protected page.
    bool isPageProtected(int index) const;
    void setPageProtected(int index, bool isProtected);

    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);

    QRect tabRect(int index) const;
    int tabAt(const QPoint &position) const;
    int rowCount() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // Another tab is selected (currentIndex() may be -1 when the last tab went).
    void currentChanged();
    // The user (mouse, keys or wheel) selected another tab; previous is the tab left, which
    // still stands at that index.
    void changedByUser(int previous);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent *event) override;
#endif

private:
    struct Tab
    {
        QString name;
        bool isProtected = false;
        int width = 0;
    };

    int tabWidth(const QString &name) const;
    int rowHeight() const;
    QList<int> widths() const;
    void tabsChanged();
    const QList<QRect> &rects() const;
    void selectByUser(int index);
    void setHovered(int index);
    void drawTab(QPainter &painter, int index) const;

    QList<Tab> m_tabs;
    int m_current = -1;
    int m_hovered = -1;
    // The tabs' rectangles at the present width and selection, made when first asked for.
    mutable QList<QRect> m_rects;
    mutable bool m_rectsValid = false;
};
