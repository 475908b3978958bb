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

} // namespace

Q_DECLARE_METATYPE(Change)

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

private:
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

    QVERIFY(QDir().mkpath(path(QStringLiteral("first"))));
    const QString file = path(QStringLiteral("Quillbox.ini"));
    const QString firstFile = path(QStringLiteral("first/Quillbox.ini"));
    NotesStore store(nullptr);
    store.setFileName(file);
    NotesSettings settings;
    QList<StoredPage> pages = threePages();
    QVERIFY(store.write(settings, pages, true, savedAt));
    QVERIFY(store.write(settings, pages, true, savedAt));
    QVERIFY(QFile::copy(file, firstFile));

    change(pages);
    QVERIFY(store.write(settings, pages, true, savedAt));

    NotesStore first(nullptr);
    first.setFileName(firstFile);
    NotesSettings firstSettings = settings;
    QList<StoredPage> unused;
    QVERIFY(first.read(firstSettings, unused));
    QVERIFY(first.write(settings, pages, true, savedAt));
    QCOMPARE(bytesOf(file), bytesOf(firstFile));
    QCOMPARE(pageTexts(readBack(file)), pageTexts(readBack(firstFile)));
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

QTEST_GUILESS_MAIN(NotesRewriteTest)
#include "tst_notesrewrite.moc"
