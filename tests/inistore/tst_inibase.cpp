#include "inistore/inibase.h"
#include "inistore/inierror.h"
#include "inistore/inivarlinker.h"
#include "memorystore.h"

#include <QtTest>

namespace {

QByteArray read(IniBase &store, const char *section, const char *ident)
{
    return QByteArray::fromStdString(store.readString(section, ident, false));
}

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
    void readParsesBlockZeroOnly();
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
    void writeAbandonedWhenLockFails();
    void writeAbandonedWhenReloadFails();
    void writeWithDontWriteDoesNothing();
    void writeOfEmptyStoreLeavesOneBlankLine();
    void keysOfSection();
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
    if (asList)
        store.clearSection(section.toStdString());
    for (const QByteArray &write : writes) {
        const qsizetype equals = write.indexOf('=');
        store.writeString(section.toStdString(), write.left(equals).toStdString(),
                          write.mid(equals + 1).toStdString(), asList);
    }
    if (asList)
        store.endSection();
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

QTEST_GUILESS_MAIN(TestIniBase)
#include "tst_inibase.moc"
