#include "inistore/delayobject.h"
#include "inistore/inifilemain.h"
#include "notes/notesdatetime.h"
#include "notes/noteslayout.h"
#include "notes/notespassword.h"
#include "notes/notesstore.h"
#include "storedpagestext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>
#include <filesystem>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using StoredPagesText::pageTexts;
using StoredPagesText::readBack;

namespace {

class FakeWindow : public BoundsWindow
{
public:
    QString objectName() const override { return QStringLiteral("FmMain"); }
    QString boundsValue() const override { return value; }
    void applyBoundsValue(const QString &stored) override
    {
        applied = stored;
        if (watchedPages)
            pagesWhenApplied = watchedPages->size();
    }

    QString value = QStringLiteral("249,109,666,577,0");
    QString applied;
    const QList<StoredPage> *watchedPages = nullptr;
    qsizetype pagesWhenApplied = -1;
};

QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, 0));
}

StoredPage page(const QString &name, const QStringList &lines, bool isProtected = false)
{
    StoredPage stored{name, {}};
    stored.record.lines = lines;
    stored.record.isProtected = isProtected;
    return stored;
}

QList<StoredPage> pagesNamed(const QStringList &names)
{
    QList<StoredPage> pages;
    for (const QString &name : names)
        pages.append(page(name, {name + QStringLiteral(" text")}));
    return pages;
}

NotesSettings customSettings()
{
    NotesSettings settings;
    settings.hotKeyCode = 2065;
    settings.startHidden = true;
    settings.backupNotes = false;
    settings.showTrayIcon = false;
    settings.wrapText = true;
    settings.hideDisablesPassword = true;
    settings.backupFolder = QStringLiteral("/tmp/Säkerung #1");
    settings.customColors = QStringLiteral("ColorA=FFFFFF\r\nColorB=00FF00");
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("pässwörd🙂");
    settings.gutterVisible = false;
    settings.keywords = {QStringLiteral("LOGIN"), QStringLiteral("KÜNDIGUNG")};
    settings.textColor = QColor(0x10, 0x20, 0x30);
    settings.backgroundColor = QColor();
    settings.numberColor = QColor(Qt::green);
    settings.numberBackground = QColor(0x40, 0x40, 0x40);
    settings.keyColor = QColor(Qt::magenta);
    settings.keyBackground = QColor();
    settings.clipClearSecs = 0;
    settings.clipClearAll = true;
    return settings;
}

void compareSettings(const NotesSettings &actual, const NotesSettings &expected)
{
    QCOMPARE(actual.hotKeyCode, expected.hotKeyCode);
    QCOMPARE(actual.startHidden, expected.startHidden);
    QCOMPARE(actual.backupNotes, expected.backupNotes);
    QCOMPARE(actual.showTrayIcon, expected.showTrayIcon);
    QCOMPARE(actual.wrapText, expected.wrapText);
    QCOMPARE(actual.hideDisablesPassword, expected.hideDisablesPassword);
    QCOMPARE(actual.backupFolder, expected.backupFolder);
    QCOMPARE(actual.customColors, expected.customColors);
    QCOMPARE(actual.securityEnabled, expected.securityEnabled);
    QCOMPARE(actual.passwordText, expected.passwordText);
    QCOMPARE(actual.lastBackup, expected.lastBackup);
    QCOMPARE(actual.gutterVisible, expected.gutterVisible);
    QCOMPARE(actual.keywords, expected.keywords);
    QCOMPARE(actual.textColor, expected.textColor);
    QCOMPARE(actual.backgroundColor, expected.backgroundColor);
    QCOMPARE(actual.numberColor, expected.numberColor);
    QCOMPARE(actual.numberBackground, expected.numberBackground);
    QCOMPARE(actual.keyColor, expected.keyColor);
    QCOMPARE(actual.keyBackground, expected.keyBackground);
    QCOMPARE(actual.clipClearSecs, expected.clipClearSecs);
    QCOMPARE(actual.clipClearAll, expected.clipClearAll);
}

void comparePages(const QList<StoredPage> &actual, const QList<StoredPage> &expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        const PageRecord &a = actual[i].record;
        const PageRecord &e = expected[i].record;
        QCOMPARE(actual[i].name, expected[i].name);
        QCOMPARE(a.lines, e.lines);
        QCOMPARE(a.selStart, e.selStart);
        QCOMPARE(a.caretX, e.caretX);
        QCOMPARE(a.caretY, e.caretY);
        QCOMPARE(a.selLength, 0);
        QCOMPARE(a.topLine, e.topLine);
        QCOMPARE(a.isProtected, e.isProtected);
    }
}

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// The file as this program's store sees it, through a store of its own.
class StoredFile
{
public:
    explicit StoredFile(const QString &path)
    {
        m_file.setFilename(localPath(path));
        m_file.read();
    }

    std::string value(const char *section, const std::string &key)
    {
        return m_file.readString(section, key, false);
    }
    bool hasKey(const char *section, const std::string &key) const
    {
        for (const std::string &stored : m_file.keysOfSection(section)) {
            if (QString::fromStdString(stored).compare(QString::fromStdString(key),
                                                       Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

private:
    IniFileMain m_file;
};

// File permissions keep this process out (they do not keep the superuser out).
bool permissionsApply()
{
#ifdef Q_OS_UNIX
    return ::geteuid() != 0;
#else
    return false;
#endif
}

QByteArray firstLineOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readLine().trimmed();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class NotesStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void roundTrip();
    void writtenForm_data();
    void writtenForm();
    void windowBoundsComeFirst();
    void plainFileReads();
    void oldFilesRead_data();
    void oldFilesRead();
    void clipboardKeys_data();
    void clipboardKeys();
    void textBeyondLatin1Survives();
    void passwordIsStoredIn31Bytes();
    void namesWithoutPageSectionsGiveEmptyPages();
    void defaultPages_data();
    void defaultPages();
    void damagedListsKeepTheirStoredLines_data();
    void damagedListsKeepTheirStoredLines();
    void keysOfDeletedPagesStayButAreNotRead();
    void trailingBlanksOfLinesAreLost();
    void lineBreaksInsideValuesStayInside();
    void backupAtMostOnceADay();
    void saveWithoutEditedTextMakesNoBackup();
    void unreadableFileBlocksWrites_data();
    void unreadableFileBlocksWrites();
    void unwritableFolderFails_data();
    void unwritableFolderFails();
    void missingFolderIsCreatedPrivately();
    void readFromMissingFolderDoesNotWait();
    void twoCopiesEditingDifferentPagesKeepBoth();
    void twoCopiesEditingOnePageKeepBothTexts();
    void pagesAddedElsewhereKeepThisCopysEdits();
    void editedPageDeletedElsewhereIsKept();
    void settingsMergeByKey();
    void unchangedFileReportsNoOutsideChange();
    void takeOutsideChangeSeesEveryRewrite_data();
    void takeOutsideChangeSeesEveryRewrite();

private:
    QString notesPath() const { return m_dir->filePath(QStringLiteral("Quillbox.ini")); }
    QString copyFixture(const QString &relativePath);
    bool writePlain(const QByteArray &content);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void NotesStoreTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString NotesStoreTest::copyFixture(const QString &relativePath)
{
    const QString source = qEnvironmentVariable("QUILLBOX_TEST_DATA") + u'/' + relativePath;
    if (!QFile::copy(source, notesPath()))
        return {};
    QFile::setPermissions(notesPath(), QFile::ReadOwner | QFile::WriteOwner);
    return notesPath();
}

bool NotesStoreTest::writePlain(const QByteArray &content)
{
    QFile file(notesPath());
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

void NotesStoreTest::roundTrip()
{
    FakeWindow window;
    window.value = QStringLiteral("100,50,600,400,1");
    NotesStore store(&window);
    store.setFileName(notesPath());
    QCOMPARE(store.fileName(), notesPath());
    NotesSettings settings = customSettings();
    QList<StoredPage> pages;
    pages.append(page(QStringLiteral("Reminders"),
                      {QStringLiteral("call #5"), QString(), QStringLiteral("\tindented")}));
    pages.append(page(QStringLiteral("Passwords"), {QStringLiteral("pw: S3cr3t!")}, true));
    pages.append(page(QStringLiteral("Empty"), {}));
    pages[0].record.selStart = 12;
    pages[0].record.caretX = 3;
    pages[0].record.caretY = 2;
    pages[0].record.topLine = 2;
    pages[0].record.selLength = 4;
    pages[1].record.caretX = 1;
    pages[1].record.caretY = 1;
    pages[1].record.topLine = 1;

    QVERIFY(store.write(settings, pages, true, at(2, 10)));
    QCOMPARE(store.lastError(), QString());
    QCOMPARE(settings.lastBackup, NotesDateTime::toValue(at(2, 10)));
    QCOMPARE(firstLineOf(notesPath()), QByteArray(IniFileMain::encryptedMarker));

    FakeWindow readWindow;
    NotesStore reader(&readWindow);
    reader.setFileName(notesPath());
    NotesSettings readSettings;
    QList<StoredPage> readPages;
    QVERIFY(reader.read(readSettings, readPages));
    QCOMPARE(reader.lastError(), QString());
    QCOMPARE(readWindow.applied, QStringLiteral("100,50,600,400,1"));
    compareSettings(readSettings, settings);
    comparePages(readPages, pages);
}

void NotesStoreTest::writtenForm_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    // The defaults and the four default pages, saved at noon on 8 December 2026.
    struct Row
    {
        const char *section;
        const char *key;
        QString value;
    };
    const Row rows[] = {
        {"Notes", "FmMain", QStringLiteral("249,109,666,577,0")},
        {"Notes", "HotKey", QStringLiteral("-1")},
        {"Notes", "AutoMini", QStringLiteral("00")},
        {"Notes", "AutoBackup", QStringLiteral("00")},
        {"Notes", "TrayIcon", QStringLiteral("01")},
        {"Notes", "Wraptext", QStringLiteral("00")},
        {"Notes", "HidedoesPW", QStringLiteral("00")},
        {"Notes", "BackupDir", QString()},
        {"Notes", "Colors", QString()},
        {"Notes", "User1", QStringLiteral("00")},
        {"Notes", "User2", QString(62, u'0')},
        {"Notes", "Lastbackup", QStringLiteral("0000000090A3E640")},
        {"Notes", "Gutter", QStringLiteral("01")},
        {"Notes", "Color", QStringLiteral("FFFFFF00")},
        {"Notes", "ColorBk", QStringLiteral("00000000")},
        {"Notes", "ColorN", QStringLiteral("FFFF0000")},
        {"Notes", "ColorNBk", QStringLiteral("FFFFFF1F")},
        {"Notes", "ColorK", QStringLiteral("00FFFF00")},
        {"Notes", "ColorKBk", QStringLiteral("FFFFFF1F")},
        {"Notes", "ClipClearSecs", QStringLiteral("30")},
        {"Notes", "ClipClearAll", QStringLiteral("00")},
        {"Notes", "Seld3", QStringLiteral("00")},
        {"Notes TabNames", "Items", QStringLiteral("4")},
        {"Notes TabNames", "ItemData(0001)", QStringLiteral("Reminders")},
        {"Notes TabNames", "ItemData(0004)", QStringLiteral("Passwords")},
        {"Notes Keywords", "Items", QStringLiteral("8")},
        {"Notes Keywords", "ItemData(0008)", QStringLiteral("WWW")},
        {"Notes Page3", "Items", QStringLiteral("0")},
        {"Topline", "Topl3", QStringLiteral("0")},
        {"Positions", "Posnx3", QStringLiteral("0")},
        {"Positions", "Posny3", QStringLiteral("0")},
        {"Positions", "Posn3", QStringLiteral("0")},
    };
    for (const Row &row : rows) {
        QTest::addRow("%s %s", row.section, row.key)
            << QString::fromLatin1(row.section) << QString::fromLatin1(row.key) << row.value;
    }
}

void NotesStoreTest::writtenForm()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    FakeWindow window;
    NotesStore store(&window);
    store.setFileName(notesPath());
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));
    QVERIFY(store.write(settings, pages, false, QDateTime(QDate(2026, 12, 8), QTime(12, 0))));

    StoredFile file(notesPath());
    QVERIFY(file.hasKey(section.toUtf8().constData(), key.toStdString()));
    QCOMPARE(QString::fromStdString(file.value(section.toUtf8().constData(), key.toStdString())),
             value);
}

void NotesStoreTest::windowBoundsComeFirst()
{
    QVERIFY(copyFixture(QStringLiteral("notes/plain-notes.ini")).size());
    FakeWindow window;
    NotesStore store(&window);
    store.setFileName(notesPath());
    NotesSettings settings;
    QList<StoredPage> pages = pagesNamed({QStringLiteral("before")});
    window.watchedPages = &pages;
    QVERIFY(store.read(settings, pages));
    QCOMPARE(window.applied, QStringLiteral("120,80,700,500,1"));
    QCOMPARE(window.pagesWhenApplied, 1);
    QCOMPARE(pages.size(), 3);
}

void NotesStoreTest::plainFileReads()
{
    QVERIFY(copyFixture(QStringLiteral("notes/plain-notes.ini")).size());
    FakeWindow window;
    NotesStore store(&window);
    store.setFileName(notesPath());
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));

    NotesSettings expected;
    expected.hotKeyCode = 1065;
    expected.startHidden = true;
    expected.backupNotes = false;
    expected.showTrayIcon = false;
    expected.wrapText = true;
    expected.hideDisablesPassword = true;
    expected.backupFolder = QStringLiteral("/home/me/Notes backups");
    expected.customColors = QStringLiteral("ColorA=102030\r\nColorB=405060");
    expected.securityEnabled = true;
    expected.passwordText = QStringLiteral("pass1");
    expected.lastBackup = 46364.5;
    expected.gutterVisible = false;
    expected.keywords = {QStringLiteral("LOGIN"), QStringLiteral("PIN")};
    expected.textColor = QColor(0x10, 0x20, 0x30);
    expected.backgroundColor = QColor();
    expected.numberColor = QColor(0, 0xFF, 0);
    expected.numberBackground = QColor(0x40, 0x40, 0x40);
    expected.keyColor = QColor(0xFF, 0, 0xFF);
    expected.keyBackground = QColor();
    compareSettings(settings, expected);

    QList<StoredPage> expectedPages;
    expectedPages.append(page(QStringLiteral("Einkäufe"),
                              {QStringLiteral("Milch, Brot, Käse"), QStringLiteral("   Butter")}));
    expectedPages[0].record.topLine = 1;
    expectedPages[0].record.caretX = 4;
    expectedPages[0].record.caretY = 2;
    expectedPages[0].record.selStart = 22;
    expectedPages.append(page(QStringLiteral("Konten"), {QStringLiteral("pin: 1234")}, true));
    expectedPages[1].record.topLine = 3;
    expectedPages[1].record.caretX = 1;
    expectedPages[1].record.caretY = 1;
    expectedPages.append(page(QStringLiteral("Leer"), {}));
    comparePages(pages, expectedPages);
    QCOMPARE(window.applied, QStringLiteral("120,80,700,500,1"));
}

void NotesStoreTest::oldFilesRead_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("plain") << QStringLiteral("vectors/notes-old-plain.ini");
    QTest::newRow("enciphered") << QStringLiteral("vectors/notes-old-enciphered.ini");
}

void NotesStoreTest::oldFilesRead()
{
    QFETCH(QString, fixture);
    QVERIFY(copyFixture(fixture).size());
    FakeWindow window;
    NotesStore store(&window);
    store.setFileName(notesPath());
    NotesSettings settings;
    settings.numberBackground = Qt::red;
    settings.keyBackground = Qt::green;
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));

    NotesSettings expected;
    expected.hotKeyCode = 2065;
    expected.backupNotes = true;
    expected.backupFolder = QStringLiteral("C:\\Backups#");
    expected.customColors = QStringLiteral("ColorA=FFFFFF\r\nColorB=00FF00");
    expected.securityEnabled = true;
    expected.passwordText = QStringLiteral("abc");
    expected.lastBackup = 46364.5;
    expected.keywords = {QStringLiteral("HTTP"), QStringLiteral("PASSWORD"), QStringLiteral("PW")};
    expected.numberBackground = QColor();
    expected.keyBackground = QColor();
    compareSettings(settings, expected);

    // The old program's Windows-1252 bytes: C9 is "É", A3 is "£".
    QList<StoredPage> expectedPages;
    expectedPages.append(
        page(QStringLiteral("Reminders"), {QStringLiteral("Caf\u00C9 bill \u00A3 12.50"), QString(),
                                           QStringLiteral("  indented line")}));
    expectedPages[0].record.topLine = 1;
    expectedPages[0].record.caretX = 5;
    expectedPages[0].record.caretY = 1;
    expectedPages[0].record.selStart = 4;
    expectedPages.append(page(QStringLiteral("Passwords"),
                              {QStringLiteral("www.example.org  user: me  pw: S3cr3t!")}, true));
    expectedPages[1].record.topLine = 1;
    expectedPages[1].record.caretX = 1;
    expectedPages[1].record.caretY = 1;
    comparePages(pages, expectedPages);
    QCOMPARE(window.applied, QStringLiteral("249,109,666,577,0"));
}

void NotesStoreTest::clipboardKeys_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("clipClearSecs");
    QTest::addColumn<bool>("clipClearAll");
    QTest::newRow("missing: the defaults") << QByteArray() << 30 << false;
    QTest::newRow("decimal seconds") << QByteArray("ClipClearSecs=120\r\n") << 120 << false;
    QTest::newRow("0 for never") << QByteArray("ClipClearSecs=0\r\n") << 0 << false;
    QTest::newRow("also unprotected pages")
        << QByteArray("ClipClearSecs=5\r\nClipClearAll=01\r\n") << 5 << true;
    QTest::newRow("only protected pages") << QByteArray("ClipClearAll=00\r\n") << 30 << false;
}

void NotesStoreTest::clipboardKeys()
{
    QFETCH(QByteArray, keys);
    QVERIFY(writePlain("[Notes]\r\nHotKey=1065\r\n" + keys));
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));
    QTEST(settings.clipClearSecs, "clipClearSecs");
    QTEST(settings.clipClearAll, "clipClearAll");

    // Written back as read, and kept through the next read.
    QVERIFY(store.write(settings, pages, false, at(2, 10)));
    StoredFile file(notesPath());
    QCOMPARE(QString::fromStdString(file.value("Notes", "ClipClearSecs")),
             QString::number(settings.clipClearSecs));
    QCOMPARE(QString::fromStdString(file.value("Notes", "ClipClearAll")),
             settings.clipClearAll ? QStringLiteral("01") : QStringLiteral("00"));
}

void NotesStoreTest::textBeyondLatin1Survives()
{
    const QString text = QStringLiteral("Grüße €, 日本語, 🙂");
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    settings.backupFolder = QStringLiteral("/home/me/Sicherungen ☂");
    const QList<StoredPage> pages = {page(QStringLiteral("日記"), {text, QStringLiteral("  ž")})};
    QVERIFY(store.write(settings, pages, true, at(2, 10)));

    StoredFile file(notesPath());
    QCOMPARE(file.value("Notes Page0", "ItemData(0001)"), text.toStdString());
    QCOMPARE(file.value("Notes TabNames", "ItemData(0001)"),
             std::string("\xE6\x97\xA5\xE8\xA8\x98"));

    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    NotesSettings readSettings;
    QList<StoredPage> readPages;
    QVERIFY(reader.read(readSettings, readPages));
    comparePages(readPages, pages);
    QCOMPARE(readSettings.backupFolder, settings.backupFolder);
}

void NotesStoreTest::passwordIsStoredIn31Bytes()
{
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    settings.passwordText = QStringLiteral("abcde");
    QVERIFY(store.write(settings, pagesNamed({QStringLiteral("one")}), false, at(2, 10)));
    QCOMPARE(QString::fromStdString(StoredFile(notesPath()).value("Notes", "User2")),
             QStringLiteral("056162636465") + QString(50, u'0'));

    settings.passwordText = QString(14, u'ü') + QStringLiteral("🙂x");
    QVERIFY(store.write(settings, pagesNamed({QStringLiteral("one")}), false, at(2, 10)));
    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    NotesSettings readSettings;
    QList<StoredPage> readPages;
    QVERIFY(reader.read(readSettings, readPages));
    QCOMPARE(readSettings.passwordText, QString(14, u'ü'));
    QCOMPARE(readSettings.passwordText, NotesPassword::limit(settings.passwordText));
}

void NotesStoreTest::namesWithoutPageSectionsGiveEmptyPages()
{
    QVERIFY(writePlain("[Notes TabNames]\r\nItems=3\r\nItemData(0001)=A\r\n"
                       "ItemData(0002)=B\r\nItemData(0003)=C\r\n"));
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings = customSettings();
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));
    comparePages(pages, {page(QStringLiteral("A"), {}), page(QStringLiteral("B"), {}),
                         page(QStringLiteral("C"), {})});
    compareSettings(settings, customSettings());
}

void NotesStoreTest::defaultPages_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("no file yet") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("no names") << QByteArray("[Notes TabNames]\r\nItems=0\r\n") << true;
    QTest::newRow("names without a count")
        << QByteArray("[Notes TabNames]\r\nItemData(0001)=A\r\n") << true;
}

void NotesStoreTest::defaultPages()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, fileExists);
    if (fileExists)
        QVERIFY(writePlain(content));
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    QList<StoredPage> pages = pagesNamed({QStringLiteral("in memory")});
    QVERIFY(store.read(settings, pages));
    comparePages(pages,
                 {page(QStringLiteral("Reminders"), {}), page(QStringLiteral("ToDo"), {}),
                  page(QStringLiteral("General"), {}), page(QStringLiteral("Passwords"), {})});
}

void NotesStoreTest::damagedListsKeepTheirStoredLines_data()
{
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("pageSection");
    QTest::addColumn<QStringList>("lines");

    const QByteArray twoNames("Items=2\r\nItemData(0001)=A\r\nItemData(0002)=B\r\n");
    QTest::newRow("gap in the lines")
        << twoNames
        << QByteArray("Items=6\r\nItemData(0001)=1\r\nItemData(0002)=2\r\n"
                      "ItemData(0005)=5\r\nItemData(0006)=6\r\n")
        << QStringList({"1", "2", "", "", "5", "6"});
    QTest::newRow("negative count of names")
        << QByteArray("Items=-5\r\nItemData(0001)=A\r\nItemData(0002)=B\r\n")
        << QByteArray("Items=1\r\nItemData(0001)=text\r\n") << QStringList({"text"});
    QTest::newRow("bad count of names")
        << QByteArray("Items=two\r\nItemData(0001)=A\r\nItemData(0002)=B\r\n")
        << QByteArray("Items=1\r\nItemData(0001)=text\r\n") << QStringList({"text"});
    QTest::newRow("negative count of lines")
        << twoNames << QByteArray("Items=-1\r\nItemData(0001)=x\r\nItemData(0002)=y\r\n")
        << QStringList({"x", "y"});
    QTest::newRow("bad count of lines")
        << twoNames << QByteArray("Items=2x\r\nItemData(0001)=x\r\nItemData(0002)=y\r\n")
        << QStringList({"x", "y"});
}

// A hand-edited or damaged list reads every line it holds, so that the next save writes them
// all again: the pages stay the stored ones and no line is erased.
void NotesStoreTest::damagedListsKeepTheirStoredLines()
{
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, pageSection);
    QFETCH(QStringList, lines);
    QVERIFY(writePlain("[Notes TabNames]\r\n" + names + "[Notes Page1]\r\n" + pageSection +
                       "[Notes Page0]\r\nItems=1\r\nItemData(0001)=first\r\n"));
    QList<StoredPage> expected = {page(QStringLiteral("A"), {QStringLiteral("first")}),
                                  page(QStringLiteral("B"), lines)};
    NotesSettings settings;
    QList<StoredPage> pages;
    {
        NotesStore store(nullptr);
        store.setFileName(notesPath());
        QVERIFY(store.read(settings, pages));
        comparePages(pages, expected);
        QVERIFY(store.write(settings, pages, true, at(2, 10)));
    }
    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    QList<StoredPage> readPages;
    QVERIFY(reader.read(settings, readPages));
    comparePages(readPages, expected);
}

void NotesStoreTest::keysOfDeletedPagesStayButAreNotRead()
{
    const QStringList five = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                              QStringLiteral("d"), QStringLiteral("e")};
    NotesSettings settings;
    {
        NotesStore store(nullptr);
        store.setFileName(notesPath());
        QList<StoredPage> pages = pagesNamed(five);
        pages[4].record.isProtected = true;
        pages[4].record.topLine = 7;
        QVERIFY(store.write(settings, pages, true, at(2, 10)));
    }
    {
        NotesStore store(nullptr);
        store.setFileName(notesPath());
        QList<StoredPage> pages;
        QVERIFY(store.read(settings, pages));
        QCOMPARE(pages.size(), 5);
        pages.removeLast();
        QVERIFY(store.write(settings, pages, true, at(2, 11)));
    }
    StoredFile file(notesPath());
    QCOMPARE(file.value("Notes Page4", "ItemData(0001)"), std::string("e text"));
    QCOMPARE(file.value("Topline", "Topl4"), std::string("7"));
    QCOMPARE(file.value("Notes", "Seld4"), std::string("01"));
    for (const char *key : {"Posn4", "Posnx4", "Posny4"})
        QVERIFY(file.hasKey("Positions", key));
    QCOMPARE(file.value("Notes TabNames", "Items"), std::string("4"));

    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    QList<StoredPage> pages;
    QVERIFY(reader.read(settings, pages));
    comparePages(pages, pagesNamed(five.mid(0, 4)));
}

void NotesStoreTest::trailingBlanksOfLinesAreLost()
{
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    QList<StoredPage> pages = {
        page(QStringLiteral("p"), {QStringLiteral("text   "), QString(), QStringLiteral("  lead"),
                                   QStringLiteral("tab\t"), QStringLiteral("   "), QString()})};
    QVERIFY(store.write(settings, pages, true, at(2, 10)));

    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    QList<StoredPage> readPages;
    QVERIFY(reader.read(settings, readPages));
    pages[0].record.lines = {QStringLiteral("text"), QString(), QStringLiteral("  lead"),
                             QStringLiteral("tab"),  QString(), QString()};
    comparePages(readPages, pages);
}

void NotesStoreTest::lineBreaksInsideValuesStayInside()
{
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    settings.keywords = {QStringLiteral("A\nB")};
    QList<StoredPage> pages = {page(QStringLiteral("two\r\nlines"),
                                    {QStringLiteral("x\nSeld0=01\ry"), QStringLiteral("z")})};
    QVERIFY(store.write(settings, pages, true, at(2, 10)));

    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    NotesSettings readSettings;
    QList<StoredPage> readPages;
    QVERIFY(reader.read(readSettings, readPages));
    QCOMPARE(readSettings.keywords, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    comparePages(readPages, {page(QStringLiteral("two lines"),
                                  {QStringLiteral("x"), QStringLiteral("Seld0=01"),
                                   QStringLiteral("y"), QStringLiteral("z")})});
}

void NotesStoreTest::backupAtMostOnceADay()
{
    const QString backups = m_dir->filePath(QStringLiteral("backups"));
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    settings.backupNotes = true;
    settings.backupFolder = backups;
    QList<StoredPage> pages = pagesNamed({QStringLiteral("one")});

    QVERIFY(store.write(settings, pages, true, at(2, 10)));
    QCOMPARE(filesIn(backups), QStringList{QStringLiteral("Quillbox.000")});

    pages[0].record.lines.append(QStringLiteral("a second line"));
    QVERIFY(store.write(settings, pages, true, at(2, 18)));
    QCOMPARE(filesIn(backups), QStringList{QStringLiteral("Quillbox.000")});

    pages[0].record.lines.append(QStringLiteral("a third line"));
    QVERIFY(store.write(settings, pages, true, at(3, 9)));
    QCOMPARE(filesIn(backups),
             (QStringList{QStringLiteral("Quillbox.000"), QStringLiteral("Quillbox.001")}));
    QFile backup(QDir(backups).filePath(QStringLiteral("Quillbox.001")));
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QFile notes(notesPath());
    QVERIFY(notes.open(QIODevice::ReadOnly));
    QCOMPARE(backup.readAll(), notes.readAll());

    settings.backupNotes = false;
    pages[0].record.lines.append(QStringLiteral("a fourth line"));
    QVERIFY(store.write(settings, pages, true, at(4, 9)));
    QCOMPARE(filesIn(backups).size(), 2);
}

void NotesStoreTest::saveWithoutEditedTextMakesNoBackup()
{
    const QString backups = m_dir->filePath(QStringLiteral("backups"));
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    settings.backupNotes = true;
    settings.backupFolder = backups;
    settings.lastBackup = NotesDateTime::toValue(at(1, 10));
    QList<StoredPage> pages = pagesNamed({QStringLiteral("one")});

    QVERIFY(store.write(settings, pages, false, at(2, 10)));
    QVERIFY(filesIn(backups).isEmpty());
    QCOMPARE(settings.lastBackup, NotesDateTime::toValue(at(2, 10)));

    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    NotesSettings readSettings;
    QList<StoredPage> readPages;
    QVERIFY(reader.read(readSettings, readPages));
    QCOMPARE(readSettings.lastBackup, NotesDateTime::toValue(at(2, 10)));

    // The date advanced, so edited text later that day makes no backup either.
    pages[0].record.lines.append(QStringLiteral("edited"));
    QVERIFY(store.write(settings, pages, true, at(2, 12)));
    QVERIFY(filesIn(backups).isEmpty());
}

void NotesStoreTest::unreadableFileBlocksWrites_data()
{
    QTest::addColumn<bool>("folderInPlace");
    QTest::newRow("a folder in its place") << true;
    QTest::newRow("no read permission") << false;
}

void NotesStoreTest::unreadableFileBlocksWrites()
{
    QFETCH(bool, folderInPlace);
    if (folderInPlace) {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Quillbox.ini")));
    } else {
        if (!permissionsApply())
            QSKIP("file permissions do not keep this process out");
        QVERIFY(writePlain("[Notes]\r\nHotKey=2065\r\n"));
        QVERIFY(QFile::setPermissions(notesPath(), QFile::WriteOwner));
    }
    const QStringList before = filesIn(m_dir->path());

    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(!store.read(settings, pages));
    QVERIFY(store.lastError().contains(notesPath()));
    QCOMPARE(settings.hotKeyCode, -1);
    QCOMPARE(pages.size(), 4);

    const double lastBackup = settings.lastBackup;
    QVERIFY(!store.write(settings, pages, true, at(2, 10)));
    QVERIFY(store.lastError().contains(notesPath()));
    QCOMPARE(settings.lastBackup, lastBackup);
    QCOMPARE(filesIn(m_dir->path()), before);
    if (!folderInPlace) {
        QVERIFY(QFile::setPermissions(notesPath(), QFile::ReadOwner | QFile::WriteOwner));
        QFile file(notesPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Notes]\r\nHotKey=2065\r\n"));
    }
}

void NotesStoreTest::unwritableFolderFails_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("needsPermissions");
    QTest::newRow("a file in place of the folder")
        << QStringLiteral("in the way/Quillbox.ini") << false;
    QTest::newRow("read-only folder") << QStringLiteral("read only/Quillbox.ini") << true;
    QTest::newRow("system folder") << QStringLiteral("/proc/Quillbox.ini") << false;
}

void NotesStoreTest::unwritableFolderFails()
{
    QFETCH(QString, path);
    QFETCH(bool, needsPermissions);
    if (needsPermissions && !permissionsApply())
        QSKIP("file permissions do not keep this process out");
    if (path.startsWith(u'/') && !QFileInfo(QFileInfo(path).path()).isDir())
        QSKIP("no such folder on this system");
    QFile inTheWay(m_dir->filePath(QStringLiteral("in the way")));
    QVERIFY(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.close();
    QVERIFY(
        QDir(m_dir->path()).mkdir(QStringLiteral("read only"), QFile::ReadOwner | QFile::ExeOwner));
    const QString fullPath = QDir(m_dir->path()).filePath(path);

    NotesStore store(nullptr);
    store.setFileName(fullPath);
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));
    const double lastBackup = settings.lastBackup;
    QVERIFY(!store.write(settings, pages, true, at(2, 10)));
    QVERIFY2(store.lastError().contains(QFileInfo(fullPath).path()), qPrintable(store.lastError()));
    QCOMPARE(settings.lastBackup, lastBackup);
    QVERIFY(!QFileInfo::exists(fullPath));
}

void NotesStoreTest::missingFolderIsCreatedPrivately()
{
    const QString folder = m_dir->filePath(QStringLiteral("new/Quillbox"));
    NotesStore store(nullptr);
    store.setFileName(folder + QStringLiteral("/Quillbox.ini"));
    NotesSettings settings;
    QVERIFY(store.write(settings, pagesNamed({QStringLiteral("one")}), false, at(2, 10)));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/Quillbox.ini")));
#ifdef Q_OS_UNIX
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    for (const QString &created : {folder, QFileInfo(folder).path()})
        QCOMPARE(QFileInfo(created).permissions() & others, QFile::Permissions());
#endif
}

// The first start, before any folder is made: no lock file can be created there, and no
// attempt waits for one.
void NotesStoreTest::readFromMissingFolderDoesNotWait()
{
    int waits = 0;
    DelayObject::setHook([&waits](int) {
        ++waits;
        return true;
    });
    const QString file = m_dir->filePath(QStringLiteral("new/Quillbox/Quillbox.ini"));
    NotesStore store(nullptr);
    store.setFileName(file);
    NotesSettings settings;
    QList<StoredPage> pages;
    const bool read = store.read(settings, pages);
    const bool written = store.write(settings, pages, false, at(2, 10));
    DelayObject::setHook(nullptr);
    QVERIFY(read);
    QCOMPARE(pages.size(), NotesLayout::defaultPageNames.size());
    QCOMPARE(waits, 0);
    QVERIFY(written);
    QVERIFY(QFileInfo::exists(file));
}

namespace {

// One copy of the program on the Notes file: its store, settings and pages.
struct Copy
{
    explicit Copy(const QString &path)
    {
        store.setFileName(path);
        store.read(settings, pages);
    }
    bool save() { return store.write(settings, pages, true, at(5, 12)); }

    NotesStore store{nullptr};
    NotesSettings settings;
    QList<StoredPage> pages;
};

} // namespace

// Copy 2 read the file before copy 1 saved its edit; its own save keeps copy 1's edit, and a
// later save of copy 1, which never saw copy 2's edit, keeps copy 2's.
void NotesStoreTest::twoCopiesEditingDifferentPagesKeepBoth()
{
    Copy first(notesPath());
    first.pages = pagesNamed({"A", "B"});
    QVERIFY(first.save());
    Copy second(notesPath());

    first.pages[0].record.lines.append(QStringLiteral("first"));
    QVERIFY(first.save());
    QVERIFY(!first.store.lastOutsideChange());
    second.pages[1].record.lines.append(QStringLiteral("second"));
    QVERIFY(second.save());
    const QStringList both = {"A=A text|first", "B=B text|second"};
    QCOMPARE(pageTexts(readBack(notesPath())), both);
    const auto change = second.store.lastOutsideChange();
    QVERIFY(change);
    QCOMPARE(pageTexts(change->pages), both);
    QCOMPARE(change->writtenIndex, QList<int>({0, 1}));
    QVERIFY(change->conflictPages.isEmpty());

    first.settings.wrapText = !first.settings.wrapText;
    QVERIFY(first.save());
    QCOMPARE(pageTexts(readBack(notesPath())), both);
    QVERIFY(first.store.lastOutsideChange());
    QCOMPARE(pageTexts(first.store.lastOutsideChange()->pages), both);
}

void NotesStoreTest::twoCopiesEditingOnePageKeepBothTexts()
{
    Copy first(notesPath());
    first.pages = pagesNamed({"A", "B"});
    first.pages[1].record.isProtected = true;
    QVERIFY(first.save());
    Copy second(notesPath());

    first.pages[1].record.lines = QStringList{"first"};
    QVERIFY(first.save());
    second.pages[1].record.lines = QStringList{"second"};
    QVERIFY(second.save());
    const QStringList kept = {"A=A text", "B=second", "B (changed elsewhere)=first"};
    const QList<StoredPage> stored = readBack(notesPath());
    QCOMPARE(pageTexts(stored), kept);
    QVERIFY(stored[2].record.isProtected);
    const auto change = second.store.lastOutsideChange();
    QVERIFY(change);
    QCOMPARE(change->conflictPages, QStringList{"B (changed elsewhere)"});
    QCOMPARE(change->writtenIndex, QList<int>({0, 1, -1}));

    // The copy shows the merged pages; saved again, they are its base: nothing is told twice.
    second.pages = change->pages;
    QVERIFY(second.save());
    QVERIFY(!second.store.lastOutsideChange());
    QCOMPARE(pageTexts(readBack(notesPath())), kept);
}

void NotesStoreTest::pagesAddedElsewhereKeepThisCopysEdits()
{
    Copy first(notesPath());
    first.pages = pagesNamed({"A", "B", "C"});
    QVERIFY(first.save());
    Copy second(notesPath());

    // Elsewhere: a page added at the front, B renamed, C moved before it.
    first.pages = {page("New", {"new"}), first.pages[0], first.pages[2], first.pages[1]};
    first.pages[3].name = QStringLiteral("Renamed");
    QVERIFY(first.save());
    second.pages[0].record.lines.append(QStringLiteral("edit A"));
    second.pages[2].record.lines.append(QStringLiteral("edit C"));
    QVERIFY(second.save());
    QCOMPARE(pageTexts(readBack(notesPath())),
             QStringList({"New=new", "A=A text|edit A", "C=C text|edit C", "Renamed=B text"}));
}

void NotesStoreTest::editedPageDeletedElsewhereIsKept()
{
    Copy first(notesPath());
    first.pages = pagesNamed({"A", "B", "C"});
    QVERIFY(first.save());
    Copy second(notesPath());

    first.pages.removeAt(1);
    QVERIFY(first.save());
    second.pages[1].record.lines.append(QStringLiteral("kept"));
    QVERIFY(second.save());
    QCOMPARE(pageTexts(readBack(notesPath())),
             QStringList({"A=A text", "B=B text|kept", "C=C text"}));
}

void NotesStoreTest::settingsMergeByKey()
{
    Copy first(notesPath());
    first.pages = pagesNamed({"A"});
    QVERIFY(first.save());
    Copy second(notesPath());

    first.settings.wrapText = true;
    first.settings.keywords = QStringList{"FIRST"};
    QVERIFY(first.save());
    second.settings.hotKeyCode = 2070;
    QVERIFY(second.save());
    // The save hands the merged values back, so that the next save does not undo them.
    QVERIFY(second.settings.wrapText);
    QCOMPARE(second.settings.keywords, QStringList{"FIRST"});
    QVERIFY(second.save());

    NotesStore reader(nullptr);
    reader.setFileName(notesPath());
    NotesSettings stored;
    QList<StoredPage> pages;
    QVERIFY(reader.read(stored, pages));
    QVERIFY(stored.wrapText);
    QCOMPARE(stored.keywords, QStringList{"FIRST"});
    QCOMPARE(stored.hotKeyCode, 2070);
}

void NotesStoreTest::unchangedFileReportsNoOutsideChange()
{
    Copy only(notesPath());
    QVERIFY(only.save());
    only.pages[0].record.lines = QStringList{"edit"};
    QVERIFY(only.save());
    QVERIFY(!only.store.lastOutsideChange());
}

void NotesStoreTest::takeOutsideChangeSeesEveryRewrite_data()
{
    QTest::addColumn<QString>("theirs");
    QTest::addColumn<bool>("sameTime");
    QTest::newRow("the same size") << QStringLiteral("bbbb") << false;
    QTest::newRow("another size at the same time") << QStringLiteral("longer text") << true;
}

// The show-time check passes over a file whose size and time are those this copy left, and
// still sees a file another copy rewrote, whether its size or only its time moved.
void NotesStoreTest::takeOutsideChangeSeesEveryRewrite()
{
    QFETCH(QString, theirs);
    QFETCH(bool, sameTime);
    // One seed for every write, so that texts of one length make files of one size.
    IniFileMain::setClock([] { return std::uint32_t(1000); });
    const auto realClock = qScopeGuard([] { IniFileMain::setClock({}); });
    Copy mine(notesPath());
    mine.pages[0].record.lines = QStringList{"aaaa"};
    QVERIFY(mine.save());
    QVERIFY(!mine.store.takeOutsideChange(mine.settings, mine.pages));

    const std::filesystem::path file(notesPath().toStdU16String());
    const auto written = std::filesystem::last_write_time(file);
    const auto size = std::filesystem::file_size(file);
    Copy other(notesPath());
    other.pages[0].record.lines = QStringList{theirs};
    QVERIFY(other.save());
    QCOMPARE(std::filesystem::file_size(file) == size, !sameTime);
    if (sameTime)
        std::filesystem::last_write_time(file, written);

    const auto change = mine.store.takeOutsideChange(mine.settings, mine.pages);
    QVERIFY(change);
    QCOMPARE(pageTexts(change->pages).at(0), QStringLiteral("Reminders=") + theirs);
}

QTEST_GUILESS_MAIN(NotesStoreTest)
#include "tst_notesstore.moc"
