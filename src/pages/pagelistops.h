#pragma once

#include <QString>
#include <QStringList>

struct PageRecord;

// The main window's pages as the pages dialog sees them: tabs in tab order, each with a name
// and its page's record. A record stays at the same address while its page lives, so that it
// names the page.
class PageListOps
{
public:
    virtual ~PageListOps() = default;

    virtual int count() const = 0;
    virtual QString name(int index) const = 0;
    virtual PageRecord *record(int index) const = 0;
    // The page's lines, which its record may not hold (see PageSession::lines).
    virtual QStringList lines(int index) const = 0;
    virtual void setName(int index, const QString &name) = 0;
    // Sets the record's protected flag and the tab's mark.
    virtual void setProtected(int index, bool isProtected) = 0;
    // Takes tab from out of the list and puts it back at index to (as QTabBar::moveTab does).
    virtual void movePage(int from, int to) = 0;
    // Frees the page, its text and history with it, and removes the tab.
    virtual void deletePage(int index) = 0;
    // Appends a tab with an empty page: no text, every position 0, fresh empty history.
    virtual PageRecord *addPage(const QString &name, bool isProtected) = 0;
};
