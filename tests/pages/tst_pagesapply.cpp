#include "fakepagelist.h"
#include "pages/namedialog.h"
#include "pages/pagesdialog.h"
#include "pages/pagesresult.h"
#include "support/seamanswers.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {
// Plays the user in the pages dialog: script runs on the dialog; a name dialog it opens is
// answered with newName and "Ok".
class PagesUser
{
public:
    PagesUser(std::function<void(PagesDialog &)> script, QString newName = {})
        : m_script(std::move(script)), m_newName(std::move(newName))
    {
    }

    int operator()(QDialog &dialog)
    {
        if (auto *nameDialog = qobject_cast<NameDialog *>(&dialog)) {
            nameDialog->setName(m_newName);
            click(*nameDialog, "btnOk");
        } else {
            m_script(static_cast<PagesDialog &>(dialog));
        }
        return dialog.result();
    }

    static void click(QDialog &dialog, const char *name)
    {
        dialog.findChild<QPushButton *>(QLatin1String(name))->click();
    }

    static void select(PagesDialog &dialog, int row)
    {
        dialog.findChild<QListWidget *>(QStringLiteral("pageList"))->setCurrentRow(row);
    }

private:
    std::function<void(PagesDialog &)> m_script;
    QString m_newName;
};
} // namespace

class TestPagesApply : public QObject
{
    Q_OBJECT

private slots:
    void renameAndMoveKeepThePage()
    {
        FakePageList pages;
        PageRecord *first = pages.append(QStringLiteral("A"), {QStringLiteral("secret")}, true);
        QTextDocument *document = pages.documentOf(first);
        pages.append(QStringLiteral("B"));
        pages.append(QStringLiteral("C"));
        SeamAnswers seam(PagesUser(
            [](PagesDialog &dialog) {
                PagesUser::click(dialog, "btnRename");
                PagesUser::click(dialog, "btnDown");
                PagesUser::click(dialog, "btnDown");
                PagesUser::click(dialog, "btnOk");
            },
            QStringLiteral("Z")));

        QVERIFY(showPagesDialog(pages, true, nullptr));

        QCOMPARE(pages.names(), QStringList({"B", "C", "Z"}));
        QCOMPARE(pages.records().at(2), first);
        QCOMPARE(first->lines, QStringList{"secret"});
        QCOMPARE(pages.documentOf(first), document);
        QVERIFY(first->isProtected);
        QCOMPARE(pages.log(), QStringList({"move 1 0", "move 2 1", "name 2 Z"}));
    }

    void pagesOfTheSameNameStayApart()
    {
        FakePageList pages;
        PageRecord *first = pages.append(QStringLiteral("X"), {QStringLiteral("one")});
        pages.append(QStringLiteral("X"), {QStringLiteral("two")});
        PageRecord *third = pages.append(QStringLiteral("Y"));
        SeamAnswers seam(PagesUser([](PagesDialog &dialog) {
            PagesUser::select(dialog, 1);
            PagesUser::click(dialog, "btnDel");
            PagesUser::click(dialog, "btnOk");
        }));

        QVERIFY(showPagesDialog(pages, true, nullptr));

        QCOMPARE(pages.log(), QStringList{"delete 1 X"});
        QCOMPARE(pages.records(), QList<PageRecord *>({first, third}));
        QCOMPARE(first->lines, QStringList{"one"});
    }

    void addedAndDeletedPageLeavesNoTrace()
    {
        FakePageList pages;
        pages.append(QStringLiteral("A"));
        pages.append(QStringLiteral("B"));
        const QList<PageRecord *> before = pages.records();
        SeamAnswers seam(PagesUser(
            [](PagesDialog &dialog) {
                PagesUser::click(dialog, "btnAdd");
                PagesUser::click(dialog, "btnDel");
                PagesUser::click(dialog, "btnOk");
            },
            QStringLiteral("New")));

        QVERIFY(showPagesDialog(pages, true, nullptr));

        QCOMPARE(pages.log(), QStringList());
        QCOMPARE(pages.records(), before);
        QCOMPARE(pages.names(), QStringList({"A", "B"}));
    }

    void addedCheckedPageIsCreatedProtected()
    {
        FakePageList pages;
        pages.append(QStringLiteral("A"));
        SeamAnswers seam(PagesUser(
            [](PagesDialog &dialog) {
                PagesUser::click(dialog, "btnAdd");
                PagesUser::click(dialog, "btnProtect");
                PagesUser::click(dialog, "btnOk");
            },
            QStringLiteral("New")));

        QVERIFY(showPagesDialog(pages, true, nullptr));

        QCOMPARE(pages.log(), QStringList{"add New protected"});
        QVERIFY(pages.records().at(1)->isProtected);
    }

    void okWithSecurityOffClearsEveryMark()
    {
        FakePageList pages;
        pages.append(QStringLiteral("A"), {}, true);
        pages.append(QStringLiteral("B"), {}, true);
        SeamAnswers seam(PagesUser([](PagesDialog &dialog) { PagesUser::click(dialog, "btnOk"); }));

        QVERIFY(showPagesDialog(pages, false, nullptr));

        for (const PageRecord *record : pages.records())
            QVERIFY(!record->isProtected);
    }

    void cancelChangesNothing()
    {
        FakePageList pages;
        pages.append(QStringLiteral("A"), {}, true);
        pages.append(QStringLiteral("B"));
        SeamAnswers seam(PagesUser(
            [](PagesDialog &dialog) {
                PagesUser::click(dialog, "btnRename");
                PagesUser::click(dialog, "btnDel");
                PagesUser::click(dialog, "btnUnprotectAll");
                PagesUser::click(dialog, "btnAdd");
                PagesUser::click(dialog, "btnCancel");
            },
            QStringLiteral("Z")));

        QVERIFY(!showPagesDialog(pages, true, nullptr));

        QCOMPARE(pages.log(), QStringList());
        QCOMPARE(pages.names(), QStringList({"A", "B"}));
        QVERIFY(pages.records().at(0)->isProtected);
    }

    void applyDeletesThenAddsThenOrders()
    {
        FakePageList pages;
        pages.append(QStringLiteral("A"));
        PageRecord *b = pages.append(QStringLiteral("B"));
        pages.append(QStringLiteral("C"));
        PageRecord *d = pages.append(QStringLiteral("D"), {}, true);
        QList<PageEntry> entries{{QStringLiteral("D2"), false, d},
                                 {QStringLiteral("X"), true, nullptr},
                                 {QStringLiteral("B"), true, b}};

        applyPagesResult(pages, entries);

        QCOMPARE(pages.log(), QStringList({"delete 2 C", "delete 0 A", "add X protected",
                                           "name 1 D2", "move 1 0", "move 2 1"}));
        QCOMPARE(pages.names(), QStringList({"D2", "X", "B"}));
        QCOMPARE(pages.records(), QList<PageRecord *>({d, entries.at(1).reference, b}));
        QVERIFY(!d->isProtected);
        QVERIFY(entries.at(1).reference->isProtected);
        QVERIFY(b->isProtected);
    }

    void entriesFollowTheTabs()
    {
        FakePageList pages;
        PageRecord *a = pages.append(QStringLiteral("A"), {}, true);
        PageRecord *b = pages.append(QStringLiteral("B"));
        const QList<PageEntry> entries = pageEntries(pages);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).text, QStringLiteral("A"));
        QVERIFY(entries.at(0).checked);
        QCOMPARE(entries.at(0).reference, a);
        QCOMPARE(entries.at(1).text, QStringLiteral("B"));
        QVERIFY(!entries.at(1).checked);
        QCOMPARE(entries.at(1).reference, b);
    }
};

QTEST_MAIN(TestPagesApply)
#include "tst_pagesapply.moc"
