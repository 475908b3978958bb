#include "inistore/inifilemain.h"
#include "notes/notesstore.h"
#include "storedpagestext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using StoredPagesText::pageTexts;
using StoredPagesText::readBack;

// A save writes a page whose lines did not change since the store's last write by keeping the
// entries it made then. These tests hold such a save to the bytes a store that never wrote the
// pages before makes of the same pages.
namespace {

const QDateTime savedAt(QDate(2026, 12, 8), QTime(12, 0));

StoredPage page(const QString &name, const QStringList &lines)
{
    StoredPage stored{name, {}};
    stored.record.lines = lines;
    return stored;
}

QList<StoredPage> threePages()
{
    return {page(QStringLiteral("A"), {QStringLiteral("a one"), QStringLiteral("a two")}),
            page(QStringLiteral("B"), {QStringLiteral("b one"), QString(), QStringLiteral("b")}),
            page(QStringLiteral("C"), {QStringLiteral("c one")})};
}

// The same text in lists and strings of their own, sharing nothing with lines.
QStringList deepCopy(const QStringList &lines)
{
    QStringList copy;
    for (const QString &line : lines)
        copy.append(QString(line.constData(), line.size()));
    return copy;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using Change = std::function<void(QList<StoredPage> &)>;

// A page as a window holds it: its text either in its record or elsewhere (as in the page's
// document, given by a function), known by a stamp that changes with every change of the text.
struct HeldPage
{
    QString name;
    QStringList lines;
    std::uint64_t stamp = 0; // 0: none, the page is known by its lines
    bool inRecord = false;
};

std::uint64_t freshStamp()
{
    static std::uint64_t last = 0;
    return ++last;
}

QList<HeldPage> threeHeldPages()
{
    return {{QStringLiteral("A"), {QStringLiteral("a one"), QStringLiteral("a two")}, freshStamp()},
            {QStringLiteral("B"), {QStringLiteral("b one"), QString()}, freshStamp(), true},
            {QStringLiteral("C"), {QStringLiteral("c one")}, freshStamp()}};
}

// The pages as the window gives them to a save.
QList<StoredPage> storedOf(const QList<HeldPage> &held)
{
    QList<StoredPage> pages;
    for (const HeldPage &page : held) {
        StoredPage stored{page.name, {}};
        stored.textStamp = page.stamp;
        if (page.inRecord || page.stamp == 0)
            stored.record.lines = page.lines;
        else
            stored.textLines = [lines = page.lines] { return lines; };
        pages.append(stored);
    }
    return pages;
}

// An edit of the page's text: its lines and a new stamp.
void edit(HeldPage &page, const QStringList &lines)
{
    page.lines = lines;
    page.stamp = freshStamp();
}

using HeldChange = std::function<void(QList<HeldPage> &)>;

// A Notes file another program wrote, plain: a page of ASCII, one with a Windows-1252 line and
// UTF-8 lines, an empty page, a page of one empty line, a page whose lines start and end blank,
// and pages whose sections a write of their lines does not make as they stand: unpadded keys in
// a section spelt otherwise, an item past the count, a count with a leading zero.
const QByteArray plainNotes = "[Notes TabNames]\r\n"
                              "Items=8\r\n"
                              "ItemData(0001)=Plain\r\n"
                              "ItemData(0002)=Mixed\r\n"
                              "ItemData(0003)=Empty\r\n"
                              "ItemData(0004)=Blank\r\n"
                              "ItemData(0005)=Spaced\r\n"
                              "ItemData(0006)=Unpadded\r\n"
                              "ItemData(0007)=Stale\r\n"
                              "ItemData(0008)=Zero\r\n"
                              "[Notes Page0]\r\n"
                              "Items=3\r\n"
                              "ItemData(0001)=one\r\n"
                              "ItemData(0002)=\r\n"
                              "ItemData(0003)=three\r\n"
                              "[Notes Page1]\r\n"
                              "Items=3\r\n"
                              "ItemData(0001)=Caf\xe9 \x80 5\r\n"
                              "ItemData(0002)=na\xc3\xafve \xe2\x82\xac\r\n"
                              "ItemData(0003)=\xef\xbb\xbfmarked\r\n"
                              "[Notes Page2]\r\n"
                              "Items=0\r\n"
                              "[Notes Page3]\r\n"
                              "Items=1\r\n"
                              "ItemData(0001)=\r\n"
                              "[Notes Page4]\r\n"
                              "Items=2\r\n"
                              "ItemData(0001)=   indented\r\n"
                              "ItemData(0002)=trailing   \r\n"
                              "[notes page5]\r\n"
                              "Items=2\r\n"
                              "ItemData(1)=first\r\n"
                              "ItemData(2)=second\r\n"
                              "[Notes Page6]\r\n"
                              "Items=1\r\n"
                              "ItemData(0001)=kept\r\n"
                              "ItemData(0009)=past the count\r\n"
                              "[Notes Page7]\r\n"
                              "Items=02\r\n"
                              "ItemData(0001)=one\r\n"
                              "ItemData(0002)=two\r\n";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(HeldChange)

class NotesRewriteTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void saveWritesWhatAFirstSaveWrites_data();
    void saveWritesWhatAFirstSaveWrites();
    void pageChangedElsewhereAndReadIsWrittenFromItsText();
    void stampedSaveWritesWhatAFirstSaveWrites_data();
    void stampedSaveWritesWhatAFirstSaveWrites();
    void storeHoldsNoLinesOfAStampedPage();
    void storedLinesWriteWhatTheirTextWrites_data();
    void storedLinesWriteWhatTheirTextWrites();

private:
    void saveAsAFirstSave(const std::function<QList<StoredPage>()> &pages,
                          const std::function<void()> &change);
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void NotesRewriteTest::initTestCase()
{
    // One seed for every save, so that files of the same content are equal bytes.
    IniFileMain::setClock([] { return std::uint32_t(51155566); });
}

void NotesRewriteTest::cleanupTestCase()
{
    IniFileMain::setClock(nullptr);
}

void NotesRewriteTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void NotesRewriteTest::saveWritesWhatAFirstSaveWrites_data()
{
    QTest::addColumn<Change>("change");

    QTest::newRow("nothing changed") << Change([](QList<StoredPage> &) {});
    QTest::newRow("one page edited") << Change(
        [](QList<StoredPage> &pages) { pages[1].record.lines.append(QStringLiteral("typed")); });
    QTest::newRow("a line edited in place") << Change(
        [](QList<StoredPage> &pages) { pages[0].record.lines[1] = QStringLiteral("a twice"); });
    QTest::newRow("page edited and undone") << Change(
        [](QList<StoredPage> &pages) { pages[1].record.lines = deepCopy(pages[1].record.lines); });
    QTest::newRow("pages swapped")
        << Change([](QList<StoredPage> &pages) { pages.swapItemsAt(0, 2); });
    QTest::newRow("page moved to the front")
        << Change([](QList<StoredPage> &pages) { pages.move(2, 0); });
    QTest::newRow("page renamed") << Change(
        [](QList<StoredPage> &pages) { pages[1].name = QStringLiteral("B renamed"); });
    QTest::newRow("page deleted") << Change([](QList<StoredPage> &pages) { pages.removeAt(1); });
    QTest::newRow("page added at the front") << Change([](QList<StoredPage> &pages) {
        pages.prepend(page(QStringLiteral("New"), {QStringLiteral("new")}));
    });
    QTest::newRow("two pages with one text")
        << Change([](QList<StoredPage> &pages) { pages[2].record.lines = pages[0].record.lines; });
    QTest::newRow("line split by a line break") << Change(
        [](QList<StoredPage> &pages) { pages[2].record.lines[0] = QStringLiteral("c\none"); });
    QTest::newRow("page emptied") << Change(
        [](QList<StoredPage> &pages) { pages[0].record.lines.clear(); });
}

// The store saves the pages twice (the second save keeps every page's entries), the pages
// change, and it saves again. A store that read the file as it stood before that last save
// saves the same pages: both files hold the same bytes.
void NotesRewriteTest::saveWritesWhatAFirstSaveWrites()
{
    QFETCH(Change, change);
    QList<StoredPage> pages = threePages();
    saveAsAFirstSave([&] { return pages; }, [&] { change(pages); });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(pageTexts(readBack(path(QStringLiteral("Quillbox.ini")))),
             pageTexts(readBack(path(QStringLiteral("first/Quillbox.ini")))));
}

// The store read the file again after another copy changed a page there: its entries are the
// file's now, and its own text of that page is written from the text.
void NotesRewriteTest::pageChangedElsewhereAndReadIsWrittenFromItsText()
{
    const QString file = path(QStringLiteral("Quillbox.ini"));
    NotesStore store(nullptr);
    store.setFileName(file);
    NotesSettings settings;
    const QList<StoredPage> pages = threePages();
    QVERIFY(store.write(settings, pages, true, savedAt));

    NotesStore other(nullptr);
    other.setFileName(file);
    NotesSettings otherSettings;
    QList<StoredPage> otherPages;
    QVERIFY(other.read(otherSettings, otherPages));
    otherPages[1].record.lines = QStringList{QStringLiteral("elsewhere")};
    QVERIFY(other.write(otherSettings, otherPages, true, savedAt));

    NotesSettings readSettings;
    QList<StoredPage> readPages;
    QVERIFY(store.read(readSettings, readPages));
    QCOMPARE(readPages[1].record.lines, QStringList{QStringLiteral("elsewhere")});
    QVERIFY(store.write(settings, pages, true, savedAt));
    QCOMPARE(pageTexts(readBack(file)), pageTexts(pages));
}

void NotesRewriteTest::stampedSaveWritesWhatAFirstSaveWrites_data()
{
    QTest::addColumn<HeldChange>("change");

    QTest::newRow("nothing changed") << HeldChange([](QList<HeldPage> &) {});
    QTest::newRow("text held elsewhere edited") << HeldChange([](QList<HeldPage> &pages) {
        edit(pages[0], {QStringLiteral("a one"), QStringLiteral("a typed")});
    });
    QTest::newRow("text held in its record edited")
        << HeldChange([](QList<HeldPage> &pages) { edit(pages[1], {QStringLiteral("b typed")}); });
    QTest::newRow("edited and undone")
        << HeldChange([](QList<HeldPage> &pages) { pages[2].stamp = freshStamp(); });
    QTest::newRow("text moves out of its record")
        << HeldChange([](QList<HeldPage> &pages) { pages[1].inRecord = false; });
    QTest::newRow("text moves out of its record, then edited")
        << HeldChange([](QList<HeldPage> &pages) {
               pages[1].inRecord = false;
               edit(pages[1], {QStringLiteral("b one"), QStringLiteral("b two")});
           });
    QTest::newRow("text taken back into its record")
        << HeldChange([](QList<HeldPage> &pages) { pages[0].inRecord = true; });
    QTest::newRow("known by its lines from now on, other lines")
        << HeldChange([](QList<HeldPage> &pages) {
               pages[0].stamp = 0;
               pages[0].lines = QStringList{QStringLiteral("sealed")};
           });
    QTest::newRow("pages swapped")
        << HeldChange([](QList<HeldPage> &pages) { pages.swapItemsAt(0, 2); });
    QTest::newRow("page moved to the front")
        << HeldChange([](QList<HeldPage> &pages) { pages.move(2, 0); });
    QTest::newRow("page renamed") << HeldChange(
        [](QList<HeldPage> &pages) { pages[0].name = QStringLiteral("A renamed"); });
    QTest::newRow("page deleted") << HeldChange([](QList<HeldPage> &pages) { pages.removeAt(0); });
    QTest::newRow("page added at the front") << HeldChange([](QList<HeldPage> &pages) {
        pages.prepend({QStringLiteral("New"), {QStringLiteral("new")}, freshStamp()});
    });
}

// As saveWritesWhatAFirstSaveWrites, for pages known by the stamps of their texts, whose text
// may live outside their records.
void NotesRewriteTest::stampedSaveWritesWhatAFirstSaveWrites()
{
    QFETCH(HeldChange, change);
    QList<HeldPage> held = threeHeldPages();
    saveAsAFirstSave([&] { return storedOf(held); }, [&] { change(held); });
    if (QTest::currentTestFailed())
        return;
    QStringList expected;
    for (const HeldPage &page : held)
        expected.append(page.name + u'=' + page.lines.join(u'|'));
    QCOMPARE(pageTexts(readBack(path(QStringLiteral("Quillbox.ini")))), expected);
}

// The store saves the pages twice (the second save keeps every page's entries), the pages
// change, and it saves again. A store that read the file as it stood before that last save
// ("first/Quillbox.ini") saves the same pages: both files hold the same bytes.
void NotesRewriteTest::saveAsAFirstSave(const std::function<QList<StoredPage>()> &pages,
                                        const std::function<void()> &change)
{
    QVERIFY(QDir().mkpath(path(QStringLiteral("first"))));
    const QString file = path(QStringLiteral("Quillbox.ini"));
    const QString firstFile = path(QStringLiteral("first/Quillbox.ini"));
    NotesStore store(nullptr);
    store.setFileName(file);
    NotesSettings settings;
    QVERIFY(store.write(settings, pages(), true, savedAt));
    QVERIFY(store.write(settings, pages(), true, savedAt));
    QVERIFY(QFile::copy(file, firstFile));

    change();
    QVERIFY(store.write(settings, pages(), true, savedAt));

    NotesStore first(nullptr);
    first.setFileName(firstFile);
    NotesSettings firstSettings = settings;
    QList<StoredPage> unused;
    QVERIFY(first.read(firstSettings, unused));
    QVERIFY(first.write(settings, pages(), true, savedAt));
    QCOMPARE(bytesOf(file), bytesOf(firstFile));
}

// A page known by its stamp leaves its lines to the page: the store keeps no list of them.
void NotesRewriteTest::storeHoldsNoLinesOfAStampedPage()
{
    NotesStore store(nullptr);
    store.setFileName(path(QStringLiteral("Quillbox.ini")));
    NotesSettings settings;
    QStringList lines{QStringLiteral("kept by the page only")};
    {
        StoredPage page{QStringLiteral("A"), {}};
        page.record.lines = lines;
        page.textStamp = freshStamp();
        QVERIFY(store.write(settings, {page}, true, savedAt));
    }
    QVERIFY(lines.isDetached());
}

void NotesRewriteTest::storedLinesWriteWhatTheirTextWrites_data()
{
    QTest::addColumn<Change>("change");

    QTest::newRow("nothing changed") << Change([](QList<StoredPage> &) {});
    QTest::newRow("pages swapped")
        << Change([](QList<StoredPage> &pages) { pages.swapItemsAt(0, 1); });
    QTest::newRow("page moved to the front")
        << Change([](QList<StoredPage> &pages) { pages.move(4, 0); });
    QTest::newRow("page deleted") << Change([](QList<StoredPage> &pages) { pages.removeAt(0); });
    QTest::newRow("page renamed") << Change(
        [](QList<StoredPage> &pages) { pages[1].name = QStringLiteral("Mixed renamed"); });
    QTest::newRow("page added at the front") << Change([](QList<StoredPage> &pages) {
        pages.prepend(page(QStringLiteral("New"), {QStringLiteral("new")}));
    });
    QTest::newRow("one page's text replaced") << Change([](QList<StoredPage> &pages) {
        pages[1] = page(pages[1].name, {QStringLiteral("typed")});
    });
}

// A store reads the pages as text, another one the same file with the pages' stored lines; both
// write the pages, change them alike and write them twice more (a write keeps the entries of a
// page still at its place): the files hold the same bytes each time.
void NotesRewriteTest::storedLinesWriteWhatTheirTextWrites()
{
    QFETCH(Change, change);
    const QString textFile = path(QStringLiteral("Quillbox.ini"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("stored"))));
    const QString storedFile = path(QStringLiteral("stored/Quillbox.ini"));
    QVERIFY(writeFile(textFile, plainNotes));
    QVERIFY(writeFile(storedFile, plainNotes));

    NotesStore textStore(nullptr);
    textStore.setFileName(textFile);
    NotesSettings textSettings;
    QList<StoredPage> textPages;
    QVERIFY(textStore.read(textSettings, textPages));
    NotesStore storedStore(nullptr);
    storedStore.setFileName(storedFile);
    NotesSettings storedSettings;
    QList<StoredPage> storedPages;
    QVERIFY(storedStore.read(storedSettings, storedPages, PageTextForm::StoredLines));

    QCOMPARE(storedPages.size(), textPages.size());
    for (int i = 0; i < storedPages.size(); ++i)
        QCOMPARE(storedPages[i].lines(), textPages[i].record.lines);
    QCOMPARE(textPages[1].record.lines.at(0), QStringLiteral("Caf\u00e9 \u20ac 5"));
    QVERIFY(storedPages[0].record.storedLines && storedPages[1].record.storedLines);
    QVERIFY(storedPages[0].record.lines.isEmpty() && storedPages[1].record.lines.isEmpty());

    const auto writeBoth = [&] {
        QVERIFY(textStore.write(textSettings, textPages, true, savedAt));
        QVERIFY(storedStore.write(storedSettings, storedPages, true, savedAt));
        QCOMPARE(bytesOf(storedFile), bytesOf(textFile));
    };
    writeBoth();
    change(textPages);
    change(storedPages);
    for (int write = 0; write < 2 && !QTest::currentTestFailed(); ++write)
        writeBoth();
    QCOMPARE(pageTexts(readBack(storedFile)), pageTexts(textPages));
}

QTEST_GUILESS_MAIN(NotesRewriteTest)
#include "tst_notesrewrite.moc"
