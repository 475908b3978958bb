#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "editor/noteeditor.h"
#include "notes/pagerecord.h"
#include "support/dialogcontrols.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

QStringList tabNames(const MainWindow &window)
{
    QStringList names;
    for (int i = 0; i < window.pageCount(); ++i)
        names.append(window.tabBar()->pageName(i));
    return names;
}

} // namespace

class PageCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void setPasswordAlwaysMarksTheSettings_data();
    void setPasswordAlwaysMarksTheSettings();
    void configurePagesRenameAndMove();
    void configurePagesCancelled();
    void configurePagesDeletesTheShownPage();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void PageCommandsTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void PageCommandsTest::cleanup()
{
    m_fixture.reset();
}

void PageCommandsTest::setPasswordAlwaysMarksTheSettings_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("OK with a new password") << true;
    QTest::newRow("Cancel") << false;
}

void PageCommandsTest::setPasswordAlwaysMarksTheSettings()
{
    QFETCH(bool, confirm);
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("text")}}});
    MainWindow &window = m_fixture->start();
    SeamAnswers answers([&](QDialog &dialog) {
        if (!confirm)
            return int(QDialog::Rejected);
        DialogControls::setText(dialog, "editN", QStringLiteral("secret"));
        DialogControls::setText(dialog, "editV", QStringLiteral("secret"));
        DialogControls::click(dialog, "btnOK");
        return dialog.result();
    });
    QVERIFY(!window.settingsChanged());

    window.commands().setPassword->trigger();
    QCOMPARE(answers.dialogs, QStringList{"PasswordDialog"});
    QVERIFY(window.settingsChanged());
    QCOMPARE(window.lockState().securityEnabled(), confirm);
    QCOMPARE(window.lockState().passwordText(), confirm ? QStringLiteral("secret") : QString());
    QCOMPARE(window.lockState().revealed(), confirm);

    // The next save writes the settings even though no text changed.
    const QByteArray before = m_fixture->fileBytes();
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(m_fixture->fileBytes() != before);
    QVERIFY(!window.settingsChanged());
}

void PageCommandsTest::configurePagesRenameAndMove()
{
    m_fixture->writeNotes({{QStringLiteral("One"), {QStringLiteral("first")}},
                           {QStringLiteral("Two"), {QStringLiteral("second")}},
                           {QStringLiteral("Three"), {QStringLiteral("third")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->press(Qt::Key_End);
    m_fixture->type(QStringLiteral(" page"));
    PageRecord *second = window.pageRecord(1);
    SeamAnswers answers([](QDialog &dialog) {
        if (dialog.findChild<QLineEdit *>(QStringLiteral("nameEdit"))) {
            DialogControls::setText(dialog, "nameEdit", QStringLiteral("Renamed"));
            DialogControls::click(dialog, "btnOk");
            return dialog.result();
        }
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("pageList"));
        list->setCurrentRow(1);
        DialogControls::click(dialog, "btnRename");
        DialogControls::click(dialog, "btnUp");
        DialogControls::click(dialog, "btnOk");
        return dialog.result();
    });

    window.commands().configurePages->trigger();
    QCOMPARE(answers.dialogs, (QStringList{"PagesDialog", "NameDialog"}));
    QCOMPARE(tabNames(window), (QStringList{"Renamed", "One", "Three"}));
    QCOMPARE(window.pageRecord(0), second);
    QCOMPARE(window.tabBar()->currentIndex(), 0);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("second page"));

    // The page kept its history: the typing before the dialog can be undone.
    m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("second"));

    // "Ok" saved the pages as the dialog left them.
    const QList<StoredPage> stored = WindowFixture::pagesIn(m_fixture->notesPath());
    QCOMPARE(stored.size(), 3);
    QCOMPARE(stored.at(0).name, QStringLiteral("Renamed"));
    QCOMPARE(stored.at(0).record.lines, QStringList{"second page"});
    QCOMPARE(stored.at(1).name, QStringLiteral("One"));
    QCOMPARE(stored.at(2).record.lines, QStringList{"third"});
}

void PageCommandsTest::configurePagesCancelled()
{
    m_fixture->writeNotes({{QStringLiteral("One"), {QStringLiteral("first")}},
                           {QStringLiteral("Two"), {QStringLiteral("second")}}});
    MainWindow &window = m_fixture->start();
    const QByteArray before = m_fixture->fileBytes();
    SeamAnswers answers([](QDialog &dialog) {
        dialog.findChild<QListWidget *>(QStringLiteral("pageList"))->setCurrentRow(1);
        DialogControls::click(dialog, "btnUp");
        DialogControls::click(dialog, "btnCancel");
        return dialog.result();
    });

    window.commands().configurePages->trigger();
    QCOMPARE(answers.dialogs, QStringList{"PagesDialog"});
    QCOMPARE(tabNames(window), (QStringList{"One", "Two"}));
    QVERIFY(!window.settingsChanged());
    QCOMPARE(m_fixture->fileBytes(), before);
}

void PageCommandsTest::configurePagesDeletesTheShownPage()
{
    m_fixture->writeNotes({{QStringLiteral("One"), {QStringLiteral("first")}},
                           {QStringLiteral("Two"), {QStringLiteral("second")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("typed "));
    SeamAnswers answers([](QDialog &dialog) {
        DialogControls::click(dialog, "btnDel");
        DialogControls::click(dialog, "btnOk");
        return dialog.result();
    });

    window.commands().configurePages->trigger();
    QCOMPARE(answers.texts(), QStringList{"Page contains notes. These will be lost\rSure you want "
                                          "to Delete \"One\""});
    QCOMPARE(tabNames(window), QStringList{"Two"});
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("second"));
    m_fixture->type(QStringLiteral("more "));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    const QList<StoredPage> stored = WindowFixture::pagesIn(m_fixture->notesPath());
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.at(0).record.lines, QStringList{"more second"});
}

QTEST_MAIN(PageCommandsTest)
#include "tst_pagecommands.moc"
