// The INI store against QSettings (IniFormat) on the same keys, in the same run, on the same
// disk. A store of 10,000, 100,000 and 1,000,000 keys laid out like a Notes file (pages as
// list sections "Notes PageN" of "Items" and "ItemData(0001)" …, 1,000 keys each) that has
// read an older revision of its file gets new pages and is saved (the write re-loads,
// merges, enciphers, syncs and replaces); a new store then reads the file through its
// linkers. QSettings does the same: after reading its file, setValue of every key + sync(),
// then a new QSettings with allKeys() and value() of every key. Writing the bytes of our saved file
// once through QSaveFile is the floor. Prints the times, the ratios and verdicts on three bars;
// always exits 0 unless a result is wrong.
//
// Bars: at 100,000 keys ours takes at most 0.15 of the time of QSettings (write + read) and its
// write at most 3 times the floor; from 100,000 to 1,000,000 keys ours grows at most 11 times.
#include "inistore/inifilemain.h"
#include "inistore/inivarlinker.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int keysPerPage = 1000;

using Page = std::vector<std::string>;

struct Times
{
    double write = 0;
    double read = 0;
    double total() const { return write + read; }
};

struct Figures
{
    int keys = 0;
    Times ours;
    Times plain;
    Times peer;
    double floor = 0;
};

double msSince(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

std::vector<Page> makePages(int keys, int revision)
{
    std::vector<Page> pages(static_cast<std::size_t>(keys / keysPerPage));
    for (std::size_t p = 0; p < pages.size(); ++p) {
        pages[p].resize(keysPerPage - 1);
        for (std::size_t i = 0; i < pages[p].size(); ++i) {
            pages[p][i] = "r" + std::to_string(revision) + " line " + std::to_string(i + 1) +
                          " of page " + std::to_string(p) +
                          ": www.example.org  user: me  pw: S3cr3t!";
        }
    }
    return pages;
}

// A store on `file` whose linker moves `pages` in and out as the list sections of a Notes file.
class NotesStore
{
public:
    NotesStore(const QString &file, std::vector<Page> &pages, bool encrypt)
    {
        m_store.setFilename(file.toStdString());
        m_store.setEncrypt(encrypt);
        m_linker.setOnIniReadWrite([&pages](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
            for (std::size_t p = 0; p < pages.size(); ++p)
                sender.linkObjToIni("Notes", "Page" + std::to_string(p), &pages[p]);
        });
        m_linker.setIniMain(&m_store);
    }
    IniFileMain &store() { return m_store; }

private:
    IniFileMain m_store;
    IniVarLinker m_linker;
};

bool timeOurs(const QString &folder, int keys, bool encrypt, Times &times)
{
    const QString file = folder + "/Quillbox.ini";
    std::vector<Page> older = makePages(keys, 1);
    if (!NotesStore(file, older, encrypt).store().write())
        return false;

    // The writer has read the file, as the program does at start-up; then every page changes.
    std::vector<Page> pages(older.size());
    NotesStore writer(file, pages, encrypt);
    writer.store().read();
    pages = makePages(keys, 2);
    QElapsedTimer timer;
    timer.start();
    const bool written = writer.store().write();
    times.write = msSince(timer);

    std::vector<Page> read(pages.size());
    NotesStore reader(file, read, encrypt);
    timer.start();
    reader.store().read();
    times.read = msSince(timer);
    return written && !reader.store().readFailed() && read == pages;
}

QString itemKey(int item)
{
    return QStringLiteral("ItemData(%1)").arg(item, 4, 10, QLatin1Char('0'));
}

// setValue of every key, then sync().
void setPeer(QSettings &settings, const std::vector<QStringList> &pages)
{
    for (std::size_t p = 0; p < pages.size(); ++p) {
        settings.beginGroup(QStringLiteral("Notes Page%1").arg(p));
        settings.setValue(QStringLiteral("Items"), pages[p].size());
        for (int i = 0; i < pages[p].size(); ++i)
            settings.setValue(itemKey(i + 1), pages[p][i]);
        settings.endGroup();
    }
    settings.sync();
}

std::vector<QStringList> toQt(const std::vector<Page> &pages)
{
    std::vector<QStringList> converted;
    for (const Page &page : pages) {
        QStringList lines;
        for (const std::string &line : page)
            lines << QString::fromStdString(line);
        converted.push_back(lines);
    }
    return converted;
}

bool timePeer(const QString &folder, int keys, Times &times)
{
    const QString file = folder + "/QSettings.ini";
    {
        QSettings older(file, QSettings::IniFormat);
        setPeer(older, toQt(makePages(keys, 1)));
    }
    // Like our writer, the settings have read the file before the pages change.
    auto writer = std::make_unique<QSettings>(file, QSettings::IniFormat);
    writer->allKeys();
    const std::vector<QStringList> pages = toQt(makePages(keys, 2));
    QElapsedTimer timer;
    timer.start();
    setPeer(*writer, pages);
    times.write = msSince(timer);
    const bool written = writer->status() == QSettings::NoError;
    writer.reset();

    timer.start();
    QSettings settings(file, QSettings::IniFormat);
    const QStringList allKeys = settings.allKeys();
    QStringList values;
    values.reserve(allKeys.size());
    for (const QString &key : allKeys)
        values << settings.value(key).toString();
    times.read = msSince(timer);
    return written && values.size() == keys;
}

double timeFloor(const QString &folder)
{
    QFile saved(folder + "/Quillbox.ini");
    if (!saved.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = saved.readAll();
    QElapsedTimer timer;
    timer.start();
    QSaveFile file(folder + "/Floor.ini");
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return -1;
    return msSince(timer);
}

// The best of `rounds` runs, each in a fresh folder.
bool measure(int keys, int rounds, Figures &figures)
{
    figures = {keys, {1e300, 1e300}, {1e300, 1e300}, {1e300, 1e300}, 1e300};
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir folder;
        Times ours;
        Times plain;
        Times peer;
        if (!folder.isValid() || !timeOurs(folder.path(), keys, false, plain) ||
            !timeOurs(folder.path(), keys, true, ours) || !timePeer(folder.path(), keys, peer))
            return false;
        const double floor = timeFloor(folder.path());
        if (floor < 0)
            return false;
        const auto best = [](Times &kept, const Times &run) {
            kept.write = std::min(kept.write, run.write);
            kept.read = std::min(kept.read, run.read);
        };
        best(figures.ours, ours);
        best(figures.plain, plain);
        best(figures.peer, peer);
        figures.floor = std::min(figures.floor, floor);
    }
    return true;
}

const char *verdict(bool met)
{
    return met ? "PASS" : "FAIL";
}

void printVerdicts(const std::vector<Figures> &all)
{
    if (all.size() < 2)
        return;
    const Figures &tenth = all[1];
    const double toPeer = tenth.ours.total() / tenth.peer.total();
    const double toFloor = tenth.ours.write / tenth.floor;
    std::printf("\nfloor: %.1f ms to write the %d-key file once through QSaveFile\n", tenth.floor,
                tenth.keys);
    std::printf("%s  100,000 keys: ours / QSettings = %.3f (bar: at most 0.15)\n",
                verdict(toPeer <= 0.15), toPeer);
    std::printf("%s  100,000 keys: our write / QSaveFile floor = %.2f (bar: at most 3)\n",
                verdict(toFloor <= 3), toFloor);
    if (all.size() < 3)
        return;
    const double growth = all[2].ours.total() / tenth.ours.total();
    std::printf("%s  100,000 -> 1,000,000 keys: ours grows %.2f times (bar: at most 11)\n",
                verdict(growth <= 11), growth);
}

} // namespace

// inistore_bench [LARGEST]: sizes above LARGEST keys are left out (and their bar with them).
int main(int argc, char *argv[])
{
    const long largest = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::printf("INI store (enciphered and plain) against QSettings IniFormat; times in ms, "
                "best of the rounds\n\n");
    std::printf("%9s %6s | %9s %9s %9s | %9s %9s %9s | %9s %9s | %8s %8s %8s | %8s\n", "keys",
                "rounds", "write", "read", "total", "plain wr", "plain rd", "plain", "QS write",
                "QS read", "w/QS", "r/QS", "tot/QS", "w/floor");
    std::vector<Figures> all;
    for (const auto &[keys, rounds] : {std::pair{10000, 3}, {100000, 3}, {1000000, 2}}) {
        if (keys > largest)
            break;
        Figures figures;
        if (!measure(keys, rounds, figures)) {
            std::printf("%9d: a store or QSettings gave a wrong result\n", keys);
            return 1;
        }
        const Times &o = figures.ours;
        const Times &q = figures.peer;
        std::printf("%9d %6d | %9.1f %9.1f %9.1f | %9.1f %9.1f %9.1f | %9.1f %9.1f | %8.3f %8.3f "
                    "%8.3f | %8.2f\n",
                    keys, rounds, o.write, o.read, o.total(), figures.plain.write,
                    figures.plain.read, figures.plain.total(), q.write, q.read, o.write / q.write,
                    o.read / q.read, o.total() / q.total(), o.write / figures.floor);
        std::fflush(stdout);
        all.push_back(figures);
    }
    printVerdicts(all);
    return 0;
}
