#include "textsearchdialog.h"

#include "components/productname.h"
#include "findhistory.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TextSearchDialog::TextSearchDialog(FindHistory &history, QString &lastSearchText,
                                   std::function<void(int)> showHelp, QWidget *parent)
    : QDialog(parent), m_history(history), m_lastSearchText(lastSearchText),
      m_searchText(new QComboBox(this))
{
    setWindowTitle(productName() + QStringLiteral(" Find Text"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *label = new QLabel(QStringLiteral("Text to Find"), this);
    m_searchText->setObjectName(QStringLiteral("searchText"));
    m_searchText->setEditable(true);
    m_searchText->setInsertPolicy(QComboBox::NoInsert);
    m_searchText->setDuplicatesEnabled(true);
    m_searchText->setMinimumWidth(220);
    m_searchText->addItems(history.entries());
    if (m_searchText->count() > 0) {
        m_searchText->setCurrentIndex(0);
        m_searchText->lineEdit()->selectAll(); // typing replaces the last search text
    }
    label->setBuddy(m_searchText);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *help = new QAction(this);
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, [showHelp] {
        if (showHelp)
            showHelp(HelpContext);
    });
    addAction(help);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_searchText, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(332, 74);
}

void TextSearchDialog::done(int result)
{
    m_lastSearchText.clear();
    if (result == Accepted) {
        const QString text = m_searchText->currentText();
        m_history.add(text);
        m_lastSearchText = text;
    }
    QDialog::done(result);
}
