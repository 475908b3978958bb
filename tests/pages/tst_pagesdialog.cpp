#include "notes/pagerecord.h"
#include "pages/namedialog.h"
#include "pages/pagesdialog.h"
#include "support/seamanswers.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

namespace {
QPushButton *button(QWidget &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

// The ways a dialog is closed: by the button of that object name, or by Esc ("").
void addClosingRows()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("expectedOk");
    QTest::newRow("Ok") << "btnOk" << true;
    QTest::newRow("Cancel") << "btnCancel" << false;
    QTest::newRow("Esc") << "" << false;
}

void closeBy(QDialog &dialog, QWidget *focus, const QString &how)
{
    if (how.isEmpty())
        QTest::keyClick(focus, Qt::Key_Escape);
    else
        button(dialog, how.toLatin1().constData())->click();
}

QListWidget *pageList(PagesDialog &dialog)
{
    return dialog.findChild<QListWidget *>(QStringLiteral("pageList"));
}

int selectedRow(PagesDialog &dialog)
{
    const QList<QListWidgetItem *> selected = pageList(dialog)->selectedItems();
    return selected.isEmpty() ? -1 : pageList(dialog)->row(selected.first());
}

QStringList texts(const QList<PageEntry> &entries)
{
    QStringList result;
    for (const PageEntry &entry : entries)
        result.append(entry.text);
    return result;
}

QList<bool> marks(const QList<PageEntry> &entries)
{
    QList<bool> result;
    for (const PageEntry &entry : entries)
        result.append(entry.checked);
    return result;
}

// Plays the user in a page name dialog: types name and closes it with "Ok" or "Cancel".
// What the dialog showed when it came up is kept in caption and shownName.
struct NameAnswer
{
    NameAnswer(const QString &answerName, bool answerOk) : name(answerName), ok(answerOk) {}

    QString name;
    bool ok;
    QString caption;
    QString shownName;

    int operator()(QDialog &dialog)
    {
        caption = dialog.windowTitle();
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("nameEdit"));
        shownName = edit->text();
        edit->setText(name);
        button(dialog, ok ? "btnOk" : "btnCancel")->click();
        return dialog.result();
    }
};
} // namespace

class TestPagesDialog : public QObject
{
    Q_OBJECT

private:
    PageRecord m_first;
    PageRecord m_second;
    PageRecord m_third;

    QList<PageEntry> threePages(bool firstChecked = true)
    {
        return {{QStringLiteral("A"), firstChecked, &m_first},
                {QStringLiteral("B"), false, &m_second},
                {QStringLiteral("A"), true, &m_third}};
    }

private slots:
    void openingListsEveryPage_data()
    {
        QTest::addColumn<bool>("securityEnabled");
        QTest::addColumn<QList<bool>>("expectedMarks");
        QTest::newRow("security on keeps the marks") << true << QList<bool>{true, false, true};
        QTest::newRow("security off clears them") << false << QList<bool>{false, false, false};
    }

    void openingListsEveryPage()
    {
        QFETCH(bool, securityEnabled);
        QFETCH(QList<bool>, expectedMarks);
        PagesDialog dialog(threePages(), securityEnabled);

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillbox Page Control"));
        const QList<PageEntry> entries = dialog.entries();
        QCOMPARE(texts(entries), QStringList({"A", "B", "A"}));
        QCOMPARE(marks(entries), expectedMarks);
        QCOMPARE(entries.at(0).reference, &m_first);
        QCOMPARE(entries.at(2).reference, &m_third);
        QCOMPARE(selectedRow(dialog), 0);
        for (const char *name : {"btnProtect", "btnUnprotect", "btnProtectAll", "btnUnprotectAll"})
            QCOMPARE(button(dialog, name)->isHidden(), !securityEnabled);
        QVERIFY(!dialog.okPressed());
    }

    void spaceTogglesMarkOnlyWhileSecurityOn_data()
    {
        QTest::addColumn<bool>("securityEnabled");
        QTest::newRow("security on") << true;
        QTest::newRow("security off") << false;
    }

    void spaceTogglesMarkOnlyWhileSecurityOn()
    {
        QFETCH(bool, securityEnabled);
        PagesDialog dialog(threePages(), securityEnabled);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        pageList(dialog)->setCurrentRow(1);
        QTest::keyClick(pageList(dialog), Qt::Key_Space);
        QCOMPARE(dialog.entries().at(1).checked, securityEnabled);
    }

    void protectButtonsFollowSelectedMark()
    {
        PagesDialog dialog(threePages(), true);
        QPushButton *protect = button(dialog, "btnProtect");
        QPushButton *unprotect = button(dialog, "btnUnprotect");
        QVERIFY(!protect->isEnabled());
        QVERIFY(unprotect->isEnabled());

        pageList(dialog)->setCurrentRow(1);
        QVERIFY(protect->isEnabled());
        QVERIFY(!unprotect->isEnabled());

        protect->click();
        QCOMPARE(marks(dialog.entries()), QList<bool>({true, true, true}));
        QVERIFY(!protect->isEnabled());
        QVERIFY(unprotect->isEnabled());

        unprotect->click();
        QCOMPARE(marks(dialog.entries()), QList<bool>({true, false, true}));
        QVERIFY(protect->isEnabled());

        button(dialog, "btnUnprotectAll")->click();
        QCOMPARE(marks(dialog.entries()), QList<bool>({false, false, false}));
        button(dialog, "btnProtectAll")->click();
        QCOMPARE(marks(dialog.entries()), QList<bool>({true, true, true}));
        QCOMPARE(selectedRow(dialog), 1);
        QVERIFY(!protect->isEnabled());
    }

    void moveUpAndDownDoNotWrap_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<QList<PageRecord *>>("expectedOrder");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("up from the middle")
            << 1 << "btnUp" << QList<PageRecord *>{&m_second, &m_first, &m_third} << 0;
        QTest::newRow("up from the first")
            << 0 << "btnUp" << QList<PageRecord *>{&m_first, &m_second, &m_third} << 0;
        QTest::newRow("down from the middle")
            << 1 << "btnDown" << QList<PageRecord *>{&m_first, &m_third, &m_second} << 2;
        QTest::newRow("down from the last")
            << 2 << "btnDown" << QList<PageRecord *>{&m_first, &m_second, &m_third} << 2;
    }

    void moveUpAndDownDoNotWrap()
    {
        QFETCH(int, row);
        QFETCH(QString, buttonName);
        QFETCH(QList<PageRecord *>, expectedOrder);
        QFETCH(int, expectedRow);
        PagesDialog dialog(threePages(), true);
        pageList(dialog)->setCurrentRow(row);
        button(dialog, buttonName.toLatin1().constData())->click();

        QList<PageRecord *> order;
        for (const PageEntry &entry : dialog.entries()) {
            order.append(entry.reference);
            QCOMPARE(entry.checked, entry.reference != &m_second);
        }
        QCOMPARE(order, expectedOrder);
        QCOMPARE(selectedRow(dialog), expectedRow);
    }

    void addPage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("expectedTexts");
        QTest::newRow("named") << "New" << true << QStringList{"A", "B", "A", "New"};
        QTest::newRow("blanks only are a name") << "  " << true << QStringList{"A", "B", "A", "  "};
        QTest::newRow("same name as another") << "B" << true << QStringList{"A", "B", "A", "B"};
        QTest::newRow("empty name ignored") << "" << true << QStringList{"A", "B", "A"};
        QTest::newRow("cancelled") << "New" << false << QStringList{"A", "B", "A"};
    }

    void addPage()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        QFETCH(QStringList, expectedTexts);
        NameAnswer answer{name, ok};
        SeamAnswers seam(std::ref(answer));
        PagesDialog dialog(threePages(), true);
        pageList(dialog)->setCurrentRow(1);
        button(dialog, "btnAdd")->click();

        QCOMPARE(answer.caption, QStringLiteral("Add New Page"));
        QCOMPARE(answer.shownName, QString());
        const QList<PageEntry> entries = dialog.entries();
        QCOMPARE(texts(entries), expectedTexts);
        if (entries.size() == 4) {
            QVERIFY(!entries.last().checked);
            QCOMPARE(entries.last().reference, nullptr);
            QCOMPARE(selectedRow(dialog), 3);
        } else {
            QCOMPARE(selectedRow(dialog), 1);
        }
    }

    void renamePage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("renamed") << "Z" << true << "Z";
        QTest::newRow("empty name ignored") << "" << true << "A";
        QTest::newRow("cancelled") << "Z" << false << "A";
    }

    void renamePage()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        QFETCH(QString, expectedText);
        NameAnswer answer{name, ok};
        SeamAnswers seam(std::ref(answer));
        PagesDialog dialog(threePages(), true);
        pageList(dialog)->setCurrentRow(2);
        button(dialog, "btnRename")->click();

        QCOMPARE(answer.caption, QStringLiteral("Quillbox enter page name"));
        QCOMPARE(answer.shownName, QStringLiteral("A"));
        const PageEntry entry = dialog.entries().at(2);
        QCOMPARE(entry.text, expectedText);
        QVERIFY(entry.checked);
        QCOMPARE(entry.reference, &m_third);
        QCOMPARE(dialog.entries().at(0).text, QStringLiteral("A"));
        QCOMPARE(selectedRow(dialog), 2);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("hasRecord");
        QTest::addColumn<QString>("expectedQuestion");
        const QString question = QStringLiteral("Confirm: Sure you want to Delete \"B\"");
        const QString withNotes =
            QStringLiteral("Confirm: Page contains notes. These will be lost\r"
                           "Sure you want to Delete \"B\"");
        QTest::newRow("page with notes") << QStringList{"", " x "} << true << withNotes;
        QTest::newRow("blanks and empty lines only")
            << QStringList{"  ", "", "\t", "\x1f"} << true << question;
        QTest::newRow("empty page") << QStringList{} << true << question;
        QTest::newRow("page added in the dialog") << QStringList{} << false << question;
    }

    void deleteAsksFirst()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, hasRecord);
        QFETCH(QString, expectedQuestion);
        m_second.lines = lines;
        SeamAnswers seam;
        seam.answerWith(QMessageBox::Cancel);
        QList<PageEntry> entries = threePages();
        if (!hasRecord)
            entries[1].reference = nullptr;
        PagesDialog dialog(entries, true);
        pageList(dialog)->setCurrentRow(1);
        button(dialog, "btnDel")->click();

        QCOMPARE(seam.captionedTexts(), QStringList{expectedQuestion});
        QCOMPARE(seam.messages.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(texts(dialog.entries()), QStringList({"A", "B", "A"}));
        QCOMPARE(selectedRow(dialog), 1);
        m_second.lines.clear();
    }

    void deleteSelectsFollower_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<PageRecord *>>("expectedOrder");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("first") << 0 << QList<PageRecord *>{&m_second, &m_third} << 0;
        QTest::newRow("middle") << 1 << QList<PageRecord *>{&m_first, &m_third} << 1;
        QTest::newRow("last") << 2 << QList<PageRecord *>{&m_first, &m_second} << 1;
    }

    void deleteSelectsFollower()
    {
        QFETCH(int, row);
        QFETCH(QList<PageRecord *>, expectedOrder);
        QFETCH(int, expectedRow);
        SeamAnswers seam;
        PagesDialog dialog(threePages(), true);
        pageList(dialog)->setCurrentRow(row);
        button(dialog, "btnDel")->click();

        QList<PageRecord *> order;
        for (const PageEntry &entry : dialog.entries())
            order.append(entry.reference);
        QCOMPARE(order, expectedOrder);
        QCOMPARE(selectedRow(dialog), expectedRow);
        QVERIFY(button(dialog, "btnDel")->isEnabled());
    }

    void lastPageCannotBeDeleted()
    {
        SeamAnswers seam;
        PagesDialog dialog({{QStringLiteral("Only"), false, &m_first}}, true);
        button(dialog, "btnDel")->click();

        QCOMPARE(seam.captionedTexts(), QStringList{"Error: The last page cannot be deleted"});
        QCOMPARE(texts(dialog.entries()), QStringList{"Only"});
    }

    void buttonsNeedASelection()
    {
        PagesDialog dialog(threePages(), true);
        for (const char *name : {"btnUp", "btnDown", "btnRename", "btnDel", "btnAdd"})
            QVERIFY(button(dialog, name)->isEnabled());
        pageList(dialog)->clearSelection();
        for (const char *name : {"btnUp", "btnDown", "btnRename", "btnDel"})
            QVERIFY(!button(dialog, name)->isEnabled());
        QVERIFY(button(dialog, "btnAdd")->isEnabled());
    }

    void closing_data() { addClosingRows(); }

    void closing()
    {
        QFETCH(QString, how);
        QFETCH(bool, expectedOk);
        PagesDialog dialog(threePages(), true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        closeBy(dialog, pageList(dialog), how);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.okPressed(), expectedOk);
    }

    void helpRequests_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<int>("expectedCommand");
        QTest::newRow("Help button: help contents") << false << 11;
        QTest::newRow("F1: context help") << true << 1;
    }

    void helpRequests()
    {
        QFETCH(bool, byKey);
        QFETCH(int, expectedCommand);
        PagesDialog dialog(threePages(), true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy spy(&dialog, &PagesDialog::helpRequested);
        if (byKey)
            QTest::keyClick(pageList(dialog), Qt::Key_F1);
        else
            button(dialog, "btnHelp")->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first(), QVariantList({expectedCommand, 110}));
        QVERIFY(dialog.isVisible());
    }

    // Every row holds the style's check box with room above and below it, after a rename too.
    void rowsGiveTheCheckBoxesRoom()
    {
        SeamAnswers seam([](QDialog &dialog) {
            dialog.findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Z"));
            button(dialog, "btnOk")->click();
            return dialog.result();
        });
        PagesDialog dialog(threePages(), true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QListWidget *list = pageList(dialog);
        list->setCurrentRow(1);
        button(dialog, "btnRename")->click();
        const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, list);
        for (int row = 0; row < list->count(); ++row) {
            const QRect rect = list->visualItemRect(list->item(row));
            QVERIFY2(rect.height() >= indicator + 4,
                     qPrintable(QStringLiteral("row %1: %2 px for a %3 px box")
                                    .arg(row)
                                    .arg(rect.height())
                                    .arg(indicator)));
            QVERIFY(rect.height() >= 13);
            if (row > 0)
                QVERIFY(rect.top() > list->visualItemRect(list->item(row - 1)).bottom());
        }
    }

    void nameDialogCaptionAndClosing_data() { addClosingRows(); }

    void nameDialogCaptionAndClosing()
    {
        QFETCH(QString, how);
        QFETCH(bool, expectedOk);
        NameDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillbox enter page name"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("nameEdit"));
        QTest::keyClicks(edit, QStringLiteral("Work"));
        closeBy(dialog, edit, how);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.okPressed(), expectedOk);
        QCOMPARE(dialog.name(), QStringLiteral("Work"));
    }

    // The old name comes up selected, so a new name is typed over it, not onto it.
    void renameTypesOverTheOldName()
    {
        NameDialog dialog;
        dialog.setName(QStringLiteral("Work"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("nameEdit"));
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(edit->selectedText(), QStringLiteral("Work"));

        QTest::keyClicks(edit, QStringLiteral("Home"));
        QCOMPARE(dialog.name(), QStringLiteral("Home"));
    }

    void nameDialogShowsItsWholeCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::newRow("rename") << QString();
        QTest::newRow("add") << QStringLiteral("Add New Page");
    }

    // Wide enough for the caption in a bold title-bar font beside an icon and three buttons.
    void nameDialogShowsItsWholeCaption()
    {
        QFETCH(QString, caption);
        NameDialog dialog;
        if (!caption.isEmpty())
            dialog.setWindowTitle(caption);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QFont bold = dialog.font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 4 * 24;
        QVERIFY2(dialog.width() >= needed,
                 qPrintable(QStringLiteral("%1 px, %2 needed").arg(dialog.width()).arg(needed)));
    }

    void enterInNameDialogIsOk()
    {
        NameDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("nameEdit"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(dialog.okPressed());
    }
};

QTEST_MAIN(TestPagesDialog)
#include "tst_pagesdialog.moc"
