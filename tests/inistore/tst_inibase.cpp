#include "inistore/inibase.h"
#include "inistore/inierror.h"
#include "inistore/inivarlinker.h"
#include "keptbytes.h"
#include "memorystore.h"

#include <QtTest>

namespace {

QByteArray read(IniBase &store, const char *section, const char *ident)
{
    return QByteArray::fromStdString(store.readString(section, ident, false));
}

// "key=value" writes of one section; as a list, the section is cleared and claimed first.
void writeSection(IniBase &store, const QByteArray &section, const QByteArrayList &writes,
                  bool asList)
{
    if (asList)
        store.clearSection(section.toStdString());
    for (const QByteArray &write : writes) {
        const qsizetype equals = write.indexOf('=');
        store.writeString(section.toStdString(), write.left(equals).toStdString(),
                          write.mid(equals + 1).toStdString(), asList);
    }
    if (asList)
        store.endSection();
}

// A store whose saves fail until told otherwise.
class FailingStore : public MemoryStore
{
public:
    bool saveLines(const LineSource &lines) override
    {
        return !failSave && MemoryStore::saveLines(lines);
    }
    bool failSave = true;
};

} // namespace

class TestIniBase : public QObject
{
    Q_OBJECT

private slots:
    void normalizeName_data();
    void normalizeName();
    void defaultSectionIsNormalized();
    void readStringTrimsAndMarksTouched();
    void writeStringReplacesEntryOfSameName();
    void writeStringReplacesEveryDuplicate();
    void clearSectionEmptiesSectionAndKeepsDoubleWrites();
    void nestedClearSectionRaises();
    void replaceSectionIsRemembered();
    void claimedSections_data();
    void claimedSections();
    void claimAfterReadIsMadeAgain();
    void readParsesBlockZeroOnly();
    void readOrdersEntriesAndDropsRepeats_data();
    void readOrdersEntriesAndDropsRepeats();
    void readWithDontReadDoesNothing();
    void failedReadKeepsEntriesAndBlocksWrites();
    void malformedMarkerFailsReadWithoutThrowing();
    void readWithoutLockStillReads();
    void writeEmitsSectionsInOrder();
    void writeKeepsUntouchedKeysOfAnotherWriter();
    void writeDropsReplacedSections();
    void writeKeepsOtherUserBlocksAfterBlockZero();
    void writeDropsCommentsOfBlockZero();
    void writeReplacesDuplicatesOfTouchedName();
    void writeMerges_data();
    void writeMerges();
    void threeWayMerge_data();
    void threeWayMerge();
    void mergedContentBecomesEntriesAndBase();
    void failedMergeKeepsBase();
    void failingSavesKeepTheirMemory();
    void handlerResolvesAgainstTheirs();
    void writeAbandonedWhenLockFails();
    void writeAbandonedWhenReloadFails();
    void writeWithDontWriteDoesNothing();
    void writeOfEmptyStoreLeavesOneBlankLine();
    void keysOfSection();
    void keptSectionIsWrittenAsItsEntriesStand();
    void entriesGenerationMovesWhenEntriesAreReplaced();
};

void TestIniBase::normalizeName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("normalized");
    QTest::newRow("plain") << QByteArray("HotKey") << QByteArray("HotKey");
    QTest::newRow("blanks and controls") << QByteArray(" \t HotKey\r\n ") << QByteArray("HotKey");
    QTest::newRow("semicolon and equals anywhere") << QByteArray("a;b=c") << QByteArray("abc");
    QTest::newRow("inner blanks kept") << QByteArray(" Notes Page0 ") << QByteArray("Notes Page0");
    QTest::newRow("only separators") << QByteArray(";=;") << QByteArray();
}

void TestIniBase::normalizeName()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, normalized);
    QCOMPARE(QByteArray::fromStdString(IniBase::normalizeName(name.toStdString())), normalized);
}

void TestIniBase::defaultSectionIsNormalized()
{
    MemoryStore store;
    store.setDefaultSection(" No;tes= ");
    QCOMPARE(store.defaultSection(), std::string("Notes"));
}

void TestIniBase::readStringTrimsAndMarksTouched()
{
    MemoryStore store;
    store.setFile({"[Notes]", "HotKey=3065", "Other=1"});
    store.read();
    QCOMPARE(store.entries().count(), 2);
    QVERIFY(!store.entries().isTouched(0));
    QCOMPARE(QByteArray::fromStdString(store.readString(" notes ", " hotkey\t", false)),
             QByteArray("3065"));
    QVERIFY(store.entries().isTouched(0));
    QVERIFY(!store.entries().isTouched(1));
    QCOMPARE(read(store, "Notes", "Missing"), QByteArray());
    QCOMPARE(store.entries().count(), 2);
}

void TestIniBase::writeStringReplacesEntryOfSameName()
{
    MemoryStore store;
    store.writeString("Notes", "HotKey", "1", false);
    store.writeString(" NOTES ", "hotkey ", "2", false);
    QCOMPARE(store.entryTexts(), QByteArrayList({"NOTES;hotkey=2"}));
    QVERIFY(store.entries().isTouched(0));
    QCOMPARE(read(store, "Notes", "HotKey"), QByteArray("2"));
}

// A file may hold a key twice (the same header twice): the value written must be the one read.
void TestIniBase::writeStringReplacesEveryDuplicate()
{
    MemoryStore store;
    store.setFile({"[S]", "k=1", "[T]", "x=0", "[S]", "k=3"});
    store.read();
    QCOMPARE(store.entries().count(), 3);
    store.writeString("S", "k", "9", false);
    QCOMPARE(read(store, "S", "k"), QByteArray("9"));
    QCOMPARE(store.entryTexts(), QByteArrayList({"S;k=9", "T;x=0"}));
}

void TestIniBase::clearSectionEmptiesSectionAndKeepsDoubleWrites()
{
    MemoryStore store;
    store.setFile({"[List]", "Items=2", "ItemData(0001)=a", "[Other]", "k=v"});
    store.read();
    store.clearSection(" list ");
    QCOMPARE(store.clearedSection(), std::string("LIST"));
    QCOMPARE(store.entryTexts(), QByteArrayList({"Other;k=v"}));
    store.writeString("List", "Key", "second", false);
    store.writeString("List", "Key", "first", false);
    store.endSection();
    QCOMPARE(store.clearedSection(), std::string());
    QCOMPARE(store.entryTexts(),
             QByteArrayList({"List;Key=first", "List;Key=second", "Other;k=v"}));
    QCOMPARE(read(store, "List", "Key"), QByteArray("first"));
}

void TestIniBase::nestedClearSectionRaises()
{
    MemoryStore store;
    store.clearSection("A");
    try {
        store.clearSection("B");
        QFAIL("no error raised");
    } catch (const IniError &error) {
        QCOMPARE(QByteArray(error.what()),
                 QByteArray("Error - TIniBase(IniFileMain1) - each ClearSection should have a "
                            "corresponding EndSection, Nested ClearSections are not allowed!"));
    }
    QCOMPARE(store.clearedSection(), std::string("A"));
}

void TestIniBase::replaceSectionIsRemembered()
{
    MemoryStore store;
    store.readString("Notes Page0", "Items", true);
    store.writeString("notes page0", "Items", "1", true);
    store.writeString("Notes Page1", "Items", "1", true);
    store.writeString("Notes", "HotKey", "1", false);
    QCOMPARE(store.replacedSections(), std::vector<std::string>({"Notes Page0", "Notes Page1"}));
    store.read();
    QVERIFY(store.replacedSections().empty());
}

void TestIniBase::claimedSections_data()
{
    QTest::addColumn<QByteArrayList>("claims");
    QTest::addColumn<QByteArrayList>("expected");
    QTest::newRow("empty section") << QByteArrayList{""} << QByteArrayList{""};
    QTest::newRow("empty, again, then named")
        << QByteArrayList{"", "", "A"} << QByteArrayList{"", "A"};
    QTest::newRow("back to an earlier one")
        << QByteArrayList{"A", "B", "a", "B", "A"} << QByteArrayList{"A", "B"};
    QTest::newRow("other spellings of one")
        << QByteArrayList{" A", "A ", "a", "A"} << QByteArrayList{"A"};
}

void TestIniBase::claimedSections()
{
    QFETCH(QByteArrayList, claims);
    QFETCH(QByteArrayList, expected);
    MemoryStore store;
    for (const QByteArray &section : claims)
        store.writeString(section.toStdString(), "Items", "1", true);
    std::vector<std::string> wanted;
    for (const QByteArray &section : expected)
        wanted.push_back(section.toStdString());
    QCOMPARE(store.replacedSections(), wanted);
}

void TestIniBase::claimAfterReadIsMadeAgain()
{
    MemoryStore store;
    store.setFile({"[L]", "Items=1", "ItemData(0001)=old", "[M]", "Items=1"});
    store.readString("L", "Items", true);
    store.read();
    store.readString("L", "Items", true);
    QCOMPARE(store.replacedSections(), std::vector<std::string>{"L"});
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), QByteArrayList({"[L]", "Items=1", "", "[M]", "Items=1", ""}));
}

void TestIniBase::readParsesBlockZeroOnly()
{
    MemoryStore store;
    store.setFile({"[Notes]", "HotKey=3065", "[**2]", "Secret=1", "[**0]", "Back=1"});
    store.read();
    QCOMPARE(store.entryTexts(), QByteArrayList({"Notes;Back=1", "Notes;HotKey=3065"}));
    QCOMPARE(store.lockCalls, 1);
    QCOMPARE(store.unlockCalls, 1);
    QVERIFY(!store.readFailed());
}

void TestIniBase::readOrdersEntriesAndDropsRepeats_data()
{
    QTest::addColumn<QByteArrayList>("file");
    QTest::addColumn<QByteArrayList>("entries");
    // "section;key=value": what readString gives.
    QTest::addColumn<QByteArrayList>("reads");
    QTest::newRow("in order") << QByteArrayList{"[A]", "a=1", "b=2", "[B]", "a=3"}
                              << QByteArrayList{"A;a=1", "A;b=2", "B;a=3"}
                              << QByteArrayList{"A;a=1", "a;B=2", "b;A=3"};
    QTest::newRow("sections out of order")
        << QByteArrayList{"[B]", "a=3", "[A]", "b=2", "a=1"}
        << QByteArrayList{"A;a=1", "A;b=2", "B;a=3"} << QByteArrayList{"A;a=1", "A;b=2", "B;a=3"};
    QTest::newRow("a section twice")
        << QByteArrayList{"[A]", "b=2", "[B]", "a=3", "[a]", "a=1"}
        << QByteArrayList{"a;a=1", "A;b=2", "B;a=3"} << QByteArrayList{"A;a=1", "A;b=2", "B;a=3"};
    QTest::newRow("repeats keep the first spelling")
        << QByteArrayList{"[A]", "K=v", "[a]", "k=V", "k=w"} << QByteArrayList{"A;K=v", "a;k=w"}
        << QByteArrayList{"a;k=v"};
}

// The entries of a file are the same whatever order its lines come in.
void TestIniBase::readOrdersEntriesAndDropsRepeats()
{
    QFETCH(QByteArrayList, file);
    QFETCH(QByteArrayList, entries);
    QFETCH(QByteArrayList, reads);
    MemoryStore store;
    store.setFile(file);
    store.read();
    QCOMPARE(store.entryTexts(), entries);
    for (const QByteArray &expected : reads) {
        const qsizetype semicolon = expected.indexOf(';');
        const qsizetype equals = expected.indexOf('=');
        QCOMPARE(read(store, expected.left(semicolon).constData(),
                      expected.mid(semicolon + 1, equals - semicolon - 1).constData()),
                 expected.mid(equals + 1));
    }
}

void TestIniBase::readWithDontReadDoesNothing()
{
    MemoryStore store;
    IniVarLinker linker;
    int calls = 0;
    linker.setOnIniReadWrite([&calls](IniVarLinker &, IniVarLinker::VarLinkMode) { ++calls; });
    linker.setIniMain(&store);
    store.setFile({"[S]", "k=1"});
    store.setDontRead(true);
    store.read();
    QCOMPARE(store.entries().count(), 0);
    QCOMPARE(store.lockCalls, 0);
    QCOMPARE(calls, 0);
}

void TestIniBase::failedReadKeepsEntriesAndBlocksWrites()
{
    MemoryStore store;
    IniVarLinker linker;
    QList<IniVarLinker::VarLinkMode> modes;
    linker.setOnIniReadWrite(
        [&modes](IniVarLinker &, IniVarLinker::VarLinkMode mode) { modes << mode; });
    linker.setIniMain(&store);
    store.setFile({"[S]", "k=1"});
    store.read();
    store.loadWorks = false;
    store.read();
    QVERIFY(store.readFailed());
    QVERIFY(!store.lastError().empty());
    QCOMPARE(store.entryTexts(), QByteArrayList({"S;k=1"}));
    QCOMPARE(modes, QList<IniVarLinker::VarLinkMode>({IniVarLinker::vlRead, IniVarLinker::vlRead}));
    QCOMPARE(store.unlockCalls, 2);

    QVERIFY(!store.write());
    QCOMPARE(store.saveCalls, 0);
    QCOMPARE(modes.size(), 2);

    store.loadWorks = true;
    store.read();
    QVERIFY(!store.readFailed());
    QVERIFY(store.write());
}

void TestIniBase::malformedMarkerFailsReadWithoutThrowing()
{
    MemoryStore store;
    store.setFile({"[S]", "k=1"});
    store.read();
    store.setFile({"[S]", "k=2", "[**x]"});
    store.read();
    QVERIFY(store.readFailed());
    QCOMPARE(store.entryTexts(), QByteArrayList({"S;k=1"}));
    QVERIFY(!store.write());
    QCOMPARE(store.saveCalls, 0);
}

void TestIniBase::readWithoutLockStillReads()
{
    MemoryStore store;
    store.lockWorks = false;
    store.setFile({"[S]", "k=1"});
    store.read();
    QCOMPARE(store.entryTexts(), QByteArrayList({"S;k=1"}));
    QCOMPARE(store.unlockCalls, 0);
}

void TestIniBase::writeEmitsSectionsInOrder()
{
    MemoryStore store;
    store.writeString("Notes", "HotKey", "3065", false);
    store.writeString("Positions", "Posn0", "4", false);
    store.writeString("notes", "AutoMini", "00", false);
    store.writeString("Notes Page0", "Items", "1", true);
    store.writeString("Notes Page0", "ItemData(0001)", "  indented", true);
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(),
             QByteArrayList({"[Notes Page0]", "ItemData(0001)=  indented", "Items=1", "", "[notes]",
                             "AutoMini=00", "HotKey=3065", "", "[Positions]", "Posn0=4", ""}));
    QCOMPARE(store.unlockCalls, 1);
}

void TestIniBase::writeKeepsUntouchedKeysOfAnotherWriter()
{
    MemoryStore store;
    store.setFile({"[S]", "mine=1", "theirs=1"});
    store.read();
    QCOMPARE(read(store, "S", "mine"), QByteArray("1"));
    store.writeString("S", "mine", "2", false);
    // Another process changes the file after this read.
    store.setFile({"[S]", "mine=1", "theirs=5", "[New]", "added=1"});
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(),
             QByteArrayList({"[New]", "added=1", "", "[S]", "mine=2", "theirs=5", ""}));
}

void TestIniBase::writeDropsReplacedSections()
{
    MemoryStore store;
    store.setFile({"[Notes Page4]", "Items=1", "ItemData(0001)=old", "[Notes]", "k=1"});
    store.read();
    store.clearSection("Notes Page4");
    store.endSection();
    store.readString("Notes Page4", "Items", true);
    store.clearSection("Notes Page0");
    store.writeString("Notes Page0", "Items", "0", true);
    store.endSection();
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(),
             QByteArrayList({"[Notes Page0]", "Items=0", "", "[Notes]", "k=1", ""}));
}

void TestIniBase::writeKeepsOtherUserBlocksAfterBlockZero()
{
    MemoryStore store;
    store.setFile(
        {"[S]", "a=1", "[**2]", "[Theirs]", "b=2", "[**0]", "[S]", "c=3", "[**5;x]", "d=4"});
    store.read();
    store.writeString("S", "a", "9", false);
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "a=9", "c=3", "", "[**2]", "[Theirs]", "b=2",
                                                "[**5;x]", "d=4"}));
}

void TestIniBase::writeDropsCommentsOfBlockZero()
{
    MemoryStore store;
    store.setFile({"; comment", "[S]", "text without equals", "", "a=1"});
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "a=1", ""}));
}

void TestIniBase::writeReplacesDuplicatesOfTouchedName()
{
    MemoryStore store;
    store.setFile({"[S]", "k=1", "[S]", "k=3"});
    store.writeString("S", "k", "4", false);
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "k=4", ""}));
}

void TestIniBase::writeMerges_data()
{
    QTest::addColumn<QByteArrayList>("file");
    QTest::addColumn<QByteArray>("section");
    // Written as a list is: the section cleared and claimed, every key with replaceSection.
    QTest::addColumn<bool>("asList");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QByteArrayList>("written");

    QTest::newRow("names compared ignoring case")
        << QByteArrayList({"[notes]", "hotkey=1081"}) << QByteArray("Notes") << false
        << QByteArrayList({"HotKey=3065"}) << QByteArrayList({"[Notes]", "HotKey=3065", ""});
    QTest::newRow("claimed section spelled in another case goes as a whole")
        << QByteArrayList({"[notes page0]", "Items=2", "ItemData(0001)=a", "ItemData(0002)=b"})
        << QByteArray("Notes Page0") << true << QByteArrayList({"Items=1", "ItemData(0001)=new"})
        << QByteArrayList({"[Notes Page0]", "ItemData(0001)=new", "Items=1", ""});
    QTest::newRow("claimed section goes from every place it stands")
        << QByteArrayList({"[L]", "a=1", "[M]", "b=2", "[L]", "c=3"}) << QByteArray("L") << true
        << QByteArrayList({"Items=0"}) << QByteArrayList({"[L]", "Items=0", "", "[M]", "b=2", ""});
    QTest::newRow("other user blocks survive a replaced section")
        << QByteArrayList({"[L]", "Items=1", "[**2]", "d=4", "[L]", "e=5"}) << QByteArray("L")
        << true << QByteArrayList({"Items=1", "ItemData(0001)=x"})
        << QByteArrayList({"[L]", "ItemData(0001)=x", "Items=1", "", "[**2]", "d=4", "[L]", "e=5"});
    QTest::newRow("key that begins the name of another key")
        << QByteArrayList({"[Positions]", "Posn1=5", "Posn10=7", "Posn=3"})
        << QByteArray("Positions") << false << QByteArrayList({"Posn1=9", "Posn=4"})
        << QByteArrayList({"[Positions]", "Posn10=7", "Posn1=9", "Posn=4", ""});
    QTest::newRow("untouched keys between touched ones")
        << QByteArrayList({"[S]", "a=1", "c=1", "e=1", "G=1"}) << QByteArray("S") << false
        << QByteArrayList({"b=2", "d=2", "f=2", "c=2"})
        << QByteArrayList({"[S]", "a=1", "b=2", "c=2", "d=2", "e=1", "f=2", "G=1", ""});
    QTest::newRow("untouched sections around a claimed one")
        << QByteArrayList({"[A]", "a=1", "[M]", "old=1", "[Z]", "z=1"}) << QByteArray("M") << true
        << QByteArrayList({"Items=2", "ItemData(0001)=x", "ItemData(0002)=y"})
        << QByteArrayList({"[A]", "a=1", "", "[M]", "ItemData(0001)=x", "ItemData(0002)=y",
                           "Items=2", "", "[Z]", "z=1", ""});
    QTest::newRow("replaced section after a return to block 0")
        << QByteArrayList({"[**2]", "[L]", "d=4", "[**0]", "[L]", "old=1", "[M]", "k=1"})
        << QByteArray("L") << true << QByteArrayList({"Items=0"})
        << QByteArrayList({"[L]", "Items=0", "", "[M]", "k=1", "", "[**2]", "[L]", "d=4"});
}

// The store reads the file, writes the keys and saves; the next start reads back every value
// written.
void TestIniBase::writeMerges()
{
    QFETCH(QByteArrayList, file);
    QFETCH(QByteArray, section);
    QFETCH(bool, asList);
    QFETCH(QByteArrayList, writes);
    QFETCH(QByteArrayList, written);

    MemoryStore store;
    store.setFile(file);
    store.read();
    writeSection(store, section, writes, asList);
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), written);

    MemoryStore next;
    next.file = store.file;
    next.read();
    for (const QByteArray &write : writes) {
        const qsizetype equals = write.indexOf('=');
        QCOMPARE(read(next, section.constData(), write.left(equals).constData()),
                 write.mid(equals + 1));
    }
}

void TestIniBase::threeWayMerge_data()
{
    // The file as this store reads it (the base), what this store then writes into section S
    // (mine), what the file holds when the write comes (theirs) and what the write leaves.
    QTest::addColumn<QByteArrayList>("base");
    QTest::addColumn<bool>("asList");
    QTest::addColumn<QByteArrayList>("mine");
    QTest::addColumn<QByteArrayList>("theirs");
    QTest::addColumn<QByteArrayList>("written");
    QTest::addColumn<QByteArrayList>("conflicts");
    QTest::addColumn<bool>("merged");

    const QByteArrayList none;
    QTest::newRow("key unchanged by either, file unchanged: nothing merged")
        << QByteArrayList({"[S]", "k=1"}) << false << QByteArrayList({"k=1"})
        << QByteArrayList({"[S]", "k=1"}) << QByteArrayList({"[S]", "k=1", ""}) << none << false;
    QTest::newRow("key unchanged by either, file changed elsewhere")
        << QByteArrayList({"[S]", "k=1"}) << false << QByteArrayList({"k=1"})
        << QByteArrayList({"[S]", "k=1", "[T]", "x=1"})
        << QByteArrayList({"[S]", "k=1", "", "[T]", "x=1", ""}) << none << true;
    QTest::newRow("key changed by them only: theirs")
        << QByteArrayList({"[S]", "k=1"}) << false << QByteArrayList({"k=1"})
        << QByteArrayList({"[S]", "k=2"}) << QByteArrayList({"[S]", "k=2", ""}) << none << true;
    QTest::newRow("key changed by me only: mine")
        << QByteArrayList({"[S]", "k=1", "x=1"}) << false << QByteArrayList({"k=3"})
        << QByteArrayList({"[S]", "k=1", "x=2"}) << QByteArrayList({"[S]", "k=3", "x=2", ""})
        << none << true;
    QTest::newRow("key changed by both: mine")
        << QByteArrayList({"[S]", "k=1"}) << false << QByteArrayList({"k=3"})
        << QByteArrayList({"[S]", "k=2"}) << QByteArrayList({"[S]", "k=3", ""}) << none << true;
    QTest::newRow("key changed by both alike")
        << QByteArrayList({"[S]", "k=1"}) << false << QByteArrayList({"k=3"})
        << QByteArrayList({"[S]", "k=3"}) << QByteArrayList({"[S]", "k=3", ""}) << none << true;
    QTest::newRow("key written with trailing blanks is no change: theirs")
        << QByteArrayList({"[S]", "k=1"}) << false << QByteArrayList({"k=1  "})
        << QByteArrayList({"[S]", "k=2"}) << QByteArrayList({"[S]", "k=2", ""}) << none << true;
    QTest::newRow("key names compared ignoring case")
        << QByteArrayList({"[s]", "K=1"}) << false << QByteArrayList({"k=1"})
        << QByteArrayList({"[S]", "k=2"}) << QByteArrayList({"[S]", "k=2", ""}) << none << true;
    QTest::newRow("key deleted by them, unchanged by me: stays deleted")
        << QByteArrayList({"[S]", "k=1", "x=1"}) << false << QByteArrayList({"k=1"})
        << QByteArrayList({"[S]", "x=1"}) << QByteArrayList({"[S]", "x=1", ""}) << none << true;
    QTest::newRow("key deleted by them, changed by me: mine")
        << QByteArrayList({"[S]", "k=1", "x=1"}) << false << QByteArrayList({"k=2"})
        << QByteArrayList({"[S]", "x=1"}) << QByteArrayList({"[S]", "k=2", "x=1", ""}) << none
        << true;
    QTest::newRow("key added by both: mine")
        << QByteArrayList({"[S]", "x=1"}) << false << QByteArrayList({"k=2"})
        << QByteArrayList({"[S]", "k=5", "x=1"}) << QByteArrayList({"[S]", "k=2", "x=1", ""})
        << none << true;
    QTest::newRow("key added by them: theirs")
        << QByteArrayList({"[S]", "k=1"}) << false << QByteArrayList({"k=1"})
        << QByteArrayList({"[S]", "k=1", "new=1"}) << QByteArrayList({"[S]", "k=1", "new=1", ""})
        << none << true;
    QTest::newRow("file created by them after this store found none")
        << none << false << QByteArrayList({"k=1"}) << QByteArrayList({"[S]", "k=2", "x=1"})
        << QByteArrayList({"[S]", "k=1", "x=1", ""}) << none << true;

    const QByteArrayList list = {"[S]", "Items=2", "ItemData(0001)=a", "ItemData(0002)=b"};
    const QByteArrayList listWrites = {"Items=2", "ItemData(0001)=a", "ItemData(0002)=b"};
    const QByteArrayList listWritten = {"[S]", "ItemData(0001)=a", "ItemData(0002)=b", "Items=2",
                                        ""};
    QTest::newRow("section unchanged by either, file changed elsewhere")
        << (list + QByteArrayList{"[T]", "x=1"}) << true << listWrites
        << (list + QByteArrayList{"[T]", "x=2"}) << (listWritten + QByteArrayList{"[T]", "x=2", ""})
        << none << true;
    QTest::newRow("section changed by them only: theirs as a whole")
        << list << true << listWrites << QByteArrayList({"[S]", "Items=1", "ItemData(0001)=theirs"})
        << QByteArrayList({"[S]", "ItemData(0001)=theirs", "Items=1", ""}) << none << true;
    QTest::newRow("section changed by me only: mine as a whole, its dropped keys gone")
        << (list + QByteArrayList{"[T]", "x=1"}) << true
        << QByteArrayList({"Items=1", "ItemData(0001)=mine"})
        << (list + QByteArrayList{"[T]", "x=2"})
        << QByteArrayList({"[S]", "ItemData(0001)=mine", "Items=1", "", "[T]", "x=2", ""}) << none
        << true;
    QTest::newRow("section changed by both: mine, a conflict")
        << list << true << QByteArrayList({"Items=1", "ItemData(0001)=mine"})
        << QByteArrayList({"[S]", "Items=2", "ItemData(0001)=a", "ItemData(0002)=theirs"})
        << QByteArrayList({"[S]", "ItemData(0001)=mine", "Items=1", ""}) << QByteArrayList({"S"})
        << true;
    QTest::newRow("section changed by both alike: no conflict")
        << list << true << QByteArrayList({"Items=1", "ItemData(0001)=same"})
        << QByteArrayList({"[S]", "Items=1", "ItemData(0001)=same"})
        << QByteArrayList({"[S]", "ItemData(0001)=same", "Items=1", ""}) << none << true;
    QTest::newRow("section deleted by them, unchanged by me: stays deleted")
        << (list + QByteArrayList{"[T]", "x=1"}) << true << listWrites
        << QByteArrayList({"[T]", "x=1"}) << QByteArrayList({"[T]", "x=1", ""}) << none << true;
    QTest::newRow("section deleted by them, changed by me: mine, a conflict")
        << list << true << QByteArrayList({"Items=1", "ItemData(0001)=mine"})
        << QByteArrayList({"[T]", "x=1"})
        << QByteArrayList({"[S]", "ItemData(0001)=mine", "Items=1", "", "[T]", "x=1", ""})
        << QByteArrayList({"S"}) << true;
    QTest::newRow("section added by both differently: mine, a conflict")
        << QByteArrayList({"[T]", "x=1"}) << true
        << QByteArrayList({"Items=1", "ItemData(0001)=mine"})
        << QByteArrayList({"[S]", "Items=1", "ItemData(0001)=theirs", "[T]", "x=1"})
        << QByteArrayList({"[S]", "ItemData(0001)=mine", "Items=1", "", "[T]", "x=1", ""})
        << QByteArrayList({"S"}) << true;
}

namespace {

QByteArrayList entriesOf(const QByteArrayList &lines)
{
    MemoryStore store;
    store.setFile(lines);
    store.read();
    return store.entryTexts();
}

} // namespace

void TestIniBase::threeWayMerge()
{
    QFETCH(QByteArrayList, base);
    QFETCH(bool, asList);
    QFETCH(QByteArrayList, mine);
    QFETCH(QByteArrayList, theirs);
    QFETCH(QByteArrayList, written);
    QFETCH(QByteArrayList, conflicts);
    QFETCH(bool, merged);

    MemoryStore store;
    int handlerCalls = 0;
    store.setOnOutsideChange([&](const LineBuffer &baseLines, const LineBuffer &theirsLines) {
        ++handlerCalls;
        // The base comes as lines that read back to what the store last read.
        QCOMPARE(entriesOf(MemoryStore::listOf(baseLines)), entriesOf(base));
        QCOMPARE(MemoryStore::listOf(theirsLines), store.fileLines());
    });
    store.setFile(base);
    store.read();
    writeSection(store, "S", mine, asList);
    store.setFile(theirs);
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), written);
    QByteArrayList reported;
    for (const std::string &section : store.conflicts())
        reported << QByteArray::fromStdString(section);
    QCOMPARE(reported, conflicts);
    QCOMPARE(store.mergedOutsideChange(), merged);
    QCOMPARE(handlerCalls, merged ? 1 : 0);
}

// After a merge the entries hold what was written, and the next write merges against it: a
// value of theirs that won is not undone by writing the same entries again.
void TestIniBase::mergedContentBecomesEntriesAndBase()
{
    MemoryStore store;
    store.setFile({"[S]", "k=1", "own=1"});
    store.read();
    store.writeString("S", "k", "1", false);
    store.writeString("S", "own", "2", false);
    store.setFile({"[S]", "k=2", "own=1"});
    QVERIFY(store.write());
    QCOMPARE(read(store, "S", "k"), QByteArray("2"));
    QCOMPARE(read(store, "S", "own"), QByteArray("2"));
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "k=2", "own=2", ""}));

    // The file is unchanged since: this store's own writes win as ever.
    store.writeString("S", "k", "7", false);
    QVERIFY(store.write());
    QVERIFY(!store.mergedOutsideChange());
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "k=7", "own=2", ""}));
}

// A merge whose save fails leaves the base as it was: the next write merges the same way.
void TestIniBase::failedMergeKeepsBase()
{
    FailingStore store;
    store.setFile({"[S]", "k=1", "x=1"});
    store.read();
    store.writeString("S", "k", "1", false);
    store.writeString("S", "x", "2", false);
    store.setFile({"[S]", "k=2", "x=1"});
    QVERIFY(!store.write());
    QVERIFY(!store.mergedOutsideChange());
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "k=2", "x=1"}));
    store.failSave = false;
    QVERIFY(store.write());
    QVERIFY(store.mergedOutsideChange());
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "k=2", "x=2", ""}));
}

// Saves that fail again and again (a full disk) each read the file anew: what they read is
// given back, and the first save that works writes what the store holds.
void TestIniBase::failingSavesKeepTheirMemory()
{
    FailingStore store;
    QByteArrayList lines{"[L]"};
    for (int i = 1; i <= 20000; ++i)
        lines << "ItemData(" + QByteArray::number(i) + ")=a line of the list, of some length";
    store.setFile(lines);
    store.read();
    for (int round = 0; round < 30; ++round) {
        store.writeString("S", "round", std::to_string(round), false);
        QVERIFY(!store.write());
        const QString beyond = keptBeyond(store.entries(), twiceHeld(store.entries()));
        QVERIFY2(beyond.isEmpty(), qPrintable(QStringLiteral("round %1: ").arg(round) + beyond));
    }
    store.failSave = false;
    QVERIFY(store.write());
    QCOMPARE(store.fileLines().size(), lines.size() + 4);
    QCOMPARE(store.fileLines().at(20000),
             QByteArray("ItemData(9999)=a line of the list, of some length"));
}

// What the handler resolves is written as it stands, with no conflict; what it writes anew
// is merged like every other entry.
void TestIniBase::handlerResolvesAgainstTheirs()
{
    MemoryStore store;
    store.setOnOutsideChange([&store](const LineBuffer &, const LineBuffer &) {
        writeSection(store, "L", {"Items=1", "ItemData(0001)=resolved"}, true);
        store.resolveAgainstTheirs("l");
        store.writeString("S", "k", "1", false);
        store.resolveAgainstTheirs("S", "K");
    });
    store.setFile({"[L]", "Items=1", "ItemData(0001)=a", "[S]", "k=1", "m=1"});
    store.read();
    writeSection(store, "L", {"Items=1", "ItemData(0001)=mine"}, true);
    store.writeString("S", "k", "1", false);
    store.writeString("S", "m", "1", false);
    store.setFile({"[L]", "Items=1", "ItemData(0001)=theirs", "[S]", "k=2", "m=2"});
    QVERIFY(store.write());
    QVERIFY(store.conflicts().empty());
    QCOMPARE(store.fileLines(), QByteArrayList({"[L]", "ItemData(0001)=resolved", "Items=1", "",
                                                "[S]", "k=1", "m=2", ""}));
}

void TestIniBase::writeAbandonedWhenLockFails()
{
    MemoryStore store;
    store.writeString("S", "k", "1", false);
    store.lockWorks = false;
    QVERIFY(!store.write());
    QVERIFY(!store.lastError().empty());
    QCOMPARE(store.saveCalls, 0);
    QCOMPARE(store.unlockCalls, 0);
    store.lockWorks = true;
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "k=1", ""}));
}

void TestIniBase::writeAbandonedWhenReloadFails()
{
    MemoryStore store;
    store.setFile({"[S]", "k=1", "other=2"});
    store.read();
    store.writeString("S", "k", "2", false);
    store.loadWorks = false;
    QVERIFY(!store.write());
    QCOMPARE(store.saveCalls, 0);
    QCOMPARE(store.unlockCalls, 2);
    QCOMPARE(store.fileLines(), QByteArrayList({"[S]", "k=1", "other=2"}));
}

void TestIniBase::writeWithDontWriteDoesNothing()
{
    MemoryStore store;
    IniVarLinker linker;
    int calls = 0;
    linker.setOnIniReadWrite([&calls](IniVarLinker &, IniVarLinker::VarLinkMode) { ++calls; });
    linker.setIniMain(&store);
    store.setDontWrite(true);
    QVERIFY(!store.write());
    QCOMPARE(calls, 0);
    QCOMPARE(store.lockCalls, 0);
}

void TestIniBase::writeOfEmptyStoreLeavesOneBlankLine()
{
    MemoryStore store;
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), QByteArrayList({""}));
}

void TestIniBase::keysOfSection()
{
    MemoryStore store;
    store.setFile({"[List]", "Items=2", "ItemData(1)=a", "[List2]", "x=1", "[Lis]", "y=1"});
    store.read();
    QCOMPARE(store.keysOfSection("list"), std::vector<std::string>({"ItemData(1)", "Items"}));
    QVERIFY(store.keysOfSection("Missing").empty());
}

// A kept section is claimed and its entries are written as they stand, as if written again.
void TestIniBase::keptSectionIsWrittenAsItsEntriesStand()
{
    MemoryStore store;
    store.setFile({"[L]", "Items=1", "ItemData(0001)=a", "[M]", "k=1", "[L]", "late=2"});
    store.read();
    store.keepSection(" l ");
    QCOMPARE(store.replacedSections(), std::vector<std::string>{"l"});
    QVERIFY(store.write());
    QCOMPARE(store.fileLines(), QByteArrayList({"[L]", "ItemData(0001)=a", "Items=1", "late=2", "",
                                                "[M]", "k=1", ""}));

    MemoryStore rewritten;
    rewritten.setFile({"[L]", "Items=1", "ItemData(0001)=a", "[M]", "k=1", "[L]", "late=2"});
    rewritten.read();
    writeSection(rewritten, "L", {"Items=1", "ItemData(0001)=a", "late=2"}, true);
    QVERIFY(rewritten.write());
    QCOMPARE(store.fileLines(), rewritten.fileLines());
}

void TestIniBase::entriesGenerationMovesWhenEntriesAreReplaced()
{
    MemoryStore store;
    store.setFile({"[S]", "k=1"});
    std::uint64_t generation = store.entriesGeneration();
    store.read();
    QVERIFY(store.entriesGeneration() != generation);

    generation = store.entriesGeneration();
    writeSection(store, "L", {"Items=1", "ItemData(0001)=a"}, true);
    store.writeString("S", "k", "2", false);
    store.keepSection("L");
    QVERIFY(store.write());
    QVERIFY(!store.mergedOutsideChange());
    QCOMPARE(store.entriesGeneration(), generation);

    // Another writer changed the file: the merged content replaces the entries.
    store.setFile({"[L]", "Items=1", "ItemData(0001)=a", "[S]", "k=2", "other=1"});
    QVERIFY(store.write());
    QVERIFY(store.mergedOutsideChange());
    QVERIFY(store.entriesGeneration() != generation);
}

QTEST_GUILESS_MAIN(TestIniBase)
#include "tst_inibase.moc"
