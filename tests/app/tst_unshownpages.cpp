#include "app/mainwindow.h"
#include "app/pagesession.h"
#include "app/pagetabbar.h"
#include "app/windowcommands.h"
#include "app/windowpages.h"
#include "editor/noteeditor.h"
#include "notes/eventloopdelay.h"
#include "notes/pagerecord.h"
#include "search/pagesearch.h"
#include "support/dialogcontrols.h"
#include "support/encryptednotes.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

// Written by another program, plain: the second page holds a Windows-1252 line and a UTF-8 line.
const QByteArray plainNotes = "[Notes TabNames]\r\n"
                              "Items=3\r\n"
                              "ItemData(0001)=One\r\n"
                              "ItemData(0002)=Two\r\n"
                              "ItemData(0003)=Three\r\n"
                              "[Notes Page0]\r\n"
                              "Items=1\r\n"
                              "ItemData(0001)=first\r\n"
                              "[Notes Page1]\r\n"
                              "Items=2\r\n"
                              "ItemData(0001)=Caf\xe9 needle\r\n"
                              "ItemData(0002)=na\xc3\xafve\r\n"
                              "[Notes Page2]\r\n"
                              "Items=3\r\n"
                              "ItemData(0001)=third\r\n"
                              "ItemData(0002)=\r\n"
                              "ItemData(0003)=last\r\n";

const QStringList SecondLines{QStringLiteral("Caf\u00e9 needle"), QStringLiteral("na\u00efve")};
const QStringList ThirdLines{QStringLiteral("third"), QString(), QStringLiteral("last")};

// Each page as "name=line|line|…", in order.
QStringList pageTexts(const QList<StoredPage> &pages)
{
    QStringList texts;
    for (const StoredPage &page : pages)
        texts.append(page.name + u'=' + page.record.lines.join(u'|'));
    return texts;
}

QStringList filePages(const QString &path)
{
    return pageTexts(WindowFixture::pagesIn(path));
}

QStringList windowPages(MainWindow &window)
{
    QStringList texts;
    for (int i = 0; i < window.pageCount(); ++i)
        texts.append(window.pages().name(i) + u'=' + window.pages().lines(i).join(u'|'));
    return texts;
}

// The user types text into the find dialog and presses OK.
SeamAnswers::Player findText(const QString &text)
{
    return [text](QDialog &dialog) {
        dialog.findChild<QComboBox *>(QStringLiteral("searchText"))->setEditText(text);
        dialog.accept();
        return dialog.result();
    };
}

using DialogSteps = std::function<void(QDialog &)>;

} // namespace

Q_DECLARE_METATYPE(DialogSteps)

// Pages not shown since start-up hold their text as the Notes file stores it: the text seen, found
// and written is the text the file holds, whatever is done with the pages before they are shown.
class UnshownPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void unshownPagesGiveTheirTextAndWriteIt();
    void showingAPageTakesItsText();
    void findOnAnUnshownPageSelectsTheOccurrence();
    void pagesDialogOnUnshownPages_data();
    void pagesDialogOnUnshownPages();
    void protectingAnUnshownPageKeepsItsText();
    void otherCopysChangeOfAnotherPageLeavesAnUnshownPage();
    void firstSaveMakesAgainOnlySectionsItWouldWriteOtherwise();

private:
    MainWindow &startOnPlainNotes(const QByteArray &notes = plainNotes);

    std::unique_ptr<WindowFixture> m_fixture;
};

void UnshownPagesTest::initTestCase()
{
    // The store waits for the lock handling events, as in the program.
    installEventLoopDelay();
}

void UnshownPagesTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void UnshownPagesTest::cleanup()
{
    m_fixture.reset();
}

MainWindow &UnshownPagesTest::startOnPlainNotes(const QByteArray &notes)
{
    QFile file(m_fixture->notesPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(notes) != notes.size())
        qFatal("cannot write the Notes file");
    file.close();
    return m_fixture->start();
}

// A save writes them as they were read; the file then reads as the text they gave.
void UnshownPagesTest::unshownPagesGiveTheirTextAndWriteIt()
{
    MainWindow &window = startOnPlainNotes();
    QVERIFY(window.pageRecord(1)->storedLines);
    QVERIFY(window.pageRecord(1)->lines.isEmpty());
    QCOMPARE(window.pages().lines(1), SecondLines);
    QCOMPARE(window.pages().lines(2), ThirdLines);
    QCOMPARE(window.pages().searchText(1), PageSearch::pageText(SecondLines));
    QCOMPARE(window.pages().searchText(2), PageSearch::pageText(ThirdLines));

    m_fixture->type(QStringLiteral("typed "));
    QVERIFY(window.saveNotes());
    const QStringList expected{"One=typed first", QStringLiteral("Two=") + SecondLines.join(u'|'),
                               "Three=third||last"};
    QCOMPARE(filePages(m_fixture->notesPath()), expected);
    QVERIFY(window.pageRecord(1)->storedLines);

    // Saved again, the pages keep the entries written: the file reads the same.
    m_fixture->type(QStringLiteral("more "));
    QVERIFY(window.saveNotes());
    QCOMPARE(filePages(m_fixture->notesPath()).mid(1), expected.mid(1));
}

// The first showing makes the page's document from the stored text, which then lives there only;
// what is typed is written with it.
void UnshownPagesTest::showingAPageTakesItsText()
{
    MainWindow &window = startOnPlainNotes();
    m_fixture->clickTab(1);
    QCOMPARE(m_fixture->editor().text(), SecondLines.join(QStringLiteral("\r\n")));
    QVERIFY(!window.pageRecord(1)->storedLines);
    QCOMPARE(window.pages().lines(1), SecondLines);

    m_fixture->type(QStringLiteral("x"));
    m_fixture->clickTab(2);
    QVERIFY(window.saveNotes());
    QCOMPARE(filePages(m_fixture->notesPath()),
             QStringList({"One=first", QStringLiteral("Two=x") + SecondLines.join(u'|'),
                          "Three=third||last"}));
}

// Offsets count the text's characters, not the stored bytes ("é" is two of them).
void UnshownPagesTest::findOnAnUnshownPageSelectsTheOccurrence()
{
    MainWindow &window = startOnPlainNotes();
    SeamAnswers answers(findText(QStringLiteral("NEEDLE")));
    m_fixture->press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(window.tabBar()->currentIndex(), 1);
    QCOMPARE(m_fixture->editor().selStart(), 5);
    QCOMPARE(m_fixture->editor().textCursor().selectedText(), QStringLiteral("needle"));

    m_fixture->type(QStringLiteral("pin"));
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(1).record.lines,
             QStringList({QStringLiteral("Caf\u00e9 pin"), SecondLines.at(1)}));
}

void UnshownPagesTest::pagesDialogOnUnshownPages_data()
{
    QTest::addColumn<DialogSteps>("steps");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("pages");

    const QString second = QStringLiteral("Two=") + SecondLines.join(u'|');
    QTest::newRow("moved up") << DialogSteps([](QDialog &dialog) {
        dialog.findChild<QListWidget *>(QStringLiteral("pageList"))->setCurrentRow(2);
        DialogControls::click(dialog, "btnUp");
        DialogControls::click(dialog, "btnUp");
    }) << QStringList{} << QStringList{"Three=third||last", "One=first", second};
    QTest::newRow("the page before deleted") << DialogSteps([](QDialog &dialog) {
        dialog.findChild<QListWidget *>(QStringLiteral("pageList"))->setCurrentRow(0);
        DialogControls::click(dialog, "btnDel");
    }) << QStringList{"Page contains notes. These will be lost\rSure you want to Delete \"One\""}
                                             << QStringList{second, "Three=third||last"};
    // The question knows the page's stored text holds notes.
    QTest::newRow("deleted") << DialogSteps([](QDialog &dialog) {
        dialog.findChild<QListWidget *>(QStringLiteral("pageList"))->setCurrentRow(1);
        DialogControls::click(dialog, "btnDel");
    }) << QStringList{"Page contains notes. These will be lost\rSure you want to Delete \"Two\""}
                             << QStringList{"One=first", "Three=third||last"};
    QTest::newRow("renamed") << DialogSteps([](QDialog &dialog) {
        dialog.findChild<QListWidget *>(QStringLiteral("pageList"))->setCurrentRow(1);
        DialogControls::click(dialog, "btnRename");
    }) << QStringList{}
                             << QStringList{"One=first",
                                            QStringLiteral("Renamed=") + SecondLines.join(u'|'),
                                            "Three=third||last"};
}

// The dialog's OK saves the pages as it left them.
void UnshownPagesTest::pagesDialogOnUnshownPages()
{
    QFETCH(DialogSteps, steps);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, pages);
    MainWindow &window = startOnPlainNotes();
    SeamAnswers answers([&](QDialog &dialog) {
        if (dialog.findChild<QLineEdit *>(QStringLiteral("nameEdit"))) {
            DialogControls::setText(dialog, "nameEdit", QStringLiteral("Renamed"));
            DialogControls::click(dialog, "btnOk");
            return dialog.result();
        }
        steps(dialog);
        DialogControls::click(dialog, "btnOk");
        return dialog.result();
    });

    window.commands().configurePages->trigger();
    QCOMPARE(answers.texts(), questions);
    QCOMPARE(windowPages(window), pages);
    QCOMPARE(filePages(m_fixture->notesPath()), pages);

    // Shown now, each page shows the text it was written with.
    for (int i = 0; i < window.pageCount(); ++i) {
        m_fixture->clickTab(i);
        QCOMPARE(m_fixture->editor().text(),
                 pages.at(i).section(u'=', 1).replace(u'|', QStringLiteral("\r\n")));
    }
}

// Sealing and locking work on a protected page's lines: an unshown page protected takes its
// stored text into them.
void UnshownPagesTest::protectingAnUnshownPageKeepsItsText()
{
    MainWindow &window = startOnPlainNotes();
    WindowPages(window.pages()).setProtected(1, true);
    QCOMPARE(window.pageRecord(1)->lines, SecondLines);
    QVERIFY(!window.pageRecord(1)->storedLines);
    m_fixture->type(QStringLiteral("x"));
    QVERIFY(window.saveNotes());
    const QList<StoredPage> stored = WindowFixture::pagesIn(m_fixture->notesPath());
    QCOMPARE(stored.at(1).record.lines, SecondLines);
    QVERIFY(stored.at(1).record.isProtected);

    WindowPages(window.pages()).setProtected(1, false);
    m_fixture->clickTab(1);
    QCOMPARE(m_fixture->editor().text(), SecondLines.join(QStringLiteral("\r\n")));
}

// The other copy's text of one page replaces it; an unshown page it did not change keeps its
// stored text, and is written with it.
void UnshownPagesTest::otherCopysChangeOfAnotherPageLeavesAnUnshownPage()
{
    MainWindow &window = startOnPlainNotes();
    WindowFixture::saveAsOtherCopy(m_fixture->notesPath(), [](QList<StoredPage> &pages) {
        pages[2].record.lines.append(QStringLiteral("other"));
    });
    m_fixture->type(QStringLiteral("mine "));
    QVERIFY(window.saveNotes());
    const QStringList both{"One=mine first", QStringLiteral("Two=") + SecondLines.join(u'|'),
                           "Three=third||last|other"};
    QCOMPARE(windowPages(window), both);
    QCOMPARE(filePages(m_fixture->notesPath()), both);
    QVERIFY(window.pageRecord(1)->storedLines);

    m_fixture->type(QStringLiteral("more "));
    QVERIFY(window.saveNotes());
    QCOMPARE(filePages(m_fixture->notesPath()).mid(1), both.mid(1));
}

// The first save keeps the section of an unshown page that a write of its lines would make as it
// stands, and makes again one that it would not (unpadded keys here): the file then holds what
// writing every page makes.
void UnshownPagesTest::firstSaveMakesAgainOnlySectionsItWouldWriteOtherwise()
{
    QByteArray notes = plainNotes;
    notes.replace("ItemData(0001)=third\r\nItemData(0002)=\r\nItemData(0003)=last",
                  "ItemData(1)=third\r\nItemData(2)=\r\nItemData(3)=last");
    MainWindow &window = startOnPlainNotes(notes);
    m_fixture->type(QStringLiteral("typed "));
    QVERIFY(window.saveNotes());
    const QByteArray written = EncryptedNotes::decoded(m_fixture->notesPath());
    QVERIFY2(written.contains("[Notes Page2]\nItemData(0001)=third\nItemData(0002)=\n"
                              "ItemData(0003)=last\nItems=3\n"),
             written.constData());
    QVERIFY(!written.contains("ItemData(1)="));
    QCOMPARE(filePages(m_fixture->notesPath()),
             QStringList({"One=typed first", QStringLiteral("Two=") + SecondLines.join(u'|'),
                          "Three=third||last"}));
}

QTEST_MAIN(UnshownPagesTest)
#include "tst_unshownpages.moc"
