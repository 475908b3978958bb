#include "pagesdialog.h"

#include "components/dialogseam.h"
#include "components/productname.h"
#include "namedialog.h"
#include "notes/pagerecord.h"
#include "pagesresult.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int HelpContextCommand = 1;
constexpr int HelpContentsCommand = 11;
constexpr int ReferenceRole = Qt::UserRole;
constexpr int NotesElsewhereRole = Qt::UserRole + 1;

PageRecord *referenceOf(const QListWidgetItem *item)
{
    return reinterpret_cast<PageRecord *>(item->data(ReferenceRole).value<quintptr>());
}
} // namespace

PagesDialog::PagesDialog(const QList<PageEntry> &entries, bool securityEnabled, QWidget *parent)
    : QDialog(parent), m_securityEnabled(securityEnabled)
{
    setWindowTitle(productName() + QStringLiteral(" Page Control"));

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("pageList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);

    auto *column = new QVBoxLayout;
    m_btnUp = addButton(column, QStringLiteral("Move &Up"), QStringLiteral("btnUp"),
                        &PagesDialog::btnUpClick);
    m_btnDown = addButton(column, QStringLiteral("Move Do&wn"), QStringLiteral("btnDown"),
                          &PagesDialog::btnDownClick);
    addButton(column, QStringLiteral("&Add Page"), QStringLiteral("btnAdd"),
              &PagesDialog::btnAddClick);
    m_btnRename = addButton(column, QStringLiteral("&Rename Page"), QStringLiteral("btnRename"),
                            &PagesDialog::btnRenameClick);
    m_btnDel = addButton(column, QStringLiteral("&Delete Page"), QStringLiteral("btnDel"),
                         &PagesDialog::btnDelClick);
    m_btnProtect = addButton(column, QStringLiteral("&Protect Page"), QStringLiteral("btnProtect"),
                             &PagesDialog::btnProtectClick);
    m_btnUnprotect = addButton(column, QStringLiteral("&Unprotect Page"),
                               QStringLiteral("btnUnprotect"), &PagesDialog::btnUnprotectClick);
    QPushButton *protectAll =
        addButton(column, QStringLiteral("Pr&otect All"), QStringLiteral("btnProtectAll"),
                  &PagesDialog::btnProtectAllClick);
    QPushButton *unprotectAll =
        addButton(column, QStringLiteral("Unpro&tect All"), QStringLiteral("btnUnprotectAll"),
                  &PagesDialog::btnUnprotectAllClick);
    column->addStretch();
    addButton(column, QStringLiteral("Help"), QStringLiteral("btnHelp"), &PagesDialog::helpClick);
    addButton(column, QStringLiteral("Ok"), QStringLiteral("btnOk"), &PagesDialog::btnOkClick)
        ->setDefault(true);
    addButton(column, QStringLiteral("Cancel"), QStringLiteral("btnCancel"), &PagesDialog::reject);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(column);

    for (const PageEntry &entry : entries)
        appendEntry(entry);
    selectRow(0);
    for (QPushButton *button : {m_btnProtect, m_btnUnprotect, protectAll, unprotectAll})
        button->setVisible(m_securityEnabled);
    if (!m_securityEnabled)
        setAllChecks(Qt::Unchecked);

    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        updateButtons();
        updateProtectButtons();
    });
    connect(m_list, &QListWidget::itemChanged, this, &PagesDialog::entryChanged);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { emit helpRequested(HelpContextCommand, HelpContext); });
    updateButtons();
    updateProtectButtons();
}

QList<PageEntry> PagesDialog::entries() const
{
    QList<PageEntry> result;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        result.append({item->text(), item->checkState() == Qt::Checked, referenceOf(item),
                       item->data(NotesElsewhereRole).toBool()});
    }
    return result;
}

QPushButton *PagesDialog::addButton(QBoxLayout *column, const QString &caption,
                                    const QString &objectName, void (PagesDialog::*action)())
{
    auto *button = new QPushButton(caption);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, action);
    column->addWidget(button);
    return button;
}

void PagesDialog::appendEntry(const PageEntry &entry)
{
    auto *item = new QListWidgetItem(entry.text);
    item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
    item->setData(ReferenceRole, QVariant::fromValue(reinterpret_cast<quintptr>(entry.reference)));
    item->setData(NotesElsewhereRole, entry.notesElsewhere);
    fitRow(item);
    m_list->addItem(item);
}

// Each row is as high as the style's check box with a little room above and below, so the
// boxes of neighbouring rows never touch, and at least the designed 13 pixels of text.
void PagesDialog::fitRow(QListWidgetItem *item) const
{
    constexpr int TextHeight = 13;
    constexpr int Room = 2;
    const int indicator = m_list->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, m_list);
    const int height = std::max({TextHeight, m_list->fontMetrics().height(), indicator}) + 2 * Room;
    const int width = m_list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, m_list) +
                      m_list->fontMetrics().horizontalAdvance(item->text()) + 4 * Room;
    item->setSizeHint(QSize(width, height));
}

QListWidgetItem *PagesDialog::selectedItem() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int PagesDialog::selectedRow() const
{
    const QListWidgetItem *item = selectedItem();
    return item ? m_list->row(item) : -1;
}

void PagesDialog::selectRow(int row)
{
    m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void PagesDialog::setAllChecks(Qt::CheckState state)
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(state);
}

void PagesDialog::setSelectedCheck(Qt::CheckState state)
{
    if (QListWidgetItem *item = selectedItem())
        item->setCheckState(state);
}

void PagesDialog::updateButtons()
{
    const bool selected = selectedRow() >= 0;
    for (QPushButton *button : {m_btnUp, m_btnDown, m_btnDel, m_btnRename})
        button->setEnabled(selected);
}

void PagesDialog::updateProtectButtons()
{
    const QListWidgetItem *item = selectedItem();
    const bool checked = item && item->checkState() == Qt::Checked;
    m_btnProtect->setEnabled(item && !checked);
    m_btnUnprotect->setEnabled(checked);
}

// A check box toggled by the user, or any other change of an entry. While security is off no
// entry may carry a mark.
void PagesDialog::entryChanged(QListWidgetItem *item)
{
    if (!m_securityEnabled && item->checkState() != Qt::Unchecked)
        item->setCheckState(Qt::Unchecked);
    updateProtectButtons();
}

void PagesDialog::moveSelected(int step)
{
    const int row = selectedRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_list->count())
        return;
    QListWidgetItem *item = m_list->takeItem(row);
    m_list->insertItem(target, item);
    selectRow(target);
}

void PagesDialog::btnUpClick()
{
    moveSelected(-1);
}

void PagesDialog::btnDownClick()
{
    moveSelected(1);
}

void PagesDialog::btnAddClick()
{
    NameDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Add New Page"));
    DialogSeam::exec(dialog);
    if (dialog.okPressed() && !dialog.name().isEmpty()) {
        appendEntry({dialog.name(), false, nullptr});
        selectRow(m_list->count() - 1);
    }
}

void PagesDialog::btnRenameClick()
{
    QListWidgetItem *item = selectedItem();
    if (!item)
        return;
    NameDialog dialog(this);
    dialog.setName(item->text());
    DialogSeam::exec(dialog);
    if (dialog.okPressed() && !dialog.name().isEmpty()) {
        item->setText(dialog.name());
        fitRow(item);
    }
}

void PagesDialog::btnDelClick()
{
    if (m_list->count() == 1) {
        DialogSeam::error(this, QStringLiteral("The last page cannot be deleted"));
        return;
    }
    const int row = selectedRow();
    if (row < 0)
        return;
    const QListWidgetItem *item = m_list->item(row);
    QString question;
    const PageRecord *record = referenceOf(item);
    if (record && (item->data(NotesElsewhereRole).toBool() || containsNotes(record->lines)))
        question = QStringLiteral("Page contains notes. These will be lost\r");
    question += QStringLiteral("Sure you want to Delete \"") + item->text() + QLatin1Char('"');
    QApplication::beep();
    if (DialogSeam::ask(this, DialogSeam::Kind::Confirm, question,
                        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
                        QMessageBox::Question) != QMessageBox::Ok)
        return;
    delete m_list->takeItem(row);
    selectRow(std::min(row, m_list->count() - 1));
}

void PagesDialog::btnProtectClick()
{
    setSelectedCheck(Qt::Checked);
}

void PagesDialog::btnUnprotectClick()
{
    setSelectedCheck(Qt::Unchecked);
}

void PagesDialog::btnProtectAllClick()
{
    setAllChecks(Qt::Checked);
}

void PagesDialog::btnUnprotectAllClick()
{
    setAllChecks(Qt::Unchecked);
}

void PagesDialog::btnOkClick()
{
    m_okPressed = true;
    accept();
}

void PagesDialog::helpClick()
{
    emit helpRequested(HelpContentsCommand, HelpContext);
}

bool showPagesDialog(PageListOps &pages, bool securityEnabled, QWidget *parent,
                     const std::function<void(int command, int data)> &onHelp)
{
    PagesDialog dialog(pageEntries(pages), securityEnabled, parent);
    if (onHelp)
        QObject::connect(&dialog, &PagesDialog::helpRequested, onHelp);
    DialogSeam::exec(dialog);
    if (!dialog.okPressed())
        return false;
    QList<PageEntry> entries = dialog.entries();
    applyPagesResult(pages, entries);
    return true;
}
