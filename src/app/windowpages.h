#pragma once

#include "pages/pagelistops.h"

class MainWindow;

// The notes window's tabs as the pages dialog works on them: names and records in tab order,
// renaming and moving tabs, and the window's own page deletion and creation.
class WindowPages : public PageListOps
{
public:
    explicit WindowPages(MainWindow &window) : m_window(window) {}

    int count() const override;
    QString name(int index) const override;
    PageRecord *record(int index) const override;
    void setName(int index, const QString &name) override;
    void movePage(int from, int to) override;
    void deletePage(int index) override;
    PageRecord *addPage(const QString &name, bool isProtected) override;

private:
    MainWindow &m_window;
};
