#include "notes/notespaths.h"
#include "notes/notessettings.h"
#include "notes/notesstore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Runs work on a thread of its own and gives it ten seconds. Should work hang in an open of the
// FIFO (which waits for a writer), the FIFO is opened for writing until the open returns, so a
// broken guard fails the test instead of hanging it. True when work ended by itself in time.
template <typename Work> bool endsWithoutWaiting(const QString &fifo, Work work)
{
    std::atomic<bool> done = false;
    std::thread thread([&] {
        work();
        done = true;
    });
    const QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool inTime = done;
    while (!done) {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    thread.join();
    return inTime;
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class NotesPathsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void besideTheProgramWhenAlreadyThere();
    void otherwiseInTheDataFolder();
    void makeNotesFolder_data();
    void makeNotesFolder();
    void acceptedNotesFile_data();
    void acceptedNotesFile();
    void refusedNotesFile_data();
    void refusedNotesFile();
    void fifoIsRefusedWithoutWaiting();
    void linkIsResolvedOnce_data();
    void linkIsResolvedOnce();
    void linkedNotesFileIsSavedThroughTheLink();
    void fifoSwappedInCannotHangTheStore();
};

void NotesPathsTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("Quillbox"));
}

void NotesPathsTest::besideTheProgramWhenAlreadyThere()
{
    QTemporaryDir program;
    QFile portable(program.filePath(QStringLiteral("Quillbox.ini")));
    QVERIFY(portable.open(QIODevice::WriteOnly));
    portable.close();
    QCOMPARE(defaultNotesPath(program.path()), portable.fileName());
}

void NotesPathsTest::otherwiseInTheDataFolder()
{
#ifdef Q_OS_WIN
    QTemporaryDir program;
    QCOMPARE(defaultNotesPath(program.path()), program.filePath(QStringLiteral("Quillbox.ini")));
    return;
#endif
    QTemporaryDir program;
    const QString path = defaultNotesPath(program.path());
    QCOMPARE(path, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                       QStringLiteral("/Quillbox.ini"));
    QVERIFY(path.endsWith(QStringLiteral("/Quillbox/Quillbox.ini")));
}

void NotesPathsTest::makeNotesFolder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("made");
    QTest::newRow("existing folder") << QStringLiteral("Quillbox.ini") << true;
    QTest::newRow("missing folders") << QStringLiteral("a/b/Quillbox.ini") << true;
    QTest::newRow("a file in the way") << QStringLiteral("file/b/Quillbox.ini") << false;
}

void NotesPathsTest::makeNotesFolder()
{
    QFETCH(QString, file);
    QFETCH(bool, made);
    QTemporaryDir dir;
    QFile inTheWay(dir.filePath(QStringLiteral("file")));
    QVERIFY(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.close();
    const QString path = dir.filePath(file);
    QCOMPARE(::makeNotesFolder(path), made);
    QCOMPARE(QFileInfo(QFileInfo(path).path()).isDir(), made);
}

void NotesPathsTest::acceptedNotesFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // no file when null
    QTest::newRow("missing") << QStringLiteral("Quillbox.ini") << QByteArray();
    QTest::newRow("empty") << QStringLiteral("Quillbox.ini") << QByteArray("");
    QTest::newRow("blank lines") << QStringLiteral("Quillbox.ini") << QByteArray(" \r\n\t\r\n");
    QTest::newRow("enciphered, no entries")
        << QStringLiteral("Quillbox.ini") << QByteArray("ENCRYPTED DATA DO NOT EDIT\r\n4321\r\n");
    QTest::newRow("enciphered") << QStringLiteral("Quillbox.ini")
                                << QByteArray("ENCRYPTED DATA DO NOT EDIT\r\n4321\r\nq}w!\r\n");
    QTest::newRow("one section") << QStringLiteral("Quillbox.ini") << QByteArray("[Notes]\r\n");
    QTest::newRow("one key") << QStringLiteral("n.ini") << QByteArray("HotKey=1078\n");
    QTest::newRow("a key among other lines")
        << QStringLiteral("n.txt") << QByteArray("milk\neggs = 12\nbread");
    QTest::newRow("user block") << QStringLiteral("n.ini") << QByteArray("  [**1]  \n");
    QTest::newRow("lock-like name") << QStringLiteral("notes.lck") << QByteArray("[Notes]\n");
    QTest::newRow("$ name, other extension")
        << QStringLiteral("$$$$$$$$.ini") << QByteArray("[Notes]\n");
    QTest::newRow("not $-padded") << QStringLiteral("x$$$$$$$.tmp") << QByteArray("[Notes]\n");
    QTest::newRow("side-file name") << QStringLiteral("Quillbox.tmp") << QByteArray("[Notes]\n");
}

void NotesPathsTest::acceptedNotesFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!content.isNull())
        QVERIFY(writeFile(path, content));
    const NotesFileChoice choice = resolveNotesFile(path);
    QCOMPARE(choice.problem, QString());
    QCOMPARE(choice.path, path);
}

void NotesPathsTest::refusedNotesFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // a folder when null
    QTest::addColumn<QString>("reason");
    const QString notNotes = QStringLiteral("is not a Notes file");
    QTest::newRow("shopping list")
        << QStringLiteral("todo.txt") << QByteArray("milk\r\neggs\r\nbread\r\n") << notNotes;
    QTest::newRow("comments only")
        << QStringLiteral("n.ini") << QByteArray("; kept notes\n# more\n") << notNotes;
    QTest::newRow("binary") << QStringLiteral("n.ini") << QByteArray("\x01\xff\x7f", 3) << notNotes;
    QTest::newRow("marker not on the first line")
        << QStringLiteral("n.ini") << QByteArray("x\nENCRYPTED DATA DO NOT EDIT\n1234\n")
        << notNotes;
    QTest::newRow("folder") << QStringLiteral("Quillbox.ini") << QByteArray()
                            << QStringLiteral("is a folder");
    QTest::newRow("own lock file")
        << QStringLiteral("notesIni.lck") << QByteArray("[Notes]\n") << QStringLiteral("lock file");
    QTest::newRow("own lock file, missing")
        << QStringLiteral("QuillIni.lck") << QByteArray() << QStringLiteral("lock file");
    QTest::newRow("own lock file, other case")
        << QStringLiteral("NOTESINI.LCK") << QByteArray("") << QStringLiteral("lock file");
    QTest::newRow("first temporary name")
        << QStringLiteral("$$$$$$$$.tmp") << QByteArray("[Notes]\n")
        << QStringLiteral("temporary file");
    QTest::newRow("counted temporary name")
        << QStringLiteral("$$$$$$12.TMP") << QByteArray("") << QStringLiteral("temporary file");
}

void NotesPathsTest::refusedNotesFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    // Missing lock-named files are refused as they are, before the folder is looked at.
    if (content.isNull() && !name.endsWith(QStringLiteral(".lck")))
        QVERIFY(QDir(dir.path()).mkdir(name));
    else if (!content.isNull())
        QVERIFY(writeFile(path, content));
    const NotesFileChoice choice = resolveNotesFile(path);
    QVERIFY2(choice.problem.startsWith(QStringLiteral("The Notes file ") + path + u' '),
             qPrintable(choice.problem));
    QVERIFY2(choice.problem.contains(reason), qPrintable(choice.problem));
    QCOMPARE(choice.path, QString());
    if (!content.isNull())
        QCOMPARE(readFile(path), content);
}

void NotesPathsTest::fifoIsRefusedWithoutWaiting()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("Quillbox.ini"));
    QVERIFY(makeFifo(fifo));
    const QString link = dir.filePath(QStringLiteral("link.ini"));
    QVERIFY(QFile::link(fifo, link));
    for (const QString &path : {fifo, link}) {
        NotesFileChoice choice;
        QVERIFY(endsWithoutWaiting(fifo, [&] { choice = resolveNotesFile(path); }));
        QVERIFY2(choice.problem.contains(QStringLiteral("it is a FIFO")),
                 qPrintable(choice.problem));
    }
    NotesFileChoice device = resolveNotesFile(QStringLiteral("/dev/null"));
    QVERIFY2(device.problem.contains(QStringLiteral("it is a device")), qPrintable(device.problem));
}

void NotesPathsTest::linkIsResolvedOnce_data()
{
    QTest::addColumn<QStringList>("links"); // "link name -> target", made in this order
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("resolved"); // empty: refused
    const QString absolute = QStringLiteral("<dir>/sync/real.ini");
    QTest::newRow("relative target") << QStringList{QStringLiteral("Q.ini -> sync/real.ini")}
                                     << QStringLiteral("Q.ini") << absolute;
    QTest::newRow("absolute target") << QStringList{QStringLiteral("Q.ini -> <dir>/sync/real.ini")}
                                     << QStringLiteral("Q.ini") << absolute;
    QTest::newRow("target up a folder")
        << QStringList{QStringLiteral("sync/Q.ini -> ../other/n.ini")}
        << QStringLiteral("sync/Q.ini") << QStringLiteral("<dir>/other/n.ini");
    QTest::newRow("chain") << QStringList{QStringLiteral("sync/mid.ini -> real.ini"),
                                          QStringLiteral("Q.ini -> sync/mid.ini")}
                           << QStringLiteral("Q.ini") << absolute;
    QTest::newRow("through a linked folder")
        << QStringList{QStringLiteral("linked -> sync"), QStringLiteral("Q.ini -> linked/real.ini")}
        << QStringLiteral("Q.ini") << absolute;
    QTest::newRow("missing target")
        << QStringList{QStringLiteral("Q.ini -> sync/new.ini")} << QStringLiteral("Q.ini")
        << QStringLiteral("<dir>/sync/new.ini");
    QTest::newRow("loop") << QStringList{QStringLiteral("a.ini -> b.ini"),
                                         QStringLiteral("b.ini -> a.ini")}
                          << QStringLiteral("a.ini") << QString();
}

void NotesPathsTest::linkIsResolvedOnce()
{
    QFETCH(QStringList, links);
    QFETCH(QString, opened);
    QFETCH(QString, resolved);
    QTemporaryDir dir;
    QDir folder(dir.path());
    QVERIFY(folder.mkdir(QStringLiteral("sync")));
    QVERIFY(folder.mkdir(QStringLiteral("other")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("sync/real.ini")), "[Notes]\n"));
    for (const QString &link : links) {
        const QStringList parts = link.split(QStringLiteral(" -> "));
        QString target = parts.at(1);
        target.replace(QStringLiteral("<dir>"), dir.path());
        QVERIFY2(QFile::link(target, dir.filePath(parts.at(0))), qPrintable(link));
    }
    const NotesFileChoice choice = resolveNotesFile(dir.filePath(opened));
    resolved.replace(QStringLiteral("<dir>"), dir.path());
    QCOMPARE(choice.path, resolved);
    QCOMPARE(choice.problem.isEmpty(), !resolved.isEmpty());
}

// A Notes file kept in a synced folder through a link: a save replaces the target in its own
// folder and the link stays a link.
void NotesPathsTest::linkedNotesFileIsSavedThroughTheLink()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sync")));
    const QString target = dir.filePath(QStringLiteral("sync/real.ini"));
    const QString link = dir.filePath(QStringLiteral("Quillbox.ini"));
    QVERIFY(writeFile(target, "[Notes]\r\nHotKey=1078\r\n"));
    QVERIFY(QFile::link(QStringLiteral("sync/real.ini"), link));

    const NotesFileChoice choice = resolveNotesFile(link);
    QCOMPARE(choice.problem, QString());
    NotesStore store(nullptr);
    store.setFileName(choice.path);
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));
    QCOMPARE(settings.hotKeyCode, 1078);
    pages.first().record.lines = QStringList{QStringLiteral("typed after the link")};
    QVERIFY2(store.write(settings, pages, true), qPrintable(store.lastError()));

    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QVERIFY(readFile(target).startsWith("ENCRYPTED DATA DO NOT EDIT\r\n"));
    QCOMPARE(entriesOf(dir.path()),
             (QStringList{QStringLiteral("Quillbox.ini"), QStringLiteral("sync")}));
    QCOMPARE(entriesOf(dir.filePath(QStringLiteral("sync"))),
             QStringList{QStringLiteral("real.ini")});
    NotesStore again(nullptr);
    again.setFileName(link);
    QList<StoredPage> reread;
    QVERIFY(again.read(settings, reread));
    QCOMPARE(reread.first().record.lines, QStringList{QStringLiteral("typed after the link")});
}

// The store itself never waits on a FIFO, even one put in place of the file after it was
// checked: the read fails with a reason, and so does a write's re-read.
void NotesPathsTest::fifoSwappedInCannotHangTheStore()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillbox.ini"));
    QVERIFY(makeFifo(path));
    NotesStore reader(nullptr);
    reader.setFileName(path);
    NotesSettings settings;
    QList<StoredPage> pages;
    bool read = true;
    QVERIFY(endsWithoutWaiting(path, [&] { read = reader.read(settings, pages); }));
    QVERIFY(!read);
    QVERIFY2(reader.lastError().contains(QStringLiteral("not a regular file")),
             qPrintable(reader.lastError()));

    QVERIFY(QFile::remove(path));
    QVERIFY(writeFile(path, "[Notes]\r\nHotKey=1078\r\n"));
    NotesStore writer(nullptr);
    writer.setFileName(path);
    QVERIFY(writer.read(settings, pages));
    QVERIFY(QFile::remove(path));
    QVERIFY(makeFifo(path));
    bool written = true;
    QVERIFY(endsWithoutWaiting(path, [&] { written = writer.write(settings, pages, true); }));
    QVERIFY(!written);
    QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("Quillbox.ini")});
}

QTEST_GUILESS_MAIN(NotesPathsTest)
#include "tst_notespaths.moc"
