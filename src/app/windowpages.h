#pragma once

#include "pages/pagelistops.h"

class PageSession;

// The notes window's pages as the pages dialog works on them, straight on the page session:
// deleting or moving the selected page runs page-leave and page-enter as every selection
// change does.
class WindowPages : public PageListOps
{
public:
    explicit WindowPages(PageSession &pages) : m_pages(pages) {}

    int count() const override;
    QString name(int index) const override;
    PageRecord *record(int index) const override;
    QStringList lines(int index) const override;
    void setName(int index, const QString &name) override;
    void setProtected(int index, bool isProtected) override;
    void movePage(int from, int to) override;
    void deletePage(int index) override;
    PageRecord *addPage(const QString &name, bool isProtected) override;

private:
    PageSession &m_pages;
};
