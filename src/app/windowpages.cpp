#include "windowpages.h"

#include "pagesession.h"

int WindowPages::count() const
{
    return m_pages.count();
}

QString WindowPages::name(int index) const
{
    return m_pages.name(index);
}

PageRecord *WindowPages::record(int index) const
{
    return m_pages.record(index);
}

QStringList WindowPages::lines(int index) const
{
    return m_pages.lines(index);
}

void WindowPages::setName(int index, const QString &name)
{
    m_pages.setName(index, name);
}

void WindowPages::setProtected(int index, bool isProtected)
{
    m_pages.setProtected(index, isProtected);
}

void WindowPages::movePage(int from, int to)
{
    m_pages.movePage(from, to);
}

void WindowPages::deletePage(int index)
{
    m_pages.removePage(index);
}

PageRecord *WindowPages::addPage(const QString &name, bool isProtected)
{
    PageRecord record;
    record.isProtected = isProtected;
    return m_pages.record(m_pages.addPage(name, record));
}
