#include "inistore/inierror.h"
#include "inistore/inipstringlist.h"
#include "inistore/initext.h"

#include <QtTest>
#include <algorithm>
#include <random>

namespace {

IniPStringList listOf(const QByteArrayList &texts)
{
    IniPStringList list;
    for (const QByteArray &text : texts)
        list.add(text.toStdString());
    return list;
}

QByteArrayList textsOf(const PStringList &list)
{
    QByteArrayList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << QByteArray(list.at(i).data(), qsizetype(list.at(i).size()));
    return texts;
}

} // namespace

class TestPStringList : public QObject
{
    Q_OBJECT

private slots:
    void compareText_data();
    void compareText();
    void sortedAddKeepsOrderAndDropsEquals();
    void switchingToSortedSortsStablyAndDropsEquals();
    void insertIntoSortedListIsRefused();
    void assign_data();
    void assign();
    void nameOf_data();
    void nameOf();
    void findName_data();
    void findName();
    void findNameGivesUpOnEntryWithoutSeparator();
    void indexOfNameScansUnsortedList();
    void indexOfSectRef_data();
    void indexOfSectRef();
    void indexOfSectRefOnUnsortedListRaises();
    void deleteSectRef_data();
    void deleteSectRef();
    void largeListMatchesReferenceOrder();
    void runsOfInsertionsKeepOrder();
    void addRunMatchesAddingEachInTurn_data();
    void addRunMatchesAddingEachInTurn();
    void gatherTextsKeepsOnlyTextsStillSeen();
    void textsStayWhereTheyWerePut();
    void blocksOfUnusedTextsAreFreed();
};

void TestPStringList::compareText_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("case folded") << QByteArray("notes;HotKey") << QByteArray("NOTES;hotkey") << 0;
    QTest::newRow("shorter first") << QByteArray("Notes") << QByteArray("Notes;") << -1;
    QTest::newRow("blank before semicolon")
        << QByteArray("Notes Page0;A") << QByteArray("Notes;A") << -1;
    QTest::newRow("letters fold to upper case") << QByteArray("_") << QByteArray("a") << 1;
    QTest::newRow("digit before letter") << QByteArray("Page1") << QByteArray("PageA") << -1;
    QTest::newRow("high bytes are not folded") << QByteArray("\xe9") << QByteArray("\xc9") << 1;
    QTest::newRow("high bytes sort after ASCII") << QByteArray("\x80") << QByteArray("z") << 1;
}

void TestPStringList::compareText()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, sign);
    const int result = IniText::compareText(a.toStdString(), b.toStdString());
    QCOMPARE((result > 0) - (result < 0), sign);
    const int reverse = IniText::compareText(b.toStdString(), a.toStdString());
    QCOMPARE((reverse > 0) - (reverse < 0), -sign);
}

void TestPStringList::sortedAddKeepsOrderAndDropsEquals()
{
    IniPStringList list;
    QVERIFY(list.sorted());
    list.add("Notes;b=2");
    list.add("Notes Page0;Items=1");
    list.add("Notes;A=1");
    QCOMPARE(textsOf(list), QByteArrayList({"Notes Page0;Items=1", "Notes;A=1", "Notes;b=2"}));
    QCOMPARE(list.add("NOTES;a=1"), 1);
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.at(1), std::string("Notes;A=1"));
}

void TestPStringList::switchingToSortedSortsStablyAndDropsEquals()
{
    IniPStringList list;
    list.setSorted(false);
    for (const char *text : {"s;b=1", "s;a=1", "S;A=1", "s;c=1", "s;B=1"})
        list.add(text);
    QCOMPARE(list.count(), 5);
    list.setSorted(true);
    QCOMPARE(textsOf(list), QByteArrayList({"s;a=1", "s;b=1", "s;c=1"}));
}

void TestPStringList::assign_data()
{
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<QByteArrayList>("texts");
    QTest::addColumn<QByteArrayList>("expected");
    QTest::newRow("in order") << true << QByteArrayList{"s;a=1", "s;b=1", "t;a=1"}
                              << QByteArrayList{"s;a=1", "s;b=1", "t;a=1"};
    QTest::newRow("out of order, stably")
        << true << QByteArrayList{"t;a=1", "s;b=1", "S;B=1", "s;a=1"}
        << QByteArrayList{"s;a=1", "s;b=1", "t;a=1"};
    QTest::newRow("repeats in order")
        << true << QByteArrayList{"s;a=1", "S;A=1", "s;b=1"} << QByteArrayList{"s;a=1", "s;b=1"};
    QTest::newRow("unsorted keeps all") << false << QByteArrayList{"t;a=1", "s;a=1", "S;A=1"}
                                        << QByteArrayList{"t;a=1", "s;a=1", "S;A=1"};
}

void TestPStringList::assign()
{
    QFETCH(bool, sorted);
    QFETCH(QByteArrayList, texts);
    QFETCH(QByteArrayList, expected);
    IniPStringList list = listOf({"x;old=1"});
    list.setSorted(sorted);
    std::vector<IniEntry> entries;
    for (const QByteArray &text : texts)
        entries.push_back({list.keep(text.toStdString()), false});
    list.assign(std::move(entries));
    QCOMPARE(textsOf(list), expected);
    if (sorted && !expected.isEmpty())
        QCOMPARE(list.indexOfName("s;a"), 0);
}

void TestPStringList::insertIntoSortedListIsRefused()
{
    IniPStringList list;
    QVERIFY_THROWS_EXCEPTION(IniError, list.insert(0, "a;b=c"));
    PStringList plain;
    plain.insert(0, "z=1");
    plain.insert(0, "a=1");
    QCOMPARE(textsOf(plain), QByteArrayList({"a=1", "z=1"}));
}

void TestPStringList::nameOf_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("name and value")
        << QByteArray("Notes;HotKey=3065") << QByteArray("Notes;HotKey");
    QTest::newRow("value holds separator") << QByteArray("a=b=c") << QByteArray("a");
    QTest::newRow("empty value") << QByteArray("a=") << QByteArray("a");
    QTest::newRow("no separator") << QByteArray("abc") << QByteArray();
}

void TestPStringList::nameOf()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, name);
    PStringList list;
    list.add(text.toStdString());
    QCOMPARE(QByteArray::fromStdString(list.nameOf(0)), name);
}

void TestPStringList::findName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("index");
    // The list: 0 "Notes Page0;Items=2", 1 "Notes;A1=x", 2 "Notes;A=1", 3 "Notes;A=3",
    // 4 "Notes;B=2", 5 "Positions;Posn0=4"
    QTest::newRow("first of equal names") << QByteArray("notes;a") << true << 2;
    QTest::newRow("longer name sorts before") << QByteArray("Notes;A1") << true << 1;
    QTest::newRow("other section") << QByteArray("NOTES PAGE0;items") << true << 0;
    QTest::newRow("last") << QByteArray("Positions;Posn0") << true << 5;
    QTest::newRow("missing in the middle") << QByteArray("Notes;A2") << false << 2;
    QTest::newRow("missing at the end") << QByteArray("Zzz;k") << false << 6;
    QTest::newRow("missing at the start") << QByteArray("A;k") << false << 0;
    QTest::newRow("prefix of a name") << QByteArray("Notes;") << false << 1;
}

void TestPStringList::findName()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, found);
    QFETCH(int, index);
    const IniPStringList list = listOf({"Notes;B=2", "Notes;A=3", "Positions;Posn0=4", "Notes;A=1",
                                        "Notes Page0;Items=2", "Notes;A1=x"});
    int at = -1;
    bool unsorted = true;
    QCOMPARE(list.findName(name.toStdString(), at, unsorted), found);
    QCOMPARE(at, index);
    QVERIFY(!unsorted);
    QCOMPARE(list.indexOfName(name.toStdString()), found ? index : -1);
}

void TestPStringList::findNameGivesUpOnEntryWithoutSeparator()
{
    PStringList list;
    list.setSorted(true);
    for (const char *text : {"a=1", "b", "c=3"})
        list.add(text);
    int index = -1;
    bool unsorted = false;
    QVERIFY(!list.findName("c", index, unsorted));
    QVERIFY(unsorted);
    QCOMPARE(list.indexOfName("C"), 2);
    QCOMPARE(list.indexOfName("b"), -1);
}

void TestPStringList::indexOfNameScansUnsortedList()
{
    PStringList list;
    for (const char *text : {"z=1", "a=2", "A=3"})
        list.add(text);
    QCOMPARE(list.indexOfName("a"), 1);
    QCOMPARE(list.indexOfName("Z"), 0);
    QCOMPARE(list.indexOfName("q"), -1);
    QCOMPARE(list.indexOf("A=2"), 1);
}

void TestPStringList::indexOfSectRef_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<int>("index");
    // The list: 0 "Notes Page0;Items=1", 1 "Notes1;C=3", 2 "Notes;A=1", 3 "Notes;B=2",
    // 4 "Positions;P=1"
    QTest::newRow("first entry of the section") << QByteArray("Notes") << 2;
    QTest::newRow("case ignored") << QByteArray("notes page0") << 0;
    QTest::newRow("section sorting before") << QByteArray("Notes1") << 1;
    QTest::newRow("last section") << QByteArray("POSITIONS") << 4;
    QTest::newRow("prefix of a section") << QByteArray("Note") << -1;
    QTest::newRow("missing") << QByteArray("Topline") << -1;
    QTest::newRow("empty") << QByteArray() << -1;
}

void TestPStringList::indexOfSectRef()
{
    QFETCH(QByteArray, section);
    QFETCH(int, index);
    const IniPStringList list =
        listOf({"Notes;B=2", "Positions;P=1", "Notes;A=1", "Notes Page0;Items=1", "Notes1;C=3"});
    QCOMPARE(list.indexOfSectRef(section.toStdString()), index);
}

void TestPStringList::indexOfSectRefOnUnsortedListRaises()
{
    IniPStringList list;
    list.setSorted(false);
    list.add("a;b=c");
    try {
        list.indexOfSectRef("a");
        QFAIL("no error raised");
    } catch (const IniError &error) {
        QCOMPARE(QByteArray(error.what()),
                 QByteArray("TIniPStringList.IndexOfSectRef says, \"Sort the list you fool\"."));
    }
}

void TestPStringList::deleteSectRef_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArrayList>("left");
    QTest::newRow("middle section")
        << QByteArray("notes")
        << QByteArrayList({"Notes Page0;Items=1", "Notes1;C=3", "Positions;P=1"});
    QTest::newRow("first section")
        << QByteArray("Notes Page0")
        << QByteArrayList({"Notes1;C=3", "Notes;A=1", "Notes;B=2", "Positions;P=1"});
    QTest::newRow("last section") << QByteArray("Positions")
                                  << QByteArrayList({"Notes Page0;Items=1", "Notes1;C=3",
                                                     "Notes;A=1", "Notes;B=2"});
    QTest::newRow("missing section") << QByteArray("Note")
                                     << QByteArrayList({"Notes Page0;Items=1", "Notes1;C=3",
                                                        "Notes;A=1", "Notes;B=2", "Positions;P=1"});
}

void TestPStringList::deleteSectRef()
{
    QFETCH(QByteArray, section);
    QFETCH(QByteArrayList, left);
    IniPStringList list =
        listOf({"Notes;B=2", "Positions;P=1", "Notes;A=1", "Notes Page0;Items=1", "Notes1;C=3"});
    list.deleteSectRef(section.toStdString());
    QCOMPARE(textsOf(list), left);
}

// Many entries in random order, so that the storage splits and merges its blocks: the list
// must give the same order, lookups and deletions as a plain sorted vector.
void TestPStringList::largeListMatchesReferenceOrder()
{
    std::mt19937 random(7);
    IniPStringList list;
    std::vector<std::string> reference;
    for (int i = 0; i < 20000; ++i) {
        const std::string entry = "S" + std::to_string(random() % 50) + ";Key" +
                                  std::to_string(random() % 100000) + "=" + std::to_string(i);
        const int before = list.count();
        list.add(entry);
        if (list.count() > before)
            reference.push_back(entry);
    }
    std::sort(reference.begin(), reference.end(), IniText::lessText);
    QCOMPARE(list.count(), static_cast<int>(reference.size()));
    for (int i = 0; i < list.count(); ++i)
        QCOMPARE(list.at(i), reference[static_cast<std::size_t>(i)]);

    for (int round = 0; round < 3000; ++round) {
        const int index = static_cast<int>(random() % static_cast<unsigned>(list.count()));
        const std::string name = list.nameOf(index);
        const int first = list.indexOfName(name);
        QVERIFY(first >= 0 && first <= index);
        QCOMPARE(list.nameOf(first), name);
        list.removeAt(index);
        reference.erase(reference.begin() + index);
    }
    list.deleteSectRef("S7");
    reference.erase(std::remove_if(reference.begin(), reference.end(),
                                   [](const std::string &e) { return e.rfind("S7;", 0) == 0; }),
                    reference.end());
    QCOMPARE(list.count(), static_cast<int>(reference.size()));
    for (int i = 0; i < list.count(); ++i)
        QCOMPARE(list.at(i), reference[static_cast<std::size_t>(i)]);
    QCOMPARE(list.indexOfSectRef("S7"), -1);
}

// Lists written line by line insert long runs in the middle of the list, and rewriting a
// list deletes its section first: the order must hold through both, round after round.
void TestPStringList::runsOfInsertionsKeepOrder()
{
    IniPStringList list;
    std::vector<std::string> reference;
    const auto addBoth = [&](const std::string &entry) {
        list.add(entry);
        reference.push_back(entry);
    };
    for (int i = 0; i < 3000; ++i)
        addBoth("Notes;Key" + std::to_string(i) + "=x");
    for (int round = 0; round < 3; ++round) {
        for (const char *page : {"Notes Page1", "Notes Page0"}) {
            list.deleteSectRef(page);
            reference.erase(std::remove_if(reference.begin(), reference.end(),
                                           [page](const std::string &e) {
                                               return e.rfind(std::string(page) + ';', 0) == 0;
                                           }),
                            reference.end());
            addBoth(std::string(page) + ";Items=" + std::to_string(12000 + round));
            for (int line = 1; line <= 12000 + round; ++line) {
                char key[32];
                std::snprintf(key, sizeof key, ";ItemData(%04d)=", line);
                addBoth(page + std::string(key) + std::to_string(round));
            }
        }
        std::sort(reference.begin(), reference.end(), IniText::lessText);
        QCOMPARE(list.count(), static_cast<int>(reference.size()));
        for (int i = 0; i < list.count(); ++i)
            QCOMPARE(list.at(i), reference[static_cast<std::size_t>(i)]);
        QCOMPARE(
            list.indexOfName("Notes Page0;ItemData(10000)"),
            static_cast<int>(std::find(reference.begin(), reference.end(),
                                       "Notes Page0;ItemData(10000)=" + std::to_string(round)) -
                             reference.begin()));
    }
}

namespace {

// "name=value" texts of `count` keys "K0001".. of a section, in order.
QByteArrayList sectionTexts(const QByteArray &section, int count, const QByteArray &value = "v")
{
    QByteArrayList texts;
    for (int i = 1; i <= count; ++i)
        texts << section + ";K" + QByteArray::number(i).rightJustified(4, '0') + "=" + value;
    return texts;
}

// Every entry's text, with "*" in front of the touched ones.
QByteArrayList markedTextsOf(const PStringList &list)
{
    QByteArrayList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << (list.isTouched(i) ? "*" : "") +
                     QByteArray(list.at(i).data(), qsizetype(list.at(i).size()));
    return texts;
}

} // namespace

void TestPStringList::addRunMatchesAddingEachInTurn_data()
{
    QTest::addColumn<QByteArrayList>("present");
    QTest::addColumn<QByteArrayList>("run");
    QTest::addColumn<bool>("touched");
    const QByteArrayList around = sectionTexts("A", 700) + sectionTexts("C", 700);
    QTest::newRow("into an empty list") << QByteArrayList() << sectionTexts("B", 5) << true;
    QTest::newRow("between two sections") << around << sectionTexts("B", 1500) << true;
    QTest::newRow("before every entry") << around << sectionTexts("0", 600) << true;
    QTest::newRow("after every entry") << around << sectionTexts("D", 600) << false;
    QTest::newRow("at the end of a block")
        << sectionTexts("A", 512) + sectionTexts("C", 3) << sectionTexts("B", 3) << true;
    QTest::newRow("into a full block")
        << sectionTexts("A", 1000) + sectionTexts("C", 1000) << sectionTexts("B", 700) << true;
    QTest::newRow("out of order") << around << QByteArrayList({"B;z=1", "B;a=1", "B;m=1", "b;A=2"})
                                  << true;
    QTest::newRow("equal entries keep the first spelling")
        << around << QByteArrayList({"B;k=1", "b;K=1", "B;l=1"}) << true;
    QTest::newRow("spanning an entry of the list")
        << around << QByteArrayList({"A;K0500=x", "B;a=1", "A;K0001=v"}) << true;
    QTest::newRow("equal to an entry of the list")
        << around << QByteArrayList({"C;K0001=V", "C;K0001a=1"}) << true;
}

// A run goes in as adding its entries one by one would: same order, same entries dropped as
// equal, same marks, and the list searches right afterwards.
void TestPStringList::addRunMatchesAddingEachInTurn()
{
    QFETCH(QByteArrayList, present);
    QFETCH(QByteArrayList, run);
    QFETCH(bool, touched);
    IniPStringList byRun = listOf(present);
    IniPStringList oneByOne = listOf(present);
    std::vector<IniEntry> entries;
    for (const QByteArray &text : run) {
        entries.push_back({byRun.keep(text.toStdString()), touched});
        const int index = oneByOne.add(text.toStdString());
        if (touched)
            oneByOne.setTouched(index, true);
    }
    byRun.addRun(std::move(entries));
    QCOMPARE(markedTextsOf(byRun), markedTextsOf(oneByOne));
    for (int i = 0; i < oneByOne.count(); i += 97) {
        const std::string name = oneByOne.nameOf(i);
        QCOMPARE(byRun.indexOfName(name), oneByOne.indexOfName(name));
    }
    byRun.deleteSectRef("B");
    oneByOne.deleteSectRef("B");
    QCOMPARE(markedTextsOf(byRun), markedTextsOf(oneByOne));
}

// Gathering keeps every text an entry or a view still sees, each once, and nothing else.
void TestPStringList::gatherTextsKeepsOnlyTextsStillSeen()
{
    IniPStringList list = listOf({"S;a=1", "S;b=22", "S;c=333", "T;gone=4444"});
    // Views of an entry's text, of the text of an entry removed since, and of one text twice.
    std::vector<std::string_view> views{list.at(1), list.at(3), list.at(1)};
    list.removeAt(3);
    list.add("S;b=replaced");
    list.removeAt(list.indexOf("S;b=22"));
    const QByteArrayList before = textsOf(list);
    list.gatherTexts(views);
    QCOMPARE(textsOf(list), before);
    QCOMPARE(views, std::vector<std::string_view>({"S;b=22", "T;gone=4444", "S;b=22"}));
    QCOMPARE(views[0].data(), views[2].data());
    QCOMPARE(list.keptBytes(), list.entryBytes() + std::string_view("S;b=22T;gone=4444").size());
    QCOMPARE(list.indexOfName("S;c"), 2);
}

// A text the list keeps never moves, whatever its size and however many come after it.
void TestPStringList::textsStayWhereTheyWerePut()
{
    IniPStringList list;
    std::vector<std::string> texts;
    std::vector<std::string_view> kept;
    for (std::size_t size : {0, 1, 100, 16 * 1024, 16 * 1024 + 1, 60 * 1024, 200 * 1024, 7}) {
        for (int copy = 0; copy < 40; ++copy) {
            texts.push_back(std::string(size, char('a' + copy % 26)));
            kept.push_back(list.keep(texts.back()));
        }
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        QVERIFY2(kept[i] == texts[i], qPrintable(QString::number(i)));
    std::size_t bytes = 0;
    for (const std::string &text : texts)
        bytes += text.size();
    QCOMPARE(list.keptBytes(), bytes);
}

// The blocks that hold only texts no entry or view uses any more are freed; every text still
// used stays where it is.
void TestPStringList::blocksOfUnusedTextsAreFreed()
{
    IniPStringList list;
    const auto addSection = [&list](const char *section) {
        for (int i = 0; i < 3000; ++i)
            list.add(std::string(section) + ";k" + std::to_string(10000 + i) + '=' +
                     std::string(80, 'v'));
    };
    addSection("A");
    const std::size_t sectionBytes = list.entryBytes();
    addSection("B");
    addSection("C");
    const std::vector<std::string_view> held{list.at(1500)};
    const std::string heldText(held[0]);
    list.deleteSectRef("A");
    list.deleteSectRef("C");
    const QByteArrayList before = textsOf(list);
    list.freeUnusedTexts(held);
    QCOMPARE(textsOf(list), before);
    QCOMPARE(held[0], std::string_view(heldText));
    // B's blocks stay, and the one of A's that held a text still used; the last block stays
    // for the next texts. The rest of A and of C is gone.
    QVERIFY2(list.keptBytes() < sectionBytes + 3 * 64 * 1024,
             qPrintable(QString::number(list.keptBytes())));
    QVERIFY(list.keptBytes() >= list.entryBytes());
    list.add("D;k=after");
    QCOMPARE(list.at(list.indexOfName("D;k")), std::string_view("D;k=after"));
}

QTEST_GUILESS_MAIN(TestPStringList)
#include "tst_pstringlist.moc"
