#include "inistore/inivarlinker.h"
#include "memorystore.h"

#include <QtTest>

// Hand-edited and corrupt files: what they hold must survive a write, and no count or key
// in them can make a read build a huge list.
class TestHostileInput : public QObject
{
    Q_OBJECT

private slots:
    void writtenTextReadsBack_data();
    void writtenTextReadsBack();
    void listIsBoundedByKeysOfItsSection_data();
    void listIsBoundedByKeysOfItsSection();
};

void TestHostileInput::writtenTextReadsBack_data()
{
    QTest::addColumn<QByteArrayList>("file");
    QTest::addColumn<QByteArrayList>("entries");
    QTest::addColumn<QByteArray>("written");

    // A header "[ **3]" names the section "**3"; written back as "[**3]" it would select
    // user block 3 and its keys would be gone from the next read.
    QTest::newRow("section like a marker")
        << QByteArrayList({"[ **3]", "x=1"}) << QByteArrayList({"**3;x=1"}) << QByteArray("[ **3]");
    QTest::newRow("section of stars only")
        << QByteArrayList({"[ **]", "x=1"}) << QByteArrayList({"**;x=1"}) << QByteArray("[ **]");
    QTest::newRow("section with one star")
        << QByteArrayList({"[ *3]", "x=1"}) << QByteArrayList({"*3;x=1"}) << QByteArray("[*3]");
    // A key loses its ";" when read: written as "[x=1]" it would be a section header, and
    // the keys after it would move into that section.
    QTest::newRow("key like a header")
        << QByteArrayList({"[S]", ";[x=1]", "z=2"}) << QByteArrayList({"S;z=2", "S;[x=1]"})
        << QByteArray(";[x=1]");
    QTest::newRow("key like a marker") << QByteArrayList({"[S]", ";[**2=3]"})
                                       << QByteArrayList({"S;[**2=3]"}) << QByteArray(";[**2=3]");
    // A key may begin or end with blanks and control characters once its ";" is gone; the
    // trim of the line would take them, and a "[" behind them would start a header.
    const QByteArray nulKey(";\0\0[|=1]", 8);
    QTest::newRow("key like a header behind control characters")
        << QByteArrayList({"[S]", nulKey}) << QByteArrayList({"S;" + nulKey.mid(1)}) << nulKey;
    QTest::newRow("key like a header behind a blank and a tab")
        << QByteArrayList({"[S]", "; \t[x=1]", "z=2"}) << QByteArrayList({"S; \t[x=1]", "S;z=2"})
        << QByteArray("; \t[x=1]");
    QTest::newRow("key beginning with a blank")
        << QByteArrayList({"[S]", "; k=1"}) << QByteArrayList({"S; k=1"}) << QByteArray("; k=1");
    QTest::newRow("key ending with a blank")
        << QByteArrayList({"[S]", "k ;=1"}) << QByteArrayList({"S;k =1"}) << QByteArray("k ;=1");
    QTest::newRow("key of blanks only")
        << QByteArrayList({"[S]", "; ;=1"}) << QByteArrayList({"S; =1"}) << QByteArray("; ;=1");
    QTest::newRow("section beginning and ending with a blank")
        << QByteArrayList({"[; S ;]", "x=1"}) << QByteArrayList({" S ;x=1"})
        << QByteArray("[; S ;]");
}

void TestHostileInput::writtenTextReadsBack()
{
    QFETCH(QByteArrayList, file);
    QFETCH(QByteArrayList, entries);
    QFETCH(QByteArray, written);

    MemoryStore store;
    store.setFile(file);
    store.read();
    QCOMPARE(store.entryTexts(), entries);
    store.writeString("Other", "y", "2", false);
    QVERIFY(store.write());
    QVERIFY2(store.fileLines().contains(written), store.fileLines().join('|').constData());

    MemoryStore again;
    again.file = store.file;
    again.read();
    QVERIFY(!again.readFailed());
    QCOMPARE(again.entryTexts(), store.entryTexts());
}

void TestHostileInput::listIsBoundedByKeysOfItsSection_data()
{
    QTest::addColumn<QByteArrayList>("file");
    QTest::addColumn<QByteArrayList>("lines");

    QTest::newRow("huge count and item number")
        << QByteArrayList(
               {"[Notes Page0]", "Items=2000000000", "ItemData(0001)=a", "ItemData(2000000000)=z"})
        << QByteArrayList({"a", "", ""});
    QTest::newRow("item number beyond the count")
        << QByteArrayList({"[Notes Page0]", "Items=2", "ItemData(1)=a", "ItemData(99999)=z"})
        << QByteArrayList({"a", ""});
    QTest::newRow("gap within the keys")
        << QByteArrayList({"[Notes Page0]", "Items=3", "ItemData(1)=a", "ItemData(3)=c"})
        << QByteArrayList({"a", "", "c"});
}

void TestHostileInput::listIsBoundedByKeysOfItsSection()
{
    QFETCH(QByteArrayList, file);
    QFETCH(QByteArrayList, lines);

    MemoryStore store;
    store.setFile(file);
    std::vector<std::string> list{"default"};
    IniVarLinker linker;
    linker.setOnIniReadWrite([&list](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
        sender.linkObjToIni("Notes", "Page0", &list);
    });
    linker.setIniMain(&store);
    store.read();

    QByteArrayList read;
    for (const std::string &line : list)
        read << QByteArray::fromStdString(line);
    QCOMPARE(read, lines);
}

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
