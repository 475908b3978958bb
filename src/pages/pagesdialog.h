#pragma once

#include "pageentry.h"

#include <QDialog>
#include <QList>
#include <functional>

class PageListOps;
class QBoxLayout;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The "Quillbox Page Control" dialog: a working list of the pages, each with its protect mark,
// that the user adds to, renames, deletes from, reorders and marks. Nothing reaches the pages
// until the caller applies entries() after "Ok". While security is off the protect buttons are
// hidden and no entry can be checked.
class PagesDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 110;

    PagesDialog(const QList<PageEntry> &entries, bool securityEnabled, QWidget *parent = nullptr);

    bool okPressed() const { return m_okPressed; }
    QList<PageEntry> entries() const;

signals:
    // command 11 (help contents) from the Help button, 1 (context help) from F1
    void helpRequested(int command, int data);

private:
    QPushButton *addButton(QBoxLayout *column, const QString &caption, const QString &objectName,
                           void (PagesDialog::*action)());
    void appendEntry(const PageEntry &entry);
    void fitRow(QListWidgetItem *item) const;
    QListWidgetItem *selectedItem() const;
    int selectedRow() const;
    void selectRow(int row);
    void setAllChecks(Qt::CheckState state);
    void setSelectedCheck(Qt::CheckState state);
    void updateButtons();
    void updateProtectButtons();
    void entryChanged(QListWidgetItem *item);
    void moveSelected(int step);

    void btnUpClick();
    void btnDownClick();
    void btnAddClick();
    void btnRenameClick();
    void btnDelClick();
    void btnProtectClick();
    void btnUnprotectClick();
    void btnProtectAllClick();
    void btnUnprotectAllClick();
    void btnOkClick();
    void helpClick();

    const bool m_securityEnabled;
    bool m_okPressed = false;
    QListWidget *m_list = nullptr;
    QPushButton *m_btnUp = nullptr;
    QPushButton *m_btnDown = nullptr;
    QPushButton *m_btnRename = nullptr;
    QPushButton *m_btnDel = nullptr;
    QPushButton *m_btnProtect = nullptr;
    QPushButton *m_btnUnprotect = nullptr;
};

// Runs the pages dialog over the main window's pages through the dialog seam and, when it was
// confirmed with "Ok", applies the result to them. Returns whether it was confirmed. onHelp,
// when given, receives the dialog's help requests.
bool showPagesDialog(PageListOps &pages, bool securityEnabled, QWidget *parent,
                     const std::function<void(int command, int data)> &onHelp = {});
