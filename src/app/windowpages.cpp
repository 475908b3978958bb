#include "windowpages.h"

#include "mainwindow.h"
#include "pagetabbar.h"

int WindowPages::count() const
{
    return m_window.pageCount();
}

QString WindowPages::name(int index) const
{
    return m_window.tabBar()->pageName(index);
}

PageRecord *WindowPages::record(int index) const
{
    return m_window.pageRecord(index);
}

void WindowPages::setName(int index, const QString &name)
{
    m_window.tabBar()->setPageName(index, name);
}

void WindowPages::movePage(int from, int to)
{
    m_window.tabBar()->movePage(from, to);
}

void WindowPages::deletePage(int index)
{
    m_window.deletePage(index);
}

PageRecord *WindowPages::addPage(const QString &name, bool isProtected)
{
    return m_window.pageRecord(m_window.addPage(name, QString(), 0, 0, 0, 0, 0, isProtected));
}
