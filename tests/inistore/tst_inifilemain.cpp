#include "inistore/delayobject.h"
#include "inistore/inifilemain.h"
#include "inistore/linecipher.h"
#include "inistore/lineloader.h"
#include "inistore/platformfile.h"
#include "keptbytes.h"

#include <QtTest>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Records every rename and can make one of them (counted from 1) fail.
class RecordingFileMain : public IniFileMain
{
public:
    QStringList renames;
    QStringList sideFileAtRename;
    int failingRename = 0;

protected:
    bool renameFile(const std::string &from, const std::string &to, std::string &error) override
    {
        renames << QString::fromStdString(fs::path(from).filename().string() + " -> " +
                                          fs::path(to).filename().string());
        sideFileAtRename << (fs::exists(sideFileName()) ? "side" : "none");
        if (renames.size() == failingRename) {
            error = "refused by the test";
            return false;
        }
        return IniFileMain::renameFile(from, to, error);
    }
};

// Counts the loads of the file.
class CountingFileMain : public IniFileMain
{
public:
    int loads = 0;

    bool loadLines(LineBuffer &lines) override
    {
        ++loads;
        return IniFileMain::loadLines(lines);
    }
    bool loadLinesInPieces(const LinePieceTaker &take) override
    {
        ++loads;
        return IniFileMain::loadLinesInPieces(take);
    }
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArrayList toList(const LineBuffer &lines)
{
    QByteArrayList list;
    for (const std::string_view line : lines)
        list << QByteArray(line.data(), qsizetype(line.size()));
    return list;
}

unsigned modeOf(const QString &path)
{
    struct stat info = {};
    ::stat(path.toLocal8Bit().constData(), &info);
    return info.st_mode & 0777;
}

void setAge(const QString &path, int minutesAgo)
{
    fs::last_write_time(path.toStdString(),
                        fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString vectorPath(const char *name)
{
    return qEnvironmentVariable("QUILLBOX_TEST_DATA") + "/vectors/" + name;
}

} // namespace

class TestIniFileMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void fullFileName_data();
    void fullFileName();
    void companionNames_data();
    void companionNames();
    void tempFileNameSkipsTakenNames();
    void loadLines_data();
    void loadLines();
    void linesAcrossPiecesLoadAsWhole_data();
    void linesAcrossPiecesLoadAsWhole();
    void encipheredFileOfManyPiecesReadsBack();
    void loadUnreadableFileFails();
    void oldEncipheredVectorReadsAsPlain();
    void encipheredSaveUsesSeedOfClock();
    void everyByteSurvivesEncipheredSave();
    void largeEncipheredSaveIsEveryLineInTurn_data();
    void largeEncipheredSaveIsEveryLineInTurn();
    void largeFileLoadsWithAnyLineBreaks_data();
    void largeFileLoadsWithAnyLineBreaks();
    void plainSaveWritesLinesAsGiven();
    void saveRenamesInOrderAndCleansUp();
    void saveUsesNextFreeTempName();
    void staleTempFilesGoAfterLockedSave_data();
    void staleTempFilesGoAfterLockedSave();
    void removeFileReleasingLater_data();
    void removeFileReleasingLater();
    void saveFailsWhenDataFileCannotMoveAside();
    void saveFailsWhenTempFileCannotTakeItsPlace();
    void sideFileIsLoadedAndKeptUntilNewDataFileStands();
    void saveIntoMissingFolderMovesNothing();
    void saveWithoutFilenameFails();
    void lockFileIsPrivateAndRemoved();
    void secondLockOfHolderFailsAtOnce();
    void lockHeldElsewhereFailsAfterTenWaits();
    void lockHeldByOtherStoreFails();
    void deletedLockFileOfOldHolderDoesNotBlock();
    void lockInMissingFolderFailsAtOnce();
    void delayRefusesNestedWait();
    void backupCreatesPrivateFolderAndCopy();
    void backupNeedsAllowAndFolder();
    void backupRotationDeletesOldestAndTakesLowestFreeNumber();
    void backupOfSameSizeIsSkippedButOldestStillGoes();
    void backupRotationNeverTouchesDataSideOrOtherFiles();
    void backupOnNearlyFullDiskKeepsEveryBackup_data();
    void backupOnNearlyFullDiskKeepsEveryBackup();
    void backupRemovesPartialCopyOfEarlierBackup();
    void writeMergesWithAnotherWriter();
    void writeMergesWithChangeBetweenTwoOfOurs_data();
    void writeMergesWithChangeBetweenTwoOfOurs();
    void sameSizeChangeAfterOwnSaveIsFound_data();
    void sameSizeChangeAfterOwnSaveIsFound();
    void writeAfterOwnReadOrSaveLoadsOnlyChangedFile();
    void listRewrittenOftenKeepsItsMemory();
    void onePageSavedOftenFreesWhatItReplaced();
    void unreadableFileBlocksWrites_data();
    void unreadableFileBlocksWrites();
    void writeAbandonedWhenReloadFails();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void useFile(IniFileMain &store, const QString &name) const
    {
        store.setFilename(path(name).toStdString());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_delays = 0;
};

void TestIniFileMain::initTestCase()
{
    DelayObject::setHook([this](int ms) {
        m_delays += ms / 100;
        return true;
    });
    IniFileMain::setClock([] { return std::uint32_t(51155566); });
}

void TestIniFileMain::init()
{
    PlatformFile::setSpaceLeft(std::nullopt);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_delays = 0;
    IniFileMain::setProgramFolder(m_dir->path().toStdString());
}

void TestIniFileMain::cleanupTestCase()
{
    PlatformFile::setSpaceLeft(std::nullopt);
    DelayObject::setHook(nullptr);
    IniFileMain::setClock(nullptr);
}

void TestIniFileMain::fullFileName_data()
{
    QTest::addColumn<QString>("filename");
    QTest::addColumn<QString>("full");
    QTest::newRow("absolute") << "/data/x.ini"
                              << "/data/x.ini";
    QTest::newRow("program folder") << "  .Quillbox.ini "
                                    << "/opt/quillbox/Quillbox.ini";
    QTest::newRow("drive letter") << "C:\\data\\x.ini"
                                  << "C:\\data\\x.ini";
    QTest::newRow("network path") << "\\\\server\\share\\x.ini"
                                  << "\\\\server\\share\\x.ini";
    QTest::newRow("bare name") << "x.ini"
                               << "/opt/quillbox/x.ini";
}

void TestIniFileMain::fullFileName()
{
    QFETCH(QString, filename);
    QFETCH(QString, full);
    IniFileMain::setProgramFolder("/opt/quillbox");
    QCOMPARE(IniFileMain::programFolder(), std::string("/opt/quillbox/"));
    IniFileMain store;
    store.setFilename(filename.toStdString());
    QCOMPARE(QString::fromStdString(store.fullFileName()), full);
}

void TestIniFileMain::companionNames_data()
{
    QTest::addColumn<QString>("filename");
    QTest::addColumn<QString>("lock");
    QTest::addColumn<QString>("side");
    QTest::addColumn<QString>("base");
    QTest::newRow("notes file") << "/d/Quillbox.ini"
                                << "/d/QuillIni.lck"
                                << "/d/Quillbox.tmp"
                                << "Quillbox";
    QTest::newRow("short base, two dots") << "/d/ab.c.ini"
                                          << "/d/abIni.lck"
                                          << "/d/ab.c.tmp"
                                          << "ab";
    QTest::newRow("no extension") << "/d.x/notes"
                                  << "/d.x/notesIni.lck"
                                  << "/d.x/notes.tmp"
                                  << "notes";
    QTest::newRow("hidden file") << "/d/.notes.ini"
                                 << "/d/notesIni.lck"
                                 << "/d/.notes.tmp"
                                 << "notes";
    QTest::newRow("data file ending in .tmp") << "/d/x.tmp"
                                              << "/d/xIni.lck"
                                              << "/d/x.tmp.tmp"
                                              << "x";
}

void TestIniFileMain::companionNames()
{
    QFETCH(QString, filename);
    QFETCH(QString, lock);
    QFETCH(QString, side);
    QFETCH(QString, base);
    IniFileMain store;
    store.setFilename(filename.toStdString());
    QCOMPARE(QString::fromStdString(store.lockFileName()), lock);
    QCOMPARE(QString::fromStdString(store.sideFileName()), side);
    QCOMPARE(QString::fromStdString(store.baseName()), base);
}

void TestIniFileMain::tempFileNameSkipsTakenNames()
{
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    QCOMPARE(QString::fromStdString(store.tempFileName()), path("$$$$$$$$.tmp"));
    writeBytes(path("$$$$$$$$.tmp"), "x");
    QCOMPARE(QString::fromStdString(store.tempFileName()), path("$$$$$$$1.tmp"));
    writeBytes(path("$$$$$$$1.tmp"), "x");
    QCOMPARE(QString::fromStdString(store.tempFileName()), path("$$$$$$$2.tmp"));
    for (int counter = 2; counter <= 11; ++counter)
        writeBytes(path(QString::number(counter).rightJustified(8, '$') + ".tmp"), "x");
    QCOMPARE(QString::fromStdString(store.tempFileName()), path("$$$$$$12.tmp"));
}

void TestIniFileMain::loadLines_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("missing file leaves the lines")
        << false << QByteArray() << QByteArrayList({"kept"});
    QTest::newRow("empty file") << true << QByteArray() << QByteArrayList();
    QTest::newRow("every line break") << true << QByteArray("a\r\nb\rc\nd\r\n\r\ne")
                                      << QByteArrayList({"a", "b", "c", "d", "", "e"});
    QTest::newRow("marker alone is plain") << true << QByteArray("ENCRYPTED DATA DO NOT EDIT\r\n")
                                           << QByteArrayList({"ENCRYPTED DATA DO NOT EDIT"});
    QTest::newRow("bad seed keeps lines as read")
        << true << QByteArray("ENCRYPTED DATA DO NOT EDIT\r\nabc\r\n[S]\r\nk=1\r\n")
        << QByteArrayList({"[S]", "k=1"});
    QTest::newRow("marker and an empty seed line")
        << true << QByteArray("ENCRYPTED DATA DO NOT EDIT\r\n\r\n") << QByteArrayList();
    QTest::newRow("marker and lone line feeds")
        << true << QByteArray("ENCRYPTED DATA DO NOT EDIT\n\n\n") << QByteArrayList({""});
    QTest::newRow("marker and lone carriage returns")
        << true << QByteArray("ENCRYPTED DATA DO NOT EDIT\rx\r[S]\rk=1")
        << QByteArrayList({"[S]", "k=1"});
    QTest::newRow("marker not on the first line")
        << true << QByteArray("[S]\r\nENCRYPTED DATA DO NOT EDIT\r\n7\r\n")
        << QByteArrayList({"[S]", "ENCRYPTED DATA DO NOT EDIT", "7"});
}

void TestIniFileMain::loadLines()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, lines);
    if (exists)
        writeBytes(path("Quillbox.ini"), bytes);
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    LineBuffer loaded{"kept"};
    QVERIFY(store.loadLines(loaded));
    QCOMPARE(toList(loaded), lines);
}

void TestIniFileMain::linesAcrossPiecesLoadAsWhole_data()
{
    constexpr auto piece = static_cast<qsizetype>(LineLoader::pieceBytes);
    // Two short lines, then a line whose last byte is the first piece's last.
    const QByteArray start = "h\r\nh\r\n";
    const QByteArray fill(piece - 1 - start.size(), 'a');
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<int>("leastPieces");
    QTest::newRow("CR LF split between pieces")
        << start + fill + "\r\nb\r\nc" << QByteArrayList({"h", "h", fill, "b", "c"}) << 2;
    QTest::newRow("lone CR ends a piece")
        << start + fill + "\rb\nc\n" << QByteArrayList({"h", "h", fill, "b", "c"}) << 2;
    QTest::newRow("LF ends a piece")
        << start + fill + "\nb\r\n" << QByteArrayList({"h", "h", fill, "b"}) << 2;
    const QByteArray longLine(piece * 5 / 2, 'l');
    QTest::newRow("line longer than two pieces")
        << start + longLine + "\r\nz" << QByteArrayList({"h", "h", longLine, "z"}) << 2;
    QTest::newRow("marker and seed before a long first line")
        << "ENCRYPTED DATA DO NOT EDIT\r\nx\r\n" + longLine + "\r\n"
        << QByteArrayList({longLine}) << 1;
}

// However the lines fall on the pieces a file is read in, they load as from the whole file.
void TestIniFileMain::linesAcrossPiecesLoadAsWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, lines);
    QFETCH(int, leastPieces);
    writeBytes(path("Quillbox.ini"), bytes);
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    LineBuffer loaded;
    QVERIFY(store.loadLines(loaded));
    QCOMPARE(toList(loaded), lines);
    int pieces = 0;
    QVERIFY(store.loadLinesInPieces([&pieces](const LineBuffer &) { ++pieces; }));
    QVERIFY(pieces >= leastPieces);
}

// An enciphered file of many pieces reads back every entry written, each line with its own key.
void TestIniFileMain::encipheredFileOfManyPiecesReadsBack()
{
    IniFileMain writer;
    useFile(writer, "Quillbox.ini");
    writer.setEncrypt(true);
    const int keys = static_cast<int>(3 * LineLoader::pieceBytes / 40);
    writer.writeSection("S", static_cast<std::size_t>(keys), [](std::size_t i, std::string &text) {
        text.append("k" + std::to_string(100000 + i) + "=\xe9 value ").append(i % 17, '=') += '!';
    });
    QVERIFY(writer.write());
    IniFileMain reader;
    useFile(reader, "Quillbox.ini");
    reader.read();
    QVERIFY(!reader.readFailed());
    QCOMPARE(reader.keysOfSection("S").size(), std::size_t(keys));
    for (const int i : {0, keys / 3, keys / 2, keys - 1}) {
        const std::string key = "k" + std::to_string(100000 + i);
        QCOMPARE(reader.readString("S", key, false),
                 "\xe9 value " + std::string(std::size_t(i % 17), '=') + '!');
    }
}

void TestIniFileMain::loadUnreadableFileFails()
{
    QVERIFY(QDir(m_dir->path()).mkdir("Quillbox.ini"));
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    LineBuffer lines;
    QVERIFY(!store.loadLines(lines));
}

void TestIniFileMain::oldEncipheredVectorReadsAsPlain()
{
    IniFileMain enciphered;
    enciphered.setFilename(vectorPath("notes-old-enciphered.ini").toStdString());
    IniFileMain plain;
    plain.setFilename(vectorPath("notes-old-plain.ini").toStdString());
    LineBuffer encipheredLines;
    LineBuffer plainLines;
    QVERIFY(enciphered.loadLines(encipheredLines));
    QVERIFY(plain.loadLines(plainLines));
    QVERIFY(plainLines.size() > 40);
    QCOMPARE(toList(encipheredLines), toList(plainLines));
    // The old form carries bytes below 223 only: the vector's accented letter is 0xC9.
    QVERIFY(std::find(plainLines.begin(), plainLines.end(),
                      "ItemData(0001)=Caf\xc9 bill \xa3 12.50") != plainLines.end());
}

void TestIniFileMain::encipheredSaveUsesSeedOfClock()
{
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(true);
    QVERIFY(store.saveLines(LineBuffer{"[Notes]", "HotKey=1081", ""}));
    const int seed = LineCipher::seedFor(51155566);
    QCOMPARE(seed, 6554);
    const QByteArray expected =
        "ENCRYPTED DATA DO NOT EDIT\r\n6554\r\n" +
        QByteArray::fromStdString(LineCipher::encipher("[Notes]", 6556)) + "\r\n" +
        QByteArray::fromStdString(LineCipher::encipher("HotKey=1081", 6557)) + "\r\n\r\n";
    QCOMPARE(readBytes(path("Quillbox.ini")), expected);
    LineBuffer lines;
    QVERIFY(store.loadLines(lines));
    QCOMPARE(toList(lines), QByteArrayList({"[Notes]", "HotKey=1081", ""}));
}

void TestIniFileMain::everyByteSurvivesEncipheredSave()
{
    std::string all;
    for (int code = 0; code < 256; ++code) {
        if (code != '\r' && code != '\n')
            all += static_cast<char>(code);
    }
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(true);
    QVERIFY(store.saveLines(LineBuffer{"[S]", "k=" + all}));
    LineBuffer lines;
    QVERIFY(store.loadLines(lines));
    QCOMPARE(toList(lines), QByteArrayList({"[S]", QByteArray::fromStdString("k=" + all)}));
}

void TestIniFileMain::largeEncipheredSaveIsEveryLineInTurn_data()
{
    // Which lines hold bytes the cipher escapes (each such byte takes two in the file).
    QTest::addColumn<int>("escapedEvery");
    QTest::addColumn<int>("escapedFrom");
    QTest::addColumn<int>("escapedTo");

    constexpr int lineCount = 30000;
    QTest::newRow("no escapes") << 1 << 0 << 0;
    QTest::newRow("escapes in the first half") << 7 << 0 << lineCount / 2;
    QTest::newRow("escapes in the second half") << 7 << lineCount / 2 << lineCount;
    QTest::newRow("escapes everywhere") << 3 << 0 << lineCount;
    QTest::newRow("one escape before the middle") << 1 << lineCount / 2 - 1 << lineCount / 2;
}

// A file large enough to be made in parts is still each line enciphered with its key, in turn.
void TestIniFileMain::largeEncipheredSaveIsEveryLineInTurn()
{
    QFETCH(int, escapedEvery);
    QFETCH(int, escapedFrom);
    QFETCH(int, escapedTo);

    LineBuffer lines;
    for (int i = 0; i < 30000; ++i) {
        std::string line = "ItemData(" + std::to_string(i) + ")=line " + std::to_string(i);
        if (i >= escapedFrom && i < escapedTo && i % escapedEvery == 0)
            line += "\xc3\xa9t\xc3\xa9 \xe2\x82\xac";
        lines.push_back(line);
    }
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(true);
    QVERIFY(store.saveLines(lines));

    const int seed = LineCipher::seedFor(51155566);
    std::string expected = "ENCRYPTED DATA DO NOT EDIT\r\n" + std::to_string(seed) + "\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        expected += LineCipher::encipher(lines[i], std::uint32_t(seed) + 2 + std::uint32_t(i));
        expected += "\r\n";
    }
    QVERIFY(readBytes(path("Quillbox.ini")) == QByteArray::fromStdString(expected));
    LineBuffer loaded;
    QVERIFY(store.loadLines(loaded));
    QVERIFY(loaded == lines);
}

void TestIniFileMain::largeFileLoadsWithAnyLineBreaks_data()
{
    QTest::addColumn<bool>("enciphered");
    QTest::addColumn<QByteArrayList>("breaks");
    for (const bool enciphered : {true, false}) {
        const char *form = enciphered ? "enciphered" : "plain";
        QTest::addRow("%s, CR LF", form) << enciphered << QByteArrayList({"\r\n"});
        QTest::addRow("%s, LF", form) << enciphered << QByteArrayList({"\n"});
        QTest::addRow("%s, CR", form) << enciphered << QByteArrayList({"\r"});
        QTest::addRow("%s, every kind in turn", form)
            << enciphered << QByteArrayList({"\r\n", "\n", "\r"});
    }
}

// A large file is taken apart in two halves at once: every line comes back whole, in its place
// and deciphered with its own key, whatever breaks the lines.
void TestIniFileMain::largeFileLoadsWithAnyLineBreaks()
{
    QFETCH(bool, enciphered);
    QFETCH(QByteArrayList, breaks);
    constexpr std::uint32_t seed = 4321;
    LineBuffer lines;
    QByteArray bytes = enciphered ? "ENCRYPTED DATA DO NOT EDIT\r\n4321\r\n" : "";
    for (int i = 0; i < 30000; ++i) {
        std::string line =
            "ItemData(" + std::to_string(i) + ")=" + std::string(std::size_t(i % 23), 'x');
        if (i % 5 == 0)
            line += "\xe2\x82\xac";
        if (i % 7 == 0)
            line.clear();
        lines.push_back(line);
        bytes += QByteArray::fromStdString(
                     enciphered ? LineCipher::encipher(line, seed + 2 + std::uint32_t(i)) : line) +
                 breaks[i % breaks.size()];
    }
    writeBytes(path("Quillbox.ini"), bytes);
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    LineBuffer loaded;
    QVERIFY(store.loadLines(loaded));
    QCOMPARE(loaded.size(), lines.size());
    QVERIFY(loaded == lines);
}

void TestIniFileMain::plainSaveWritesLinesAsGiven()
{
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    QVERIFY(store.saveLines(LineBuffer{"[S]", "k=v", ""}));
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("[S]\r\nk=v\r\n\r\n"));
    QCOMPARE(modeOf(path("Quillbox.ini")), 0600u);
}

void TestIniFileMain::saveRenamesInOrderAndCleansUp()
{
    writeBytes(path("Quillbox.ini"), "old\r\n");
    RecordingFileMain store;
    useFile(store, "Quillbox.ini");
    QVERIFY(store.saveLines(LineBuffer{"new"}));
    QCOMPARE(store.renames,
             QStringList({"Quillbox.ini -> Quillbox.tmp", "$$$$$$$$.tmp -> Quillbox.ini"}));
    QCOMPARE(filesIn(m_dir->path()), QStringList({"Quillbox.ini"}));
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("new\r\n"));
}

void TestIniFileMain::saveUsesNextFreeTempName()
{
    writeBytes(path("$$$$$$$$.tmp"), "someone else's");
    RecordingFileMain store;
    useFile(store, "Quillbox.ini");
    QVERIFY(store.saveLines(LineBuffer{"new"}));
    QCOMPARE(store.renames, QStringList({"$$$$$$$1.tmp -> Quillbox.ini"}));
    QCOMPARE(readBytes(path("$$$$$$$$.tmp")), QByteArray("someone else's"));
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("new\r\n"));
}

void TestIniFileMain::staleTempFilesGoAfterLockedSave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("goes");

    QTest::newRow("first name") << "$$$$$$$$.tmp"
                                << "file" << true;
    QTest::newRow("counter 1") << "$$$$$$$1.tmp"
                               << "file" << true;
    QTest::newRow("counter 12") << "$$$$$$12.tmp"
                                << "file" << true;
    QTest::newRow("counter of seven digits") << "$1234567.tmp"
                                             << "file" << true;
    QTest::newRow("counter of eight digits") << "12345678.tmp"
                                             << "file" << false;
    QTest::newRow("leading zero") << "$$$$$$01.tmp"
                                  << "file" << false;
    QTest::newRow("nine characters") << "$$$$$$$$$.tmp"
                                     << "file" << false;
    QTest::newRow("letter") << "$$$$$$$x.tmp"
                            << "file" << false;
    QTest::newRow("upper-case extension") << "$$$$$$$$.TMP"
                                          << "file" << false;
    QTest::newRow("longer extension") << "$$$$$$$$.tmp1"
                                      << "file" << false;
    QTest::newRow("dollar after digits") << "$$$$$$1$.tmp"
                                         << "file" << false;
    QTest::newRow("folder") << "$$$$$$$2.tmp"
                            << "folder" << false;
    QTest::newRow("link") << "$$$$$$$3.tmp"
                          << "link" << false;
    QTest::newRow("held by a writer") << "$$$$$$$4.tmp"
                                      << "held" << false;
    QTest::newRow("in a sub-folder") << "sub/$$$$$$$$.tmp"
                                     << "file" << false;
}

// A save that crashed leaves its temporary file, a whole copy of the store: the next save
// that holds the lock removes such files, and nothing else.
void TestIniFileMain::staleTempFilesGoAfterLockedSave()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, goes);

    QVERIFY(QDir(m_dir->path()).mkdir("sub"));
    writeBytes(path("kept.txt"), "kept");
    int held = -1;
    if (kind == "folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(name));
    } else if (kind == "link") {
        QVERIFY(QFile::link(path("kept.txt"), path(name)));
    } else {
        writeBytes(path(name), "stale copy");
        if (kind == "held") {
            held = ::open(path(name).toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
            QVERIFY(held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0);
        }
    }
    const auto present = [this, &name] { return QFileInfo(path(name)).exists(); };

    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.writeString("S", "k", "1", false);
    QVERIFY(store.saveLines(LineBuffer{"[S]", "k=0"}));
    QVERIFY(present());
    QVERIFY(store.write());
    if (held >= 0)
        ::close(held);
    QCOMPARE(present(), !goes);
    QCOMPARE(readBytes(path("kept.txt")), QByteArray("kept"));
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("[S]\r\nk=1\r\n\r\n"));
}

void TestIniFileMain::removeFileReleasingLater_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("removed");
    QTest::newRow("file") << "file" << true;
    QTest::newRow("file held open elsewhere") << "held" << true;
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("empty folder") << "folder" << true;
    QTest::newRow("link to a file") << "link" << true;
}

// The name goes at once whatever it names; a link goes and its target stays.
void TestIniFileMain::removeFileReleasingLater()
{
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    const QString name = path("Quillbox.tmp");
    writeBytes(path("target"), "target");
    int held = -1;
    if (kind == "file" || kind == "held")
        writeBytes(name, QByteArray(1 << 20, 'x'));
    if (kind == "held")
        held = ::open(name.toLocal8Bit().constData(), O_RDONLY);
    if (kind == "folder")
        QVERIFY(QDir().mkdir(name));
    if (kind == "link")
        QVERIFY(QFile::link(path("target"), name));
    QCOMPARE(PlatformFile::removeFileReleasingLater(name.toStdString()), removed);
    QVERIFY(!QFileInfo(name).exists() && !QFileInfo(name).isSymLink());
    QCOMPARE(readBytes(path("target")), QByteArray("target"));
    if (held >= 0) {
        char first = 0;
        QCOMPARE(::read(held, &first, 1), ssize_t(1));
        QCOMPARE(first, 'x');
        ::close(held);
    }
    // A second removal waits for the first release and goes the same way.
    writeBytes(name, "again");
    QVERIFY(PlatformFile::removeFileReleasingLater(name.toStdString()));
    QVERIFY(!QFileInfo::exists(name));
}

void TestIniFileMain::saveFailsWhenDataFileCannotMoveAside()
{
    writeBytes(path("Quillbox.ini"), "old\r\n");
    RecordingFileMain store;
    useFile(store, "Quillbox.ini");
    store.failingRename = 1;
    QVERIFY(!store.saveLines(LineBuffer{"new"}));
    QVERIFY(!store.lastError().empty());
    QCOMPARE(store.renames.size(), 1);
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("old\r\n"));
    QCOMPARE(readBytes(path("$$$$$$$$.tmp")), QByteArray("new\r\n"));

    store.failingRename = 0;
    QVERIFY(store.saveLines(LineBuffer{"newer"}));
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("newer\r\n"));
}

void TestIniFileMain::saveFailsWhenTempFileCannotTakeItsPlace()
{
    writeBytes(path("Quillbox.ini"), "old\r\n");
    RecordingFileMain store;
    useFile(store, "Quillbox.ini");
    store.failingRename = 2;
    QVERIFY(!store.saveLines(LineBuffer{"new"}));
    QVERIFY(!QFile::exists(path("Quillbox.ini")));
    QCOMPARE(readBytes(path("Quillbox.tmp")), QByteArray("old\r\n"));
    QCOMPARE(readBytes(path("$$$$$$$$.tmp")), QByteArray("new\r\n"));

    LineBuffer lines;
    QVERIFY(store.loadLines(lines));
    QCOMPARE(toList(lines), QByteArrayList({"old"}));
}

// A save interrupted between its two renames leaves only the side file: a load gives its
// content, and the next save keeps it until the new data file stands in place.
void TestIniFileMain::sideFileIsLoadedAndKeptUntilNewDataFileStands()
{
    writeBytes(path("Quillbox.tmp"), "[S]\r\nold=1\r\n");
    RecordingFileMain store;
    useFile(store, "Quillbox.ini");
    store.read();
    QVERIFY(!store.readFailed());
    QCOMPARE(store.readString("S", "old", false), std::string("1"));
    store.writeString("S", "new", "2", false);
    QVERIFY(store.write());
    QCOMPARE(store.renames, QStringList({"$$$$$$$$.tmp -> Quillbox.ini"}));
    QCOMPARE(store.sideFileAtRename, QStringList({"side"}));
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("[S]\r\nnew=2\r\nold=1\r\n\r\n"));
    QVERIFY(!QFile::exists(path("Quillbox.tmp")));
}

void TestIniFileMain::saveIntoMissingFolderMovesNothing()
{
    IniFileMain store;
    store.setFilename(path("missing/Quillbox.ini").toStdString());
    QVERIFY(!store.saveLines(LineBuffer{"new"}));
    QVERIFY(!store.lastError().empty());
    QCOMPARE(filesIn(m_dir->path()), QStringList());
}

void TestIniFileMain::saveWithoutFilenameFails()
{
    IniFileMain store;
    store.setFilename("   ");
    QVERIFY(!store.saveLines(LineBuffer{"new"}));
}

void TestIniFileMain::lockFileIsPrivateAndRemoved()
{
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    QVERIFY(store.lockFile());
    QVERIFY(store.isLocked());
    QVERIFY(QFile::exists(path("QuillIni.lck")));
    QCOMPARE(modeOf(path("QuillIni.lck")), 0600u);
    store.unlockFile();
    QVERIFY(!store.isLocked());
    QVERIFY(!QFile::exists(path("QuillIni.lck")));
    QCOMPARE(m_delays, 0);
}

// A store that holds the lock is not given it again: the second call fails without a wait
// and leaves the lock as it was, so that unlocking still removes the lock file.
void TestIniFileMain::secondLockOfHolderFailsAtOnce()
{
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    QVERIFY(store.lockFile());
    QVERIFY(!store.lockFile());
    QCOMPARE(m_delays, 0);
    QVERIFY(store.isLocked());
    store.unlockFile();
    QVERIFY(!store.isLocked());
    QVERIFY(!QFile::exists(path("QuillIni.lck")));
    IniFileMain other;
    useFile(other, "Quillbox.ini");
    QVERIFY(other.lockFile());
    other.unlockFile();
}

void TestIniFileMain::lockHeldElsewhereFailsAfterTenWaits()
{
    const QByteArray lockPath = path("QuillIni.lck").toLocal8Bit();
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);

    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.writeString("S", "k", "1", false);
    QVERIFY(!store.lockFile());
    QCOMPARE(m_delays, 10);
    QVERIFY(!store.write());
    QVERIFY(!QFile::exists(path("Quillbox.ini")));

    ::close(fd);
    QVERIFY(store.write());
    QCOMPARE(readBytes(path("Quillbox.ini")), QByteArray("[S]\r\nk=1\r\n\r\n"));
}

void TestIniFileMain::lockHeldByOtherStoreFails()
{
    IniFileMain first;
    IniFileMain second;
    useFile(first, "Quillbox.ini");
    useFile(second, "Quillbox.ini");
    QVERIFY(first.lockFile());
    QVERIFY(!second.lockFile());
    first.unlockFile();
    QVERIFY(second.lockFile());
    second.unlockFile();
}

void TestIniFileMain::deletedLockFileOfOldHolderDoesNotBlock()
{
    const QByteArray lockPath = path("QuillIni.lck").toLocal8Bit();
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    QCOMPARE(::unlink(lockPath.constData()), 0);

    IniFileMain store;
    useFile(store, "Quillbox.ini");
    QVERIFY(store.lockFile());
    QCOMPARE(m_delays, 0);
    store.unlockFile();
    ::close(fd);
}

void TestIniFileMain::lockInMissingFolderFailsAtOnce()
{
    IniFileMain store;
    useFile(store, "missing/Quillbox.ini");
    QVERIFY(!store.lockFile());
    QCOMPARE(m_delays, 0);
    store.read();
    QVERIFY(!store.readFailed());
    QCOMPARE(m_delays, 0);
    QVERIFY(!QFileInfo::exists(path("missing")));
}

void TestIniFileMain::delayRefusesNestedWait()
{
    bool nested = true;
    DelayObject::setHook([&nested](int) {
        nested = DelayObject::delay(100);
        return true;
    });
    QVERIFY(DelayObject::delay(100));
    QVERIFY(!nested);
    QVERIFY(!DelayObject::isWaiting());
    initTestCase();
}

void TestIniFileMain::backupCreatesPrivateFolderAndCopy()
{
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(true);
    store.setBackupDirectory(path("backups").toStdString());
    QVERIFY(store.saveLines(LineBuffer{"[S]", "k=1", ""}));
    QCOMPARE(modeOf(path("backups")), 0700u);
    QCOMPARE(filesIn(path("backups")), QStringList({"Quillbox.000"}));
    QCOMPARE(modeOf(path("backups/Quillbox.000")), 0600u);
    QCOMPARE(readBytes(path("backups/Quillbox.000")), readBytes(path("Quillbox.ini")));
}

void TestIniFileMain::backupNeedsAllowAndFolder()
{
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    QVERIFY(store.saveLines(LineBuffer{"a"}));
    store.setBackupDirectory(path("backups").toStdString());
    store.setAllowBackups(false);
    QVERIFY(store.saveLines(LineBuffer{"b"}));
    QVERIFY(!QFile::exists(path("backups")));
}

void TestIniFileMain::backupRotationDeletesOldestAndTakesLowestFreeNumber()
{
    QVERIFY(QDir(m_dir->path()).mkdir("backups"));
    const int ages[] = {50, 40, 90, 30, 20};
    for (int i = 0; i < 5; ++i) {
        const QString name = path(QString("backups/Quillbox.%1").arg(i, 3, 10, QChar('0')));
        writeBytes(name, QByteArray(100 + i, 'x'));
        setAge(name, ages[i]);
    }
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setBackupDirectory(path("backups/").toStdString());
    QVERIFY(store.saveLines(LineBuffer{"new content"}));
    QCOMPARE(filesIn(path("backups")), QStringList({"Quillbox.000", "Quillbox.001", "Quillbox.002",
                                                    "Quillbox.003", "Quillbox.004"}));
    QCOMPARE(readBytes(path("backups/Quillbox.002")), QByteArray("new content\r\n"));
}

void TestIniFileMain::backupOfSameSizeIsSkippedButOldestStillGoes()
{
    QVERIFY(QDir(m_dir->path()).mkdir("backups"));
    const int ages[] = {50, 40, 90, 30, 20};
    for (int i = 0; i < 5; ++i) {
        const QString name = path(QString("backups/Quillbox.%1").arg(i, 3, 10, QChar('0')));
        writeBytes(name, i == 4 ? QByteArray("same size\r\n") : QByteArray("x"));
        setAge(name, ages[i]);
    }
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setBackupDirectory(path("backups").toStdString());
    QVERIFY(store.saveLines(LineBuffer{"same.size"}));
    QCOMPARE(filesIn(path("backups")),
             QStringList({"Quillbox.000", "Quillbox.001", "Quillbox.003", "Quillbox.004"}));
}

void TestIniFileMain::backupRotationNeverTouchesDataSideOrOtherFiles()
{
    const QStringList others{"Quillbox.001", "Quillbox.chm", "Quillbox.tmp", "Quillbox.1",
                             "Quillbox.0001"};
    for (int i = 0; i < others.size(); ++i) {
        writeBytes(path(others[i]), "other");
        setAge(path(others[i]), 1000 + i);
    }
    for (int i = 2; i <= 6; ++i) {
        const QString name = path(QString("Quillbox.%1").arg(i, 3, 10, QChar('0')));
        writeBytes(name, "backup");
        setAge(name, 100 - i);
    }
    RecordingFileMain store;
    useFile(store, "Quillbox.001");
    store.setBackupDirectory(m_dir->path().toStdString());
    store.failingRename = 2;
    QVERIFY(!store.saveLines(LineBuffer{"kept in temp"}));
    QVERIFY(QFile::exists(path("Quillbox.tmp")));
    store.failingRename = 0;
    store.renames.clear();
    QVERIFY(store.saveLines(LineBuffer{"new"}));
    QCOMPARE(filesIn(m_dir->path()),
             QStringList({"$$$$$$$$.tmp", "Quillbox.000", "Quillbox.0001", "Quillbox.001",
                          "Quillbox.003", "Quillbox.004", "Quillbox.005", "Quillbox.006",
                          "Quillbox.1", "Quillbox.chm"}));
    QCOMPARE(readBytes(path("Quillbox.001")), QByteArray("new\r\n"));
    QCOMPARE(readBytes(path("Quillbox.000")), QByteArray("new\r\n"));
}

void TestIniFileMain::backupOnNearlyFullDiskKeepsEveryBackup_data()
{
    // room: the bytes of the copy that fit; -1: all but the last.
    QTest::addColumn<int>("backups");
    QTest::addColumn<int>("room");
    QTest::newRow("no backup yet") << 0 << 0;
    QTest::newRow("two backups") << 2 << 6;
    QTest::newRow("five backups, no room") << 5 << 0;
    QTest::newRow("five backups, room for a few bytes") << 5 << 6;
    QTest::newRow("five backups, one byte short") << 5 << -1;
}

// The disk takes the new data file but only part of its backup copy: the backups stay as
// they were, none goes and no part of the copy is left.
void TestIniFileMain::backupOnNearlyFullDiskKeepsEveryBackup()
{
    QFETCH(int, backups);
    QFETCH(int, room);
    QVERIFY(QDir(m_dir->path()).mkdir("backups"));
    const int ages[] = {50, 40, 90, 30, 20};
    QMap<QString, QByteArray> before;
    for (int i = 0; i < backups; ++i) {
        const QString name = QString("Quillbox.%1").arg(i, 3, 10, QChar('0'));
        before[name] = "backup " + QByteArray::number(i) + QByteArray(i, '+');
        writeBytes(path("backups/" + name), before[name]);
        setAge(path("backups/" + name), ages[i]);
    }
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setBackupDirectory(path("backups").toStdString());
    const LineBuffer lines{"[Notes]", "Page=the text of sixty bytes, or so", ""};
    const QByteArray content("[Notes]\r\nPage=the text of sixty bytes, or so\r\n\r\n");
    const qsizetype copyRoom = room < 0 ? content.size() - 1 : room;
    PlatformFile::setSpaceLeft(std::uintmax_t(content.size() + copyRoom));
    QVERIFY(store.saveLines(lines));
    QCOMPARE(readBytes(path("Quillbox.ini")), content);

    QStringList names = before.keys();
    QCOMPARE(filesIn(path("backups")), names);
    for (const QString &name : names)
        QCOMPARE(readBytes(path("backups/" + name)), before[name]);

    // With room again, the copy stands and then the oldest goes.
    PlatformFile::setSpaceLeft(std::nullopt);
    QVERIFY(store.saveLines(LineBuffer{"[Notes]", "Page=new", ""}));
    const QByteArray newCopy("[Notes]\r\nPage=new\r\n\r\n");
    if (backups == 5) {
        QCOMPARE(readBytes(path("backups/Quillbox.002")), newCopy);
        QCOMPARE(filesIn(path("backups")), names);
    } else {
        names << QString("Quillbox.%1").arg(backups, 3, 10, QChar('0'));
        QCOMPARE(filesIn(path("backups")), names);
        QCOMPARE(readBytes(path("backups/" + names.last())), newCopy);
    }
}

// A copy that a crash cut short stays under its ".tmp" name, and the next backup removes it.
void TestIniFileMain::backupRemovesPartialCopyOfEarlierBackup()
{
    QVERIFY(QDir(m_dir->path()).mkdir("backups"));
    writeBytes(path("backups/Quillbox.000"), "a whole copy");
    writeBytes(path("backups/Quillbox.001.tmp"), "cut sh");
    writeBytes(path("backups/Quillbox.tmp"), "not a copy");
    writeBytes(path("backups/Other.001.tmp"), "not ours");
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.setBackupDirectory(path("backups").toStdString());
    QVERIFY(store.saveLines(LineBuffer{"new"}));
    QCOMPARE(filesIn(path("backups")),
             QStringList({"Other.001.tmp", "Quillbox.000", "Quillbox.001", "Quillbox.tmp"}));
    QCOMPARE(readBytes(path("backups/Quillbox.001")), QByteArray("new\r\n"));
}

void TestIniFileMain::writeMergesWithAnotherWriter()
{
    IniFileMain mine;
    IniFileMain theirs;
    useFile(mine, "Quillbox.ini");
    useFile(theirs, "Quillbox.ini");
    mine.setEncrypt(true);
    theirs.writeString("Notes", "Theirs", "1", false);
    theirs.writeString("Notes", "Shared", "theirs", false);
    QVERIFY(theirs.write());
    mine.read();
    mine.writeString("Notes", "Shared", "mine", false);
    theirs.writeString("Notes", "Theirs", "2", false);
    QVERIFY(theirs.write());
    QVERIFY(mine.write());

    IniFileMain reader;
    useFile(reader, "Quillbox.ini");
    reader.read();
    QCOMPARE(reader.readString("Notes", "Theirs", false), std::string("2"));
    QCOMPARE(reader.readString("Notes", "Shared", false), std::string("mine"));
    QVERIFY(readBytes(path("Quillbox.ini")).startsWith("ENCRYPTED DATA DO NOT EDIT\r\n"));
    QCOMPARE(filesIn(m_dir->path()), QStringList({"Quillbox.ini"}));
}

void TestIniFileMain::writeMergesWithChangeBetweenTwoOfOurs_data()
{
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("enciphered, another store's save") << true << false;
    QTest::newRow("plain, another store's save") << false << false;
    // The same file, the same size and the same modification time: only its bytes differ.
    QTest::newRow("plain, rewritten in place with its old time") << false << true;
}

// Another writer's change lands between two saves of ours and leaves the file at the same
// size; our second save still keeps what it wrote.
void TestIniFileMain::writeMergesWithChangeBetweenTwoOfOurs()
{
    QFETCH(bool, encrypt);
    QFETCH(bool, inPlace);
    IniFileMain mine;
    IniFileMain theirs;
    useFile(mine, "Quillbox.ini");
    useFile(theirs, "Quillbox.ini");
    mine.setEncrypt(encrypt);
    theirs.setEncrypt(encrypt);
    theirs.writeString("Notes", "Theirs", "1", false);
    QVERIFY(theirs.write());
    mine.read();
    mine.writeString("Notes", "Mine", "1", false);
    QVERIFY(mine.write());

    const QString file = path("Quillbox.ini");
    const QByteArray before = readBytes(file);
    if (inPlace) {
        const auto time = fs::last_write_time(file.toStdString());
        QByteArray changed = before;
        changed.replace("Theirs=1", "Theirs=2");
        writeBytes(file, changed);
        fs::last_write_time(file.toStdString(), time);
    } else {
        theirs.read();
        theirs.writeString("Notes", "Theirs", "2", false);
        QVERIFY(theirs.write());
    }
    QVERIFY(readBytes(file) != before);
    QCOMPARE(readBytes(file).size(), before.size());

    mine.writeString("Notes", "Mine", "2", false);
    QVERIFY(mine.write());
    IniFileMain reader;
    useFile(reader, "Quillbox.ini");
    reader.read();
    QCOMPARE(reader.readString("Notes", "Theirs", false), std::string("2"));
    QCOMPARE(reader.readString("Notes", "Mine", false), std::string("2"));
}

void TestIniFileMain::sameSizeChangeAfterOwnSaveIsFound_data()
{
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<int>("keys");
    QTest::addColumn<double>("where");
    // Enough keys for a content made in two halves when enciphered.
    const int many = 12000;
    for (const bool encrypt : {false, true}) {
        const char *form = encrypt ? "enciphered" : "plain";
        for (const int keys : {3, many}) {
            const char *size = keys == many ? "large" : "small";
            QTest::addRow("%s %s, first byte", form, size) << encrypt << keys << 0.0;
            QTest::addRow("%s %s, middle", form, size) << encrypt << keys << 0.5;
            QTest::addRow("%s %s, three quarters in", form, size) << encrypt << keys << 0.75;
            QTest::addRow("%s %s, last line", form, size) << encrypt << keys << 1.0;
        }
    }
}

// After a save of its own the store knows the file unchanged without loading it, and still
// finds one changed byte that leaves the size as it was, wherever it lies.
void TestIniFileMain::sameSizeChangeAfterOwnSaveIsFound()
{
    QFETCH(bool, encrypt);
    QFETCH(int, keys);
    QFETCH(double, where);
    CountingFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(encrypt);
    store.read();
    for (int i = 0; i < keys; ++i)
        store.writeString("Notes", "Key" + std::to_string(i), "value " + std::to_string(i), false);
    QVERIFY(store.write());
    QVERIFY(!store.fileChanged());
    const int loads = store.loads;
    store.writeString("Notes", "Key0", "again", false);
    QVERIFY(store.write());
    QVERIFY(!store.fileChanged());
    QCOMPARE(store.loads, loads);

    const QString file = path("Quillbox.ini");
    QByteArray bytes = readBytes(file);
    // The last line ends the file with its CR LF; the byte changed is never one of a line end.
    auto at = static_cast<qsizetype>(where * double(bytes.size() - 3));
    while (bytes[at] == '\r' || bytes[at] == '\n')
        --at;
    bytes[at] = bytes[at] == 'A' ? 'B' : 'A';
    writeBytes(file, bytes);
    QCOMPARE(readBytes(file).size(), bytes.size());
    QVERIFY(store.fileChanged());
}

// A file that still holds what this store read or saved is merged without loading it again.
void TestIniFileMain::writeAfterOwnReadOrSaveLoadsOnlyChangedFile()
{
    writeBytes(path("Quillbox.ini"), "[S]\r\nk=1\r\n");
    CountingFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(true);
    int outsideChanges = 0;
    store.setOnOutsideChange(
        [&outsideChanges](const LineBuffer &, const LineBuffer &) { ++outsideChanges; });
    store.read();
    QCOMPARE(store.loads, 1);
    store.writeString("S", "k", "2", false);
    QVERIFY(store.write());
    store.writeString("S", "k", "3", false);
    QVERIFY(store.write());
    QCOMPARE(store.loads, 1);
    QCOMPARE(outsideChanges, 0);
    QVERIFY(!store.mergedOutsideChange());

    IniFileMain other;
    useFile(other, "Quillbox.ini");
    other.writeString("S", "other", "1", false);
    QVERIFY(other.write());
    QVERIFY(store.write());
    QCOMPARE(store.loads, 2);
    QCOMPARE(outsideChanges, 1);
    QVERIFY(store.mergedOutsideChange());
    // A load of its own outside a write is not taken for the file's content either.
    LineBuffer lines;
    QVERIFY(store.loadLines(lines));
    QVERIFY(store.write());
    QCOMPARE(store.loads, 4);

    IniFileMain reader;
    useFile(reader, "Quillbox.ini");
    reader.read();
    QCOMPARE(reader.readString("S", "k", false), std::string("3"));
    QCOMPARE(reader.readString("S", "other", false), std::string("1"));
}

// The texts of entries replaced by later writes are given back: a list written again and again
// holds at most about twice what it holds, and the keys the store never touched and another
// writer's change come through every merge.
void TestIniFileMain::listRewrittenOftenKeepsItsMemory()
{
    writeBytes(path("Quillbox.ini"), "[Other]\r\nkept=1\r\n");
    CountingFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(true);
    store.read();
    constexpr int rounds = 60;
    for (int round = 0; round < rounds; ++round) {
        const char letter = static_cast<char>('a' + round % 26);
        store.writeSection("List", 2000, [letter](std::size_t i, std::string &text) {
            text.append("ItemData(" + std::to_string(i + 1) + ")=").append(100, letter);
        });
        if (round == rounds / 2) {
            IniFileMain other;
            useFile(other, "Quillbox.ini");
            other.writeString("Other", "added", "2", false);
            QVERIFY(other.write());
        }
        QVERIFY(store.write());
        const QString beyond = keptBeyond(store.entries(), twiceHeld(store.entries()));
        QVERIFY2(beyond.isEmpty(), qPrintable(QStringLiteral("round %1: ").arg(round) + beyond));
    }
    QCOMPARE(store.loads, 2);

    IniFileMain reader;
    useFile(reader, "Quillbox.ini");
    reader.read();
    QCOMPARE(reader.readString("Other", "kept", false), std::string("1"));
    QCOMPARE(reader.readString("Other", "added", false), std::string("2"));
    QCOMPARE(reader.readString("List", "ItemData(2000)", false),
             std::string(100, static_cast<char>('a' + (rounds - 1) % 26)));
    QCOMPARE(reader.keysOfSection("List").size(), std::size_t(2000));
}

// One list among many, saved again and again as a keystroke save does: the memory of its
// replaced texts goes back long before the replaced texts could outweigh the rest.
void TestIniFileMain::onePageSavedOftenFreesWhatItReplaced()
{
    CountingFileMain store;
    useFile(store, "Quillbox.ini");
    store.setEncrypt(true);
    store.read();
    const auto writeList = [&store](int page, int round) {
        store.writeSection("Page" + std::to_string(page), 2000,
                           [round](std::size_t i, std::string &text) {
                               text.append("ItemData(" + std::to_string(i + 1) + ")=round ")
                                   .append(std::to_string(round))
                                   .append(60, 'x');
                           });
    };
    for (int page = 0; page < 30; ++page)
        writeList(page, 0);
    QVERIFY(store.write());
    for (int round = 1; round <= 100; ++round) {
        writeList(7, round);
        store.writeString("Settings", "Round", std::to_string(round), false);
        QVERIFY(store.write());
        const std::size_t held = store.entries().entryBytes();
        const QString beyond = keptBeyond(store.entries(), held + held / 4 + 2 * 1024 * 1024);
        QVERIFY2(beyond.isEmpty(), qPrintable(QStringLiteral("round %1: ").arg(round) + beyond));
    }
    IniFileMain reader;
    useFile(reader, "Quillbox.ini");
    reader.read();
    QCOMPARE(reader.readString("Page7", "ItemData(1)", false), "round 100" + std::string(60, 'x'));
    QCOMPARE(reader.readString("Page8", "ItemData(1)", false), "round 0" + std::string(60, 'x'));
}

void TestIniFileMain::unreadableFileBlocksWrites_data()
{
    // The data file's bytes; a folder stands in its place when empty.
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("folder in the file's place") << QByteArray();
    QTest::newRow("user-block marker that is no number") << QByteArray("[S]\r\nk=1\r\n[**x]\r\n");
}

// Every refused write says why, as the failed read did.
void TestIniFileMain::unreadableFileBlocksWrites()
{
    QFETCH(QByteArray, bytes);
    if (bytes.isEmpty())
        QVERIFY(QDir(m_dir->path()).mkdir("Quillbox.ini"));
    else
        writeBytes(path("Quillbox.ini"), bytes);
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.read();
    QVERIFY(store.readFailed());
    QVERIFY(!store.lastError().empty());
    store.writeString("S", "k", "1", false);
    QVERIFY(!store.write());
    QVERIFY(!store.lastError().empty());
    QVERIFY(!store.write());
    QVERIFY(!store.lastError().empty());
    if (bytes.isEmpty())
        QVERIFY(QFileInfo(path("Quillbox.ini")).isDir());
    else
        QCOMPARE(readBytes(path("Quillbox.ini")), bytes);
    QVERIFY(!QFile::exists(path("QuillIni.lck")));
}

void TestIniFileMain::writeAbandonedWhenReloadFails()
{
    writeBytes(path("Quillbox.ini"), "[S]\r\nk=1\r\n");
    IniFileMain store;
    useFile(store, "Quillbox.ini");
    store.read();
    store.writeString("S", "k", "2", false);
    QVERIFY(QFile::remove(path("Quillbox.ini")));
    QVERIFY(QDir(m_dir->path()).mkdir("Quillbox.ini"));
    QVERIFY(!store.write());
    QVERIFY(QFileInfo(path("Quillbox.ini")).isDir());
    QVERIFY(!QFile::exists(path("QuillIni.lck")));
}

QTEST_GUILESS_MAIN(TestIniFileMain)
#include "tst_inifilemain.moc"
