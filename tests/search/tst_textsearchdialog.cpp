#include "search/findhistory.h"
#include "search/textsearchdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestTextSearchDialog : public QObject
{
    Q_OBJECT

private slots:
    void captionAndHistory();
    void close_data();
    void close();
    void returnInTheFieldConfirms();
    void typingReplacesTheLastSearchText();
    void f1AsksForItsHelpTopic();

private:
    static QComboBox *searchText(TextSearchDialog &dialog)
    {
        return dialog.findChild<QComboBox *>(QStringLiteral("searchText"));
    }
};

void TestTextSearchDialog::captionAndHistory()
{
    FindHistory history;
    history.add(QStringLiteral("older"));
    history.add(QStringLiteral("newest"));
    QString last;
    TextSearchDialog dialog(history, last, {});

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillbox Find Text"));
    QComboBox *box = searchText(dialog);
    QVERIFY(box->isEditable());
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(1), QStringLiteral("older"));
    QCOMPARE(box->currentText(), QStringLiteral("newest"));
}

void TestTextSearchDialog::close_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("lastSearchText");
    QTest::addColumn<QStringList>("history");

    QTest::newRow("OK takes the text") << "Foo"
                                       << "btnOK"
                                       << "Foo" << QStringList{"Foo", "bar"};
    QTest::newRow("OK moves an entry in the new spelling") << "BAR"
                                                           << "btnOK"
                                                           << "BAR" << QStringList{"BAR", "foo"};
    QTest::newRow("OK with an empty field") << ""
                                            << "btnOK"
                                            << "" << QStringList{"bar", "foo"};
    QTest::newRow("Cancel empties the last text") << "Foo"
                                                  << "btnCancel"
                                                  << "" << QStringList{"bar", "foo"};
}

void TestTextSearchDialog::close()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);

    FindHistory history;
    history.add(QStringLiteral("foo"));
    history.add(QStringLiteral("bar"));
    QString last = QStringLiteral("previous");
    TextSearchDialog dialog(history, last, {});
    dialog.show();
    searchText(dialog)->setEditText(typed);

    QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QTEST(last, "lastSearchText");
    QTEST(history.entries(), "history");
}

void TestTextSearchDialog::returnInTheFieldConfirms()
{
    FindHistory history;
    QString last;
    TextSearchDialog dialog(history, last, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *field = searchText(dialog)->lineEdit();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("needle"));
    QTest::keyClick(field, Qt::Key_Return);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(last, QStringLiteral("needle"));
    QCOMPARE(history.entries(), QStringList{QStringLiteral("needle")});
}

// The last search text comes up selected, so a new search is typed over it, not onto it.
void TestTextSearchDialog::typingReplacesTheLastSearchText()
{
    FindHistory history;
    history.add(QStringLiteral("zebra"));
    QString last;
    TextSearchDialog dialog(history, last, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *field = searchText(dialog)->lineEdit();
    QCOMPARE(QApplication::focusWidget(), searchText(dialog));
    QCOMPARE(field->selectedText(), QStringLiteral("zebra"));

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("milk"));
    QCOMPARE(field->text(), QStringLiteral("milk"));
}

void TestTextSearchDialog::f1AsksForItsHelpTopic()
{
    FindHistory history;
    QString last;
    int asked = 0;
    TextSearchDialog dialog(history, last, [&asked](int context) { asked = context; });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(asked, 80);
}

QTEST_MAIN(TestTextSearchDialog)
#include "tst_textsearchdialog.moc"
