#pragma once

#include "notes/pagerecord.h"
#include "pages/pagelistops.h"

#include <QStringList>
#include <QTextDocument>
#include <memory>
#include <utility>
#include <vector>

// The main window's tab list as the pages dialog sees it, with a log of every change made to it.
class FakePageList : public PageListOps
{
public:
    PageRecord *append(const QString &name, const QStringList &lines = {}, bool isProtected = false)
    {
        auto record = std::make_unique<PageRecord>();
        record->lines = lines;
        record->isProtected = isProtected;
        auto document = std::make_unique<QTextDocument>(lines.join(QLatin1Char('\n')));
        m_tabs.push_back({name, std::move(record), std::move(document)});
        return m_tabs.back().record.get();
    }

    QStringList names() const
    {
        QStringList result;
        for (const Tab &tab : m_tabs)
            result.append(tab.name);
        return result;
    }

    QList<PageRecord *> records() const
    {
        QList<PageRecord *> result;
        for (const Tab &tab : m_tabs)
            result.append(tab.record.get());
        return result;
    }

    // The document a page appended with append() keeps with its record.
    QTextDocument *documentOf(const PageRecord *record) const
    {
        for (const Tab &tab : m_tabs) {
            if (tab.record.get() == record)
                return tab.document.get();
        }
        return nullptr;
    }

    const QStringList &log() const { return m_log; }

    int count() const override { return int(m_tabs.size()); }
    QString name(int index) const override { return m_tabs.at(size_t(index)).name; }
    PageRecord *record(int index) const override { return m_tabs.at(size_t(index)).record.get(); }
    QStringList lines(int index) const override { return record(index)->lines; }

    void setName(int index, const QString &name) override
    {
        if (m_tabs.at(size_t(index)).name != name)
            m_log.append(QStringLiteral("name %1 %2").arg(index).arg(name));
        m_tabs.at(size_t(index)).name = name;
    }

    void setProtected(int index, bool isProtected) override
    {
        m_tabs.at(size_t(index)).record->isProtected = isProtected;
    }

    void movePage(int from, int to) override
    {
        m_log.append(QStringLiteral("move %1 %2").arg(from).arg(to));
        Tab tab = std::move(m_tabs.at(size_t(from)));
        m_tabs.erase(m_tabs.begin() + from);
        m_tabs.insert(m_tabs.begin() + to, std::move(tab));
    }

    void deletePage(int index) override
    {
        m_log.append(QStringLiteral("delete %1 %2").arg(index).arg(name(index)));
        m_tabs.erase(m_tabs.begin() + index);
    }

    PageRecord *addPage(const QString &name, bool isProtected) override
    {
        m_log.append(QStringLiteral("add %1%2")
                         .arg(name, isProtected ? QStringLiteral(" protected") : QString()));
        m_tabs.push_back({name, std::make_unique<PageRecord>(), nullptr});
        m_tabs.back().record->isProtected = isProtected;
        return m_tabs.back().record.get();
    }

private:
    struct Tab
    {
        QString name;
        std::unique_ptr<PageRecord> record;
        std::unique_ptr<QTextDocument> document;
    };
    std::vector<Tab> m_tabs;
    QStringList m_log;
};
