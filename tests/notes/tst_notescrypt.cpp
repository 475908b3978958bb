#include "crypt/pagecipher.h"
#include "inistore/inifilemain.h"
#include "inistore/inivarlinker.h"
#include "notes/notesstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <map>

namespace {

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// The lines of the file as this program's store deciphers them.
QStringList decodedLines(const QString &path)
{
    IniFileMain file;
    file.setFilename(localPath(path));
    LineBuffer lines;
    if (!file.loadLines(lines))
        return {};
    QStringList decoded;
    for (const std::string_view line : lines)
        decoded.append(QString::fromUtf8(line.data(), qsizetype(line.size())));
    return decoded;
}

// One value of the file, as this program's store reads it.
std::string storedValue(const QString &path, const char *section, const std::string &key)
{
    IniFileMain file;
    file.setFilename(localPath(path));
    file.read();
    return file.readString(section, key, false);
}

std::vector<std::string> storedList(const QString &path, const std::string &key)
{
    IniFileMain file;
    file.setFilename(localPath(path));
    file.setDefaultSection("Notes");
    std::vector<std::string> list;
    IniVarLinker linker;
    linker.setOnIniReadWrite([&](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
        sender.linkObjToIni("", key, &list);
    });
    linker.setIniMain(&file);
    file.read();
    return list;
}

// A copy of the program from before pages could be encrypted: its handler links the keys it
// knew, in their order and forms, and nothing of the Crypt keys. Whatever it reads it writes
// back.
class OlderCopy
{
public:
    explicit OlderCopy(const QString &path)
    {
        m_file.setFilename(localPath(path));
        m_file.setDefaultSection("Notes");
        m_file.setAllowBackups(false);
        m_linker.setOnIniReadWrite(
            [this](IniVarLinker &linker, IniVarLinker::VarLinkMode) { link(linker); });
        m_linker.setIniMain(&m_file);
    }

    void read() { m_file.read(); }
    bool write()
    {
        m_file.setEncrypt(true);
        return m_file.write();
    }

    std::vector<std::string> &pageLines(std::size_t index) { return m_pages[index]; }

private:
    void link(IniVarLinker &linker)
    {
        linker.linkIntToIni("", "HotKey", m_hotKey);
        linker.linkObjToIni("", "TabNames", &m_names);
        for (const char *key : {"AutoMini", "AutoBackup", "TrayIcon", "Wraptext", "HidedoesPW"})
            linkBytes(linker, key, 1);
        linker.linkStrToIni("", "BackupDir", m_strings["BackupDir"]);
        linker.linkStrToIni("", "Colors", m_strings["Colors"]);
        linkBytes(linker, "User1", 1);
        linkBytes(linker, "User2", 31);
        linkBytes(linker, "Lastbackup", 8);
        linkBytes(linker, "Gutter", 1);
        linker.linkObjToIni("", "Keywords", &m_keywords);
        for (const char *key : {"Color", "ColorBk", "ColorN", "ColorNBk", "ColorK", "ColorKBk"})
            linkBytes(linker, key, 4);
        if (linker.mode() == IniVarLinker::vlRead)
            m_pages.assign(m_names.size(), {});
        for (std::size_t i = 0; i < m_names.size(); ++i) {
            const std::string n = std::to_string(i);
            for (const char *key : {"Posnx", "Posny", "Posn"})
                linker.linkIntToIni("Positions", key + n, m_ints[key + n]);
            linker.linkIntToIni("Topline", "Topl" + n, m_ints["Topl" + n]);
            linkBytes(linker, "Seld" + n, 1);
            linker.linkObjToIni("", "Page" + n, &m_pages[i]);
        }
    }

    void linkBytes(IniVarLinker &linker, const std::string &key, std::uint16_t size)
    {
        std::vector<unsigned char> &bytes = m_bytes[key];
        bytes.resize(size);
        linker.linkVarToIni("", key, bytes.data(), size);
    }

    IniFileMain m_file;
    IniVarLinker m_linker;
    std::int32_t m_hotKey = -1;
    std::vector<std::string> m_names;
    std::vector<std::string> m_keywords;
    std::vector<std::vector<std::string>> m_pages;
    std::map<std::string, std::vector<unsigned char>> m_bytes;
    std::map<std::string, std::string> m_strings;
    std::map<std::string, std::int32_t> m_ints;
};

const PageCipher::Params fastParams{1, 8192};
const QByteArray salt = QByteArray::fromHex("00FF10203040506070809AABBCCDDEEF");
const QString password = QStringLiteral("Tr0ub4dor&3");
const QStringList secretText = {QStringLiteral("bank pin 4711"),
                                QStringLiteral("mail: me@example.org pw: höhle-42")};

StoredPage page(const QString &name, const QStringList &lines, bool isProtected)
{
    StoredPage stored{name, {}};
    stored.record.lines = lines;
    stored.record.isProtected = isProtected;
    return stored;
}

// Settings as the window side keeps them with encryption on: the password only in memory.
NotesSettings encryptedSettings(const CryptKey &key)
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = password;
    settings.encryptProtected = true;
    settings.cryptSalt = salt;
    settings.cryptParams = PageCipher::paramsText(fastParams);
    settings.cryptCheck = PageCipher::makeCheck(key);
    return settings;
}

} // namespace

class NotesCryptTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void cryptKeysRoundTrip();
    void cryptKeysWrittenForm();
    void fileWithoutCryptKeysReadsOff_data();
    void fileWithoutCryptKeysReadsOff();
    void damagedSaltIsNotRead_data();
    void damagedSaltIsNotRead();
    void passwordIsNotInTheFile_data();
    void passwordIsNotInTheFile();
    void sealedPageRoundTripsByteForByte();
    void olderCopyKeepsCiphertextAndCryptKeys();

private:
    QString notesPath() const { return m_dir->filePath(QStringLiteral("Quillbox.ini")); }
    bool writeNotes(NotesSettings settings, const QList<StoredPage> &pages);
    bool readNotes(NotesSettings &settings, QList<StoredPage> &pages);

    std::unique_ptr<QTemporaryDir> m_dir;
    CryptKey m_key;
};

void NotesCryptTest::initTestCase()
{
    QVERIFY(PageCipher::initialize());
    m_key = PageCipher::deriveKey(password, salt, fastParams);
    QVERIFY(m_key.isValid());
}

void NotesCryptTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

bool NotesCryptTest::writeNotes(NotesSettings settings, const QList<StoredPage> &pages)
{
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    return store.write(settings, pages, true);
}

bool NotesCryptTest::readNotes(NotesSettings &settings, QList<StoredPage> &pages)
{
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    return store.read(settings, pages);
}

void NotesCryptTest::cryptKeysRoundTrip()
{
    const NotesSettings written = encryptedSettings(m_key);
    QVERIFY(writeNotes(written, {page(QStringLiteral("A"), {QStringLiteral("a")}, false)}));
    NotesSettings read;
    QList<StoredPage> pages;
    QVERIFY(readNotes(read, pages));
    QCOMPARE(read.encryptProtected, true);
    QCOMPARE(read.cryptSalt, salt);
    QCOMPARE(read.cryptParams, written.cryptParams);
    QCOMPARE(read.cryptCheck, written.cryptCheck);
    QVERIFY(PageCipher::checkMatches(m_key, read.cryptCheck));
    QCOMPARE(read.securityEnabled, true);
    QCOMPARE(read.passwordText, QString());

    // Turned off again, the file says so and holds the password as before.
    NotesSettings off = read;
    off.encryptProtected = false;
    off.passwordText = password;
    QVERIFY(writeNotes(off, pages));
    NotesSettings readOff;
    QVERIFY(readNotes(readOff, pages));
    QCOMPARE(readOff.encryptProtected, false);
    QCOMPARE(readOff.passwordText, password);
}

void NotesCryptTest::cryptKeysWrittenForm()
{
    const NotesSettings settings = encryptedSettings(m_key);
    QVERIFY(writeNotes(settings, {}));
    QCOMPARE(storedValue(notesPath(), "Notes", "Crypt"), std::string("01"));
    QCOMPARE(storedValue(notesPath(), "Notes", "CryptSalt"),
             std::string("00FF10203040506070809AABBCCDDEEF"));
    QCOMPARE(storedValue(notesPath(), "Notes", "CryptParams"), std::string("argon2id,1,8192"));
    QCOMPARE(storedValue(notesPath(), "Notes", "CryptCheck"), settings.cryptCheck.toStdString());

    QVERIFY(writeNotes(NotesSettings(), {}));
    QCOMPARE(storedValue(notesPath(), "Notes", "Crypt"), std::string("00"));
}

void NotesCryptTest::fileWithoutCryptKeysReadsOff_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("plain") << QStringLiteral("vectors/notes-old-plain.ini");
    QTest::newRow("enciphered") << QStringLiteral("vectors/notes-old-enciphered.ini");
    QTest::newRow("this program's plain file") << QStringLiteral("notes/plain-notes.ini");
}

void NotesCryptTest::fileWithoutCryptKeysReadsOff()
{
    QFETCH(QString, fixture);
    QVERIFY(QFile::copy(qEnvironmentVariable("QUILLBOX_TEST_DATA") + u'/' + fixture, notesPath()));
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(readNotes(settings, pages));
    QCOMPARE(settings.encryptProtected, false);
    QCOMPARE(settings.cryptSalt, QByteArray());
    QCOMPARE(settings.cryptParams, QString());
    QCOMPARE(settings.cryptCheck, QString());
    QVERIFY(!settings.passwordText.isEmpty());
}

void NotesCryptTest::damagedSaltIsNotRead_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("odd digit count") << QByteArray("00FF1");
    QTest::newRow("not hexadecimal") << QByteArray("00FG");
    QTest::newRow("blank inside") << QByteArray("00 FF");
}

void NotesCryptTest::damagedSaltIsNotRead()
{
    QFETCH(QByteArray, stored);
    QFile file(notesPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Notes]\r\nCrypt=01\r\nCryptSalt=" + stored + "\r\n");
    file.close();
    NotesSettings settings;
    settings.cryptSalt = salt;
    QList<StoredPage> pages;
    QVERIFY(readNotes(settings, pages));
    QCOMPARE(settings.encryptProtected, true);
    QCOMPARE(settings.cryptSalt, salt);
}

void NotesCryptTest::passwordIsNotInTheFile_data()
{
    QTest::addColumn<bool>("encrypted");
    QTest::newRow("scrambled only") << false;
    QTest::newRow("encrypted") << true;
}

void NotesCryptTest::passwordIsNotInTheFile()
{
    QFETCH(bool, encrypted);
    NotesSettings settings = encryptedSettings(m_key);
    settings.encryptProtected = encrypted;
    QList<StoredPage> pages{page(QStringLiteral("Open"), {QStringLiteral("shopping list")}, false),
                            page(QStringLiteral("Secret"), secretText, true)};
    if (encrypted)
        pages[1].record.lines = PageCipher::seal(m_key, secretText);
    QVERIFY(writeNotes(settings, pages));

    const QString decoded = decodedLines(notesPath()).join(u'\n');
    QVERIFY(decoded.contains(QStringLiteral("shopping list")));
    const std::string user2 = storedValue(notesPath(), "Notes", "User2");
    QCOMPARE(user2.size(), std::size_t(62));
    const QString passwordHex = QString::fromLatin1(password.toUtf8().toHex().toUpper());
    if (!encrypted) {
        // The scrambled form holds all of it: what the encrypted form must not.
        QVERIFY(user2 != std::string(62, '0'));
        QVERIFY(decoded.contains(passwordHex));
        QVERIFY(decoded.contains(secretText[0]));
        return;
    }
    QCOMPARE(user2, std::string(62, '0'));
    QVERIFY(!decoded.contains(password));
    QVERIFY(!decoded.contains(passwordHex));
    QVERIFY(!decoded.contains(passwordHex.toLower()));
    for (const QString &line : secretText)
        QVERIFY(!decoded.contains(line));
    QVERIFY(!decoded.contains(QStringLiteral("4711")));
}

void NotesCryptTest::sealedPageRoundTripsByteForByte()
{
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(QStringLiteral("row %1 with ümlauts and #hash = sign").arg(i));
    const QStringList sealedSmall = PageCipher::seal(m_key, secretText);
    const QStringList sealedLarge = PageCipher::seal(m_key, many);
    QList<StoredPage> pages{page(QStringLiteral("Open"), {QStringLiteral("x")}, false),
                            page(QStringLiteral("Small"), sealedSmall, true),
                            page(QStringLiteral("Large"), sealedLarge, true)};
    QVERIFY(writeNotes(encryptedSettings(m_key), pages));

    NotesSettings settings;
    QList<StoredPage> read;
    QVERIFY(readNotes(settings, read));
    QCOMPARE(read.size(), 3);
    QCOMPARE(read[1].record.lines, sealedSmall);
    QCOMPARE(read[2].record.lines, sealedLarge);
    QVERIFY(read[1].record.isProtected);
    std::vector<std::string> expected;
    for (const QString &line : sealedLarge)
        expected.push_back(line.toStdString());
    QCOMPARE(storedList(notesPath(), "Page2"), expected);
    QCOMPARE(PageCipher::open(m_key, read[1].record.lines), std::optional<QStringList>(secretText));
    QCOMPARE(PageCipher::open(m_key, read[2].record.lines), std::optional<QStringList>(many));
}

void NotesCryptTest::olderCopyKeepsCiphertextAndCryptKeys()
{
    const NotesSettings written = encryptedSettings(m_key);
    const QStringList sealed = PageCipher::seal(m_key, secretText);
    QVERIFY(writeNotes(written, {page(QStringLiteral("Open"), {QStringLiteral("x")}, false),
                                 page(QStringLiteral("Secret"), sealed, true)}));

    // The older copy reads, the user edits the open page there, it saves.
    OlderCopy older(notesPath());
    older.read();
    QCOMPARE(older.pageLines(0), std::vector<std::string>{"x"});
    older.pageLines(0) = {"x", "typed in the older copy"};
    QVERIFY(older.write());

    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(readNotes(settings, pages));
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages[0].record.lines,
             (QStringList{QStringLiteral("x"), QStringLiteral("typed in the older copy")}));
    QCOMPARE(pages[1].record.lines, sealed);
    QVERIFY(pages[1].record.isProtected);
    QCOMPARE(settings.encryptProtected, true);
    QCOMPARE(settings.cryptSalt, written.cryptSalt);
    QCOMPARE(settings.cryptParams, written.cryptParams);
    QCOMPARE(settings.cryptCheck, written.cryptCheck);
    QCOMPARE(storedValue(notesPath(), "Notes", "User2"), std::string(62, '0'));
    QCOMPARE(PageCipher::open(m_key, pages[1].record.lines),
             std::optional<QStringList>(secretText));
}

QTEST_GUILESS_MAIN(NotesCryptTest)
#include "tst_notescrypt.moc"
