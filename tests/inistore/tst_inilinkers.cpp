#include "inistore/inilinker.h"
#include "inistore/iniprocessor.h"
#include "inistore/inivarlinker.h"
#include "inistore/linkedcomponent.h"
#include "inistore/valuecodec.h"
#include "memorystore.h"

#include <QtTest>
#include <cstring>
#include <memory>

namespace {

using Lines = std::vector<std::string>;

// Runs one link call in the given mode, the way a store's read or write would.
class LinkRun
{
public:
    explicit LinkRun(IniBase &store) { m_linker.setIniMain(&store); }
    IniVarLinker &reading()
    {
        m_linker.setMode(IniVarLinker::vlRead);
        return m_linker;
    }
    IniVarLinker &writing()
    {
        m_linker.setMode(IniVarLinker::vlWrite);
        return m_linker;
    }

private:
    IniVarLinker m_linker;
};

class FakeComponent : public LinkedComponent
{
public:
    std::string componentName() const override { return "FmMain"; }
    std::string iniValue() const override { return value; }
    void setIniValue(std::string_view stored) override
    {
        value = stored;
        ++applied;
    }

    std::string value = "249,109,666,577,0";
    int applied = 0;
};

// A window bound to a store whose default section is "Notes".
struct WindowLink
{
    WindowLink()
    {
        store.setDefaultSection("Notes");
        linker.setComponent(&window);
        linker.setIniMain(&store);
    }

    MemoryStore store;
    FakeComponent window;
    IniLinker linker;
};

} // namespace

class TestIniLinkers : public QObject
{
    Q_OBJECT

private slots:
    void handlerRunsWithMode();
    void nothingHappensWithoutStore();
    void strings_data();
    void strings();
    void integers_data();
    void integers();
    void rawBytes();
    void namesAreNormalizedAndDefaultSectionUsed();
    void listWrite();
    void listWriteWidensKeyBeyondFourDigits();
    void listWriteMatchesKeyByKeyWrite_data();
    void listWriteMatchesKeyByKeyWrite();
    void listRead_data();
    void listRead();
    void listKnownAsWrittenOnlyWhenWritingMakesIt_data();
    void listKnownAsWrittenOnlyWhenWritingMakesIt();
    void hugeItemCountIsBoundedByStoredItems();
    void badCountReadsItemsWhenAsked();
    void listRoundTripsThroughFile();
    void repeatedWritesKeepTheStoreTheSameSize();
    void errorsInsideLinkCallsAreDropped();
    void registryKeepsLatestBindingOrder();
    void destroyedStoreUnbindsLinkers();
    void componentLinkerUsesComponentName();
    void componentLinkerIdentNormalization();
    void componentLinkerReadsOnlyStoredValues();
};

void TestIniLinkers::handlerRunsWithMode()
{
    MemoryStore store;
    IniVarLinker linker;
    QList<IniVarLinker::VarLinkMode> seen;
    linker.setOnIniReadWrite([&seen](IniVarLinker &sender, IniVarLinker::VarLinkMode mode) {
        QCOMPARE(sender.mode(), mode);
        seen << mode;
    });
    linker.setIniMain(&store);
    store.read();
    store.write();
    QCOMPARE(seen, QList<IniVarLinker::VarLinkMode>({IniVarLinker::vlRead, IniVarLinker::vlWrite}));
}

void TestIniLinkers::nothingHappensWithoutStore()
{
    IniVarLinker linker;
    linker.setMode(IniVarLinker::vlRead);
    std::string text = "keep";
    std::int32_t number = 7;
    Lines list{"a"};
    linker.linkStrToIni("S", "k", text);
    linker.linkIntToIni("S", "k", number);
    linker.linkObjToIni("S", "k", &list);
    QCOMPARE(text, std::string("keep"));
    QCOMPARE(number, 7);
    QCOMPARE(list, Lines{"a"});
}

void TestIniLinkers::strings_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("escaped") << QByteArray("a#035b") << QByteArray("x") << QByteArray("a#b");
    QTest::newRow("undecodable read as stored")
        << QByteArray("a#b") << QByteArray("x") << QByteArray("a#b");
    QTest::newRow("never escaped code read as stored")
        << QByteArray("#065") << QByteArray("x") << QByteArray("#065");
    QTest::newRow("empty keeps value") << QByteArray("") << QByteArray("x") << QByteArray("x");
}

void TestIniLinkers::strings()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    MemoryStore store;
    store.setFile({"[Notes]", "Colors=" + stored});
    store.read();
    LinkRun run(store);
    std::string value = before.toStdString();
    run.reading().linkStrToIni("Notes", "Colors", value);
    QCOMPARE(QByteArray::fromStdString(value), after);

    run.writing().linkStrToIni("Notes", "Colors", value);
    QCOMPARE(QByteArray::fromStdString(store.readString("Notes", "Colors", false)),
             QByteArray::fromStdString(ValueCodec::encodeString(value)));
}

void TestIniLinkers::integers_data()
{
    QTest::addColumn<QByteArrayList>("file");
    QTest::addColumn<int>("after");
    QTest::newRow("stored") << QByteArrayList({"[Notes]", "HotKey=2065"}) << 2065;
    QTest::newRow("negative") << QByteArrayList({"[Notes]", "HotKey=-1"}) << -1;
    QTest::newRow("missing") << QByteArrayList() << 99;
    QTest::newRow("empty") << QByteArrayList({"[Notes]", "HotKey="}) << 99;
    QTest::newRow("not a number") << QByteArrayList({"[Notes]", "HotKey=abc"}) << 99;
}

void TestIniLinkers::integers()
{
    QFETCH(QByteArrayList, file);
    QFETCH(int, after);
    MemoryStore store;
    store.setFile(file);
    store.read();
    LinkRun run(store);
    std::int32_t value = 99;
    run.reading().linkIntToIni("Notes", "HotKey", value);
    QCOMPARE(value, after);
    value = -42;
    run.writing().linkIntToIni("Notes", "HotKey", value);
    QCOMPARE(store.readString("Notes", "HotKey", false), std::string("-42"));
}

void TestIniLinkers::rawBytes()
{
    MemoryStore store;
    LinkRun run(store);
    std::uint32_t color = 255;
    run.writing().linkVarToIni("Notes", "Color", &color, sizeof color);
    QCOMPARE(store.readString("Notes", "Color", false), std::string("FF000000"));

    unsigned char password[31];
    std::memset(password, 'x', sizeof password);
    run.writing().linkVarToIni("Notes", "User2", password, sizeof password);
    QCOMPARE(store.readString("Notes", "User2", false).size(), std::size_t(62));

    store.writeString("Notes", "User2", "0141", false);
    run.reading().linkVarToIni("Notes", "User2", password, sizeof password);
    QCOMPARE(password[0], 1);
    QCOMPARE(password[1], 'A');
    QCOMPARE(password[2], 'x');
    QCOMPARE(password[30], 'x');

    run.reading().linkVarToIni("Notes", "Missing", password, sizeof password);
    QCOMPARE(password[0], 1);
}

void TestIniLinkers::namesAreNormalizedAndDefaultSectionUsed()
{
    MemoryStore store;
    store.setDefaultSection("Notes");
    LinkRun run(store);
    std::int32_t value = 5;
    run.writing().linkIntToIni(" ", " Hot;Key= ", value);
    QCOMPARE(store.entryTexts(), QByteArrayList({"Notes;HotKey=5"}));
}

void TestIniLinkers::listWrite()
{
    MemoryStore store;
    store.setFile({"[Notes Page0]", "Items=3", "ItemData(0001)=old", "ItemData(0002)=old",
                   "ItemData(0003)=old"});
    store.read();
    LinkRun run(store);
    Lines lines{"first", "", "  indented", "a#b"};
    run.writing().linkObjToIni("Notes", "Page0", &lines);
    QCOMPARE(store.entryTexts(),
             QByteArrayList({"Notes Page0;ItemData(0001)=first",
                             "Notes Page0;ItemData(0002)=", "Notes Page0;ItemData(0003)=  indented",
                             "Notes Page0;ItemData(0004)=a#b", "Notes Page0;Items=4"}));
    QCOMPARE(store.replacedSections(), std::vector<std::string>({"Notes Page0"}));
    QCOMPARE(store.clearedSection(), std::string());
}

void TestIniLinkers::listWriteWidensKeyBeyondFourDigits()
{
    MemoryStore store;
    LinkRun run(store);
    Lines lines(10000, "x");
    run.writing().linkObjToIni("Notes", "Page0", &lines);
    QCOMPARE(store.readString("Notes Page0", "ItemData(10000)", false), std::string("x"));
    QCOMPARE(store.readString("Notes Page0", "ItemData(9999)", false), std::string("x"));
    QCOMPARE(store.readString("Notes Page0", "ItemData(0999)", false), std::string("x"));
    QCOMPARE(store.entries().count(), 10001);
}

namespace {

// What a store shows after a list write: its entries (touched ones with "*" in front), the
// sections it claimed and the file that its next write leaves.
struct ListWriteResult
{
    QByteArrayList entries;
    std::vector<std::string> claimed;
    QByteArrayList file;
};

ListWriteResult writeListInto(const QByteArrayList &file,
                              const std::function<void(IniBase &)> &writeList)
{
    MemoryStore store;
    store.setFile(file);
    store.read();
    store.readString("Notes", "HotKey", false);
    writeList(store);
    ListWriteResult result;
    for (int i = 0; i < store.entries().count(); ++i) {
        result.entries << (store.entries().isTouched(i) ? "*" : "") +
                              QByteArray::fromStdString(std::string(store.entries().at(i)));
    }
    result.claimed = store.replacedSections();
    // Another writer changes the file before the write: the untouched keys it holds then.
    store.file.push_back("[Notes]");
    store.file.push_back("Other=2");
    if (!store.write())
        result.file << "write failed";
    result.file += store.fileLines();
    return result;
}

} // namespace

void TestIniLinkers::listWriteMatchesKeyByKeyWrite_data()
{
    QTest::addColumn<QByteArrayList>("file");
    QTest::addColumn<int>("lines");
    const QByteArrayList stored{"[Notes]",          "HotKey=3065",      "Other=1",
                                "[Notes Page0]",    "Items=3",          "ItemData(0001)=a",
                                "ItemData(0002)=b", "ItemData(0003)=c", "ItemData(7)=stale",
                                "Extra=kept?",      "[Notes Page1]",    "Items=1",
                                "ItemData(0001)=x", "[Notes Page00]",   "Items=1",
                                "ItemData(0001)=y", "[Notes Page]",     "Items=0"};
    QTest::newRow("list that shrank") << stored << 1;
    QTest::newRow("list that grew") << stored << 5;
    QTest::newRow("list emptied") << stored << 0;
    QTest::newRow("section spelled in other case")
        << QByteArrayList({"[notes PAGE0]", "items=2", "itemdata(0001)=a", "ItemData(0002)=b"})
        << 3;
    QTest::newRow("new section") << QByteArrayList({"[Notes]", "HotKey=1"}) << 4;
    QTest::newRow("beyond four digits") << stored << 10001;
}

// Writing a list in one go gives the store and the file exactly what clearing its section and
// writing "Items" and every line key by key gives.
void TestIniLinkers::listWriteMatchesKeyByKeyWrite()
{
    QFETCH(QByteArrayList, file);
    QFETCH(int, lines);
    Lines list;
    for (int i = 0; i < lines; ++i)
        list.push_back(i % 3 == 1 ? std::string() : "line " + std::to_string(i) + " #=;[x]");
    const ListWriteResult linked = writeListInto(file, [&list](IniBase &store) {
        LinkRun run(store);
        run.writing().linkObjToIni(" Notes", "Page0 ", &list);
    });
    const ListWriteResult keyByKey = writeListInto(file, [&list](IniBase &store) {
        const std::string section = "Notes Page0";
        store.clearSection(section);
        store.writeString(section, "Items", std::to_string(list.size()), true);
        for (std::size_t i = 0; i < list.size(); ++i) {
            char key[32];
            std::snprintf(key, sizeof key, "ItemData(%04zu)", i + 1);
            store.writeString(section, key, list[i], true);
        }
        store.endSection();
    });
    QCOMPARE(linked.entries, keyByKey.entries);
    QCOMPARE(linked.claimed, keyByKey.claimed);
    QCOMPARE(linked.file, keyByKey.file);
    QVERIFY(linked.file.contains("Other=2"));
}

void TestIniLinkers::listRead_data()
{
    QTest::addColumn<QByteArrayList>("section");
    QTest::addColumn<QStringList>("lines");
    const QStringList defaults{"Reminders", "ToDo"};
    QTest::newRow("padded keys") << QByteArrayList(
                                        {"Items=2", "ItemData(0001)=a", "ItemData(0002)=  b"})
                                 << QStringList({"a", "  b"});
    QTest::newRow("unpadded keys")
        << QByteArrayList({"Items=3", "ItemData(1)=a", "ItemData(2)=b", "ItemData(3)=c"})
        << QStringList({"a", "b", "c"});
    QTest::newRow("gap reads empty")
        << QByteArrayList({"Items=3", "ItemData(0001)=a", "ItemData(0003)=c"})
        << QStringList({"a", "", "c"});
    QTest::newRow("gap of two reads empty lines")
        << QByteArrayList({"Items=6", "ItemData(0001)=a", "ItemData(0002)=b", "ItemData(0005)=e",
                           "ItemData(0006)=f"})
        << QStringList({"a", "b", "", "", "e", "f"});
    QTest::newRow("gap in unpadded keys")
        << QByteArrayList({"Items=4", "ItemData(1)=a", "ItemData(4)=d"})
        << QStringList({"a", "", "", "d"});
    QTest::newRow("count above stored items")
        << QByteArrayList({"Items=5", "ItemData(0001)=a", "ItemData(0002)="})
        << QStringList({"a", ""});
    QTest::newRow("count below stored items")
        << QByteArrayList({"Items=1", "ItemData(0001)=a", "ItemData(0002)=b"})
        << QStringList({"a"});
    QTest::newRow("missing count keeps list") << QByteArrayList({"ItemData(0001)=a"}) << defaults;
    QTest::newRow("zero count keeps list") << QByteArrayList({"Items=0"}) << defaults;
    QTest::newRow("bad count keeps list")
        << QByteArrayList({"Items=x", "ItemData(0001)=a"}) << defaults;
    QTest::newRow("count without items empties list")
        << QByteArrayList({"Items=4"}) << QStringList();
    QTest::newRow("negative count empties list") << QByteArrayList({"Items=-3"}) << QStringList();
    QTest::newRow("negative count reads stored items")
        << QByteArrayList({"Items=-5", "ItemData(0001)=a", "ItemData(0003)=c"})
        << QStringList({"a", "", "c"});
}

void TestIniLinkers::listRead()
{
    QFETCH(QByteArrayList, section);
    QFETCH(QStringList, lines);
    MemoryStore store;
    store.setFile(QByteArrayList({"[Notes TabNames]"}) + section);
    store.read();
    LinkRun run(store);
    Lines list{"Reminders", "ToDo"};
    run.reading().linkObjToIni("Notes", "TabNames", &list);
    QStringList read;
    for (const std::string &line : list)
        read << QString::fromStdString(line);
    QCOMPARE(read, lines);
    QCOMPARE(store.replacedSections(), std::vector<std::string>({"Notes TabNames"}));
}

void TestIniLinkers::listKnownAsWrittenOnlyWhenWritingMakesIt_data()
{
    QTest::addColumn<QByteArrayList>("file");
    QTest::addColumn<bool>("asWritten");
    const QByteArrayList items{"Items=2", "ItemData(0001)=a", "ItemData(0002)=b"};
    QTest::newRow("as written") << QByteArrayList{"[Notes TabNames]"} + items << true;
    QTest::newRow("as written, a trailing blank read away")
        << QByteArrayList{"[Notes TabNames]", "Items=2", "ItemData(0001)=a", "ItemData(0002)=b  "}
        << true;
    QTest::newRow("section spelt otherwise") << QByteArrayList{"[notes tabnames]"} + items << false;
    QTest::newRow("key spelt otherwise")
        << QByteArrayList{"[Notes TabNames]", "Items=2", "itemdata(0001)=a", "ItemData(0002)=b"}
        << false;
    QTest::newRow("unpadded keys")
        << QByteArrayList{"[Notes TabNames]", "Items=2", "ItemData(1)=a", "ItemData(2)=b"} << false;
    QTest::newRow("item past the count")
        << QByteArrayList{"[Notes TabNames]"} + items + QByteArrayList{"ItemData(0009)=c"} << false;
    QTest::newRow("count with a leading zero")
        << QByteArrayList{"[Notes TabNames]", "Items=02", "ItemData(0001)=a", "ItemData(0002)=b"}
        << false;
    QTest::newRow("another key in the section")
        << QByteArrayList{"[Notes TabNames]"} + items + QByteArrayList{"Other=1"} << false;
    QTest::newRow("zero count keeps the list")
        << QByteArrayList{"[Notes TabNames]", "Items=0"} << false;
    QTest::newRow("no section") << QByteArrayList{"[Other]", "k=1"} << false;
}

// A read list is known as written only where writing it would make its section byte for byte:
// only then may a write keep the section instead of making it again.
void TestIniLinkers::listKnownAsWrittenOnlyWhenWritingMakesIt()
{
    QFETCH(QByteArrayList, file);
    QFETCH(bool, asWritten);
    MemoryStore store;
    store.setFile(file);
    store.read();
    LinkRun run(store);
    Lines list{"Reminders", "ToDo"};
    run.reading().linkObjToIni("Notes", "TabNames", &list);
    QCOMPARE(run.reading().holdsListAsWritten("Notes", "TabNames", list), asWritten);
}

void TestIniLinkers::hugeItemCountIsBoundedByStoredItems()
{
    MemoryStore store;
    store.setFile({"[Notes Page0]", "Items=2000000000", "ItemData(0001)=a", "ItemData(2)=b"});
    store.read();
    LinkRun run(store);
    Lines list;
    run.reading().linkObjToIni("Notes", "Page0", &list);
    QCOMPARE(list, Lines({"a", "b"}));
}

void TestIniLinkers::badCountReadsItemsWhenAsked()
{
    MemoryStore store;
    store.setFile({"[Notes Page0]", "Items=x", "ItemData(0001)=a", "ItemData(0003)=c"});
    store.read();
    LinkRun run(store);
    Lines list{"default"};
    run.reading().linkObjToIni("Notes", "Page0", &list, IniVarLinker::BadCount::ReadsItems);
    QCOMPARE(list, Lines({"a", "", "c"}));

    MemoryStore empty;
    empty.setFile({"[Notes Page0]", "Items=x"});
    empty.read();
    LinkRun emptyRun(empty);
    emptyRun.reading().linkObjToIni("Notes", "Page0", &list, IniVarLinker::BadCount::ReadsItems);
    QCOMPARE(list, Lines());
}

void TestIniLinkers::listRoundTripsThroughFile()
{
    MemoryStore store;
    IniVarLinker linker;
    Lines names{"Reminders", "", "Passwords"};
    linker.setOnIniReadWrite([&names](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
        sender.linkObjToIni("Notes", "TabNames", &names);
    });
    linker.setIniMain(&store);
    QVERIFY(store.write());
    names = {"x"};
    store.read();
    QCOMPARE(names, Lines({"Reminders", "", "Passwords"}));

    names = {"One"};
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(),
             QByteArrayList({"[Notes TabNames]", "ItemData(0001)=One", "Items=1", ""}));
}

// Saving again and again, from one store and from stores made and dropped in between, leaves
// the entries, the claimed sections, the file and the registry as large as after the first.
void TestIniLinkers::repeatedWritesKeepTheStoreTheSameSize()
{
    const std::size_t linkersBefore = IniProcessor::instance().linkers().size();
    std::vector<std::vector<std::string>> pages(3, std::vector<std::string>(50, "line"));
    const auto bind = [&pages](IniVarLinker &linker, IniBase &store) {
        linker.setOnIniReadWrite([&pages](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
            for (std::size_t p = 0; p < pages.size(); ++p)
                sender.linkObjToIni("Notes", "Page" + std::to_string(p), &pages[p]);
        });
        linker.setIniMain(&store);
    };
    MemoryStore store;
    IniVarLinker linker;
    bind(linker, store);
    store.read();
    QVERIFY(store.write());
    const int entries = store.entries().count();
    const std::size_t lines = store.file.size();
    QCOMPARE(entries, 3 * 51);
    for (int round = 0; round < 20; ++round) {
        pages[round % 3][round] += "x";
        {
            MemoryStore other;
            IniVarLinker otherLinker;
            bind(otherLinker, other);
            other.file = store.file;
            QVERIFY(other.write());
        }
        QVERIFY(store.write());
        QCOMPARE(store.entries().count(), entries);
        QCOMPARE(store.replacedSections().size(), pages.size());
        QCOMPARE(store.file.size(), lines);
    }
    QCOMPARE(IniProcessor::instance().linkers().size(), linkersBefore + 1);
}

void TestIniLinkers::errorsInsideLinkCallsAreDropped()
{
    MemoryStore store;
    LinkRun run(store);
    store.clearSection("Open");
    Lines lines{"a"};
    run.writing().linkObjToIni("Notes", "Page0", &lines);
    QCOMPARE(store.clearedSection(), std::string("OPEN"));
    QCOMPARE(store.entries().count(), 0);
}

void TestIniLinkers::registryKeepsLatestBindingOrder()
{
    MemoryStore store;
    QStringList calls;
    IniVarLinker first;
    IniVarLinker second;
    first.setOnIniReadWrite(
        [&calls](IniVarLinker &, IniVarLinker::VarLinkMode) { calls << "first"; });
    second.setOnIniReadWrite(
        [&calls](IniVarLinker &, IniVarLinker::VarLinkMode) { calls << "second"; });
    first.setIniMain(&store);
    second.setIniMain(&store);
    store.read();
    QCOMPARE(calls, QStringList({"first", "second"}));
    calls.clear();
    first.setIniMain(&store);
    store.read();
    QCOMPARE(calls, QStringList({"second", "first"}));
    calls.clear();
    MemoryStore other;
    second.setIniMain(&other);
    store.read();
    QCOMPARE(calls, QStringList({"first"}));
}

void TestIniLinkers::destroyedStoreUnbindsLinkers()
{
    IniVarLinker linker;
    {
        auto store = std::make_unique<MemoryStore>();
        linker.setIniMain(store.get());
        QCOMPARE(IniProcessor::instance().linkersOf(store.get()).size(), std::size_t(1));
    }
    QCOMPARE(linker.iniMain(), nullptr);
    auto destroyed = std::make_unique<IniVarLinker>();
    MemoryStore store;
    destroyed->setIniMain(&store);
    destroyed.reset();
    QVERIFY(IniProcessor::instance().linkersOf(&store).empty());
}

void TestIniLinkers::componentLinkerUsesComponentName()
{
    WindowLink link;
    QVERIFY(link.store.write());
    QCOMPARE(link.store.fileLines(), QByteArrayList({"[Notes]", "FmMain=249,109,666,577,0", ""}));
    QCOMPARE(link.linker.iniSection(), std::string("Notes"));
    QCOMPARE(link.linker.iniIdent(), std::string("[default]"));
}

void TestIniLinkers::componentLinkerIdentNormalization()
{
    IniLinker linker;
    linker.setIniIdent(" ;= ");
    QCOMPARE(linker.iniIdent(), std::string("[default]"));
    linker.setIniIdent(" Win;dow ");
    QCOMPARE(linker.iniIdent(), std::string("Window"));
    FakeComponent window;
    linker.setComponent(&window);
    QCOMPARE(linker.resolvedIdent(), std::string("Window"));
    linker.setIniIdent("[DEFAULT]");
    QCOMPARE(linker.resolvedIdent(), std::string("FmMain"));
    linker.setIniSection(" Sec;tion ");
    QCOMPARE(linker.iniSection(), std::string("Section"));
}

void TestIniLinkers::componentLinkerReadsOnlyStoredValues()
{
    WindowLink link;
    link.store.read();
    QCOMPARE(link.window.applied, 0);
    link.store.setFile({"[Notes]", "FmMain=100,50,600,400,1"});
    link.store.read();
    QCOMPARE(link.window.applied, 1);
    QCOMPARE(link.window.value, std::string("100,50,600,400,1"));
    link.linker.setComponent(nullptr);
    link.store.read();
    QCOMPARE(link.window.applied, 1);
}

QTEST_GUILESS_MAIN(TestIniLinkers)
#include "tst_inilinkers.moc"
