#pragma once

#include <QString>

class QWidget;

// Lets the user pick an existing folder with the platform's folder picker, opened on the
// folder in path(). Cancelling leaves path() as it was.
class FolderBrowser
{
public:
    explicit FolderBrowser(QWidget *parent = nullptr) : m_parent(parent) {}

    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // True when the user picked a folder; path() then holds it, in the platform's notation.
    bool execute();

private:
    QWidget *m_parent;
    QString m_path;
    QString m_title;
};
