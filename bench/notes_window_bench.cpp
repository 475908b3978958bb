// The notes window against plain Qt doing the same work, from a Notes file of 100 pages of
// 2,000 lines:
//   load:   start-up until the first page shows  vs  reading the page texts from plain files
//           into QPlainTextEdits (setPlainText); each round in a fresh process of its own, as a
//           real start-up is, for both, after Qt's first showing of a window there
//   switch: one page switch (page-leave, page-enter, repaint)  vs  setPlainText of that page
//           into a shown QPlainTextEdit (and repaint)
//   save:   saveNotes after one typed character  vs  writing the same bytes through QSaveFile;
//           the first save after start-up (nothing written before) and the Notes store's write
//           of the same pages alone are shown against the same peer
//   memory: the resident memory (VmRSS) of a process that loaded the Notes file until the first
//           page shows, and after it visited every page, as multiples of the file's size; for
//           this file and for a file of about 100 KB (each measured in a process of its own)
// Prints the times, the ratios (ours / peer) and whether the bars are met: a save after one
// keystroke at most 3 times the QSaveFile write, a page switch faster than setPlainText, the
// memory of the large file at most 5 times its size after loading and 10 times after every
// page was visited.
#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "benchnotesfile.h"
#include "editor/noteeditor.h"
#include "notes/notesstore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int PageCount = 100;
constexpr int LinesPerPage = 2000;
constexpr int Rounds = 5;
constexpr int SaveRounds = 3;

void report(const char *what, double ours, double peer)
{
    std::printf("%-34s ours %9.3f ms   peer %9.3f ms   ratio %6.2f\n", what, ours, peer,
                ours / peer);
}

// The resident memory of this process in KiB, 0 when it cannot be read.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// The hot key is not what is timed, and without one the start-up would open the options dialog.
void skipHotKey(MainWindow &window)
{
    window.setHotKeyStartUp([] {});
}

// Qt's first use in a process (the style, the fonts, the first window shown) costs several
// hundred milliseconds that neither load below should carry.
void warmUpWidgets()
{
    QPlainTextEdit editor;
    editor.setPlainText(benchPageLines(0, 100).join(QLatin1Char('\n')));
    editor.show();
    QCoreApplication::processEvents();
}

} // namespace

// In a process of its own: the start-up until the first page shows; prints its milliseconds.
int measureLoad(const QString &notesPath)
{
    warmUpWidgets();
    const double ms = millisecondsOf([&] {
        MainWindow window(notesPath);
        skipHotKey(window);
        window.startUp(false);
        QCoreApplication::processEvents();
        if (window.editor()->blockCount() != LinesPerPage)
            qFatal("the first page is not shown");
    });
    std::printf("%f\n", ms);
    return 0;
}

// In a process of its own: the peer of measureLoad, reading the pages' plain files of folder
// into editors and showing the first; prints its milliseconds.
int measurePeerLoad(const QString &folder)
{
    warmUpWidgets();
    const double ms = millisecondsOf([&] {
        std::vector<std::unique_ptr<QPlainTextEdit>> editors;
        for (int page = 0; page < PageCount; ++page) {
            QFile plain(QDir(folder).filePath(QStringLiteral("page%1.txt").arg(page)));
            if (!plain.open(QIODevice::ReadOnly))
                qFatal("cannot read a plain page file");
            editors.push_back(std::make_unique<QPlainTextEdit>());
            editors.back()->setPlainText(QString::fromUtf8(plain.readAll()));
        }
        editors.front()->resize(666, 500);
        editors.front()->show();
        QCoreApplication::processEvents();
    });
    std::printf("%f\n", ms);
    return 0;
}

// In a process of its own: loads the Notes file until the first page shows, then visits every
// page; prints the resident memory after each, in KiB.
int measureMemory(const QString &notesPath)
{
    MainWindow window(notesPath);
    skipHotKey(window);
    window.startUp(false);
    QCoreApplication::processEvents();
    const long loaded = residentKiB();
    for (int page = 0; page < window.pageCount(); ++page) {
        window.nextPageWrapping();
        QCoreApplication::processEvents();
    }
    std::printf("%ld %ld\n", loaded, residentKiB());
    return 0;
}

struct Memory
{
    double loaded = 0;  // multiples of the file's size
    double visited = 0;
};

// What this benchmark run as a child with `arguments` printed.
QByteArray childOutput(const QStringList &arguments)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("a measurement in a process of its own failed");
    return child.readAllStandardOutput().trimmed();
}

Memory memoryOf(const QString &notesPath)
{
    const QList<QByteArray> kib = childOutput({QStringLiteral("--memory"), notesPath}).split(' ');
    const double size = double(QFile(notesPath).size());
    const double loaded = kib.value(0).toDouble() * 1024;
    const double visited = kib.value(1).toDouble() * 1024;
    std::printf("%-34s %7.1f MiB (%5.1fx)   every page visited %7.1f MiB (%5.1fx)\n",
                qPrintable(QStringLiteral("memory, %1 KB file, loaded").arg(qRound(size / 1000))),
                loaded / 1048576, loaded / size, visited / 1048576, visited / size);
    return {loaded / size, visited / size};
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    if (argc == 3 && QByteArray(argv[1]) == "--memory")
        return measureMemory(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && QByteArray(argv[1]) == "--load")
        return measureLoad(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && QByteArray(argv[1]) == "--load-peer")
        return measurePeerLoad(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    const QString notesPath = dir.filePath(QStringLiteral("Quillbox.ini"));

    QList<QStringList> pages;
    for (int page = 0; page < PageCount; ++page)
        pages.append(benchPageLines(page, LinesPerPage));
    writeBenchNotesFile(notesPath, pages);
    for (int page = 0; page < PageCount; ++page) {
        QFile plain(dir.filePath(QStringLiteral("page%1.txt").arg(page)));
        if (!plain.open(QIODevice::WriteOnly))
            qFatal("cannot write a plain page file");
        plain.write(pages.at(page).join(QLatin1Char('\n')).toUtf8());
    }
    std::printf("Notes file: %d pages of %d lines, %lld bytes\n\n", PageCount, LinesPerPage,
                QFile(notesPath).size());
    // About 100 KB: ten pages of 135 lines.
    const QString smallPath = dir.filePath(QStringLiteral("small/Quillbox.ini"));
    QDir().mkpath(QFileInfo(smallPath).path());
    {
        QList<QStringList> small;
        for (int page = 0; page < 10; ++page)
            small.append(benchPageLines(page, LinesPerPage).mid(0, 135));
        writeBenchNotesFile(smallPath, small);
    }

    // Load: start-up until the first page shows.
    const double loadOurs = medianOf(Rounds, [&] {
        return childOutput({QStringLiteral("--load"), notesPath}).toDouble();
    });
    const double loadPeer = medianOf(Rounds, [&] {
        return childOutput({QStringLiteral("--load-peer"), dir.path()}).toDouble();
    });

    // The first save after start-up: one typed character, nothing written before.
    const double firstSaveOurs = medianOf(Rounds, [&] {
        MainWindow started(notesPath);
        skipHotKey(started);
        started.startUp(false);
        QCoreApplication::processEvents();
        QTest::keyClick(started.editor(), Qt::Key_X);
        return millisecondsOf([&] {
            if (!started.saveNotes())
                qFatal("the save failed: %s", qPrintable(started.store().lastError()));
        });
    });

    MainWindow window(notesPath);
    skipHotKey(window);
    window.startUp(false);
    QCoreApplication::processEvents();

    // Switch: every page once (each page's first showing builds its document), then the
    // switches after that.
    const auto switchRound = [&] {
        return millisecondsOf([&] {
                   for (int page = 0; page < PageCount; ++page) {
                       window.nextPageWrapping();
                       QCoreApplication::processEvents();
                   }
               }) /
               PageCount;
    };
    const double firstSwitch = switchRound();
    const double switchOurs = medianOf(Rounds, switchRound);
    QPlainTextEdit peerEditor;
    peerEditor.resize(window.editor()->size());
    peerEditor.show();
    const QStringList texts = [&] {
        QStringList joined;
        for (const QStringList &lines : pages)
            joined.append(lines.join(QLatin1Char('\n')));
        return joined;
    }();
    const double switchPeer = medianOf(Rounds, [&] {
        return millisecondsOf([&] {
                   for (const QString &text : texts) {
                       peerEditor.setPlainText(text);
                       QCoreApplication::processEvents();
                   }
               }) /
               PageCount;
    });

    // Save after one typed character.
    const double saveOurs = medianOf(SaveRounds, [&] {
        QTest::keyClick(window.editor(), Qt::Key_X);
        return millisecondsOf([&] {
            if (!window.saveNotes())
                qFatal("the save failed: %s", qPrintable(window.store().lastError()));
        });
    });
    const QList<StoredPage> stored = window.pages().storedPages();
    const double storeWrite = medianOf(SaveRounds, [&] {
        return millisecondsOf([&] {
            if (!window.store().write(window.settings(), stored, true))
                qFatal("the store's write failed");
        });
    });
    QFile notes(notesPath);
    if (!notes.open(QIODevice::ReadOnly))
        qFatal("cannot read the Notes file back");
    const QByteArray bytes = notes.readAll();
    const double savePeer = medianOf(Rounds, [&] {
        return millisecondsOf([&] {
            QSaveFile file(dir.filePath(QStringLiteral("peer.ini")));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
                !file.commit())
                qFatal("QSaveFile failed");
        });
    });

    report("load to the first page", loadOurs, loadPeer);
    std::printf("%-34s ours %9.3f ms\n", "first visit of a page", firstSwitch);
    report("page switch", switchOurs, switchPeer);
    report("first save after start-up", firstSaveOurs, savePeer);
    report("save after one keystroke", saveOurs, savePeer);
    report("  of it, the Notes store's write", storeWrite, savePeer);
    const Memory memory = memoryOf(notesPath);
    memoryOf(smallPath);

    const bool saveMet = saveOurs <= 3 * savePeer;
    const bool switchMet = switchOurs < switchPeer;
    const bool loadedMet = memory.loaded <= 5;
    const bool visitedMet = memory.visited <= 10;
    std::printf("\nbar: save <= 3x QSaveFile write:            %s\n", saveMet ? "met" : "MISSED");
    std::printf("bar: page switch < setPlainText:            %s\n", switchMet ? "met" : "MISSED");
    std::printf("bar: memory loaded <= 5x the file:          %s\n", loadedMet ? "met" : "MISSED");
    std::printf("bar: memory, every page visited <= 10x:     %s\n", visitedMet ? "met" : "MISSED");
    return saveMet && switchMet && loadedMet && visitedMet ? 0 : 1;
}
