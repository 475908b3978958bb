#include "inivarlinker.h"
#include "memorystore.h"

#include <QtTest>

// Hand-edited and corrupt files: what they hold must survive a write, and no count or key
// in them can make a read build a huge list.
class TestHostileInput : public QObject
{
    Q_OBJECT

private slots:
    void sectionLikeMarkerSurvivesWrite_data();
    void sectionLikeMarkerSurvivesWrite();
    void listIsBoundedByKeysOfItsSection_data();
    void listIsBoundedByKeysOfItsSection();
};

void TestHostileInput::sectionLikeMarkerSurvivesWrite_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("number") << QByteArray("[ **3]") << QByteArray("**3;x=1")
                            << QByteArray("[ **3]");
    QTest::newRow("stars only") << QByteArray("[ **]") << QByteArray("**;x=1")
                                << QByteArray("[ **]");
    QTest::newRow("one star") << QByteArray("[ *3]") << QByteArray("*3;x=1") << QByteArray("[*3]");
}

// A header "[ **3]" names the section "**3"; written back as "[**3]" it would select user
// block 3 and its keys would be gone from the next read.
void TestHostileInput::sectionLikeMarkerSurvivesWrite()
{
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, written);

    MemoryStore store;
    store.setFile({header, "x=1"});
    store.read();
    QCOMPARE(store.entryTexts(), QByteArrayList({entry}));
    store.writeString("Other", "y", "2", false);
    QVERIFY(store.write());
    QVERIFY(store.fileLines().contains(written));

    MemoryStore again;
    again.file = store.file;
    again.read();
    QVERIFY(!again.readFailed());
    QCOMPARE(again.entryTexts(), QByteArrayList({entry, "Other;y=2"}));
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
