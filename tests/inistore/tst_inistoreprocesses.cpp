#include "churnlines.h"
#include "inistore/inifilemain.h"
#include "inistore/inivarlinker.h"

#include <QtTest>
#include <chrono>
#include <thread>

// Real processes on one INI file (the helper inistore_worker): writers that contend for the
// lock file, and a writer killed at random moments of its saves.
namespace {

constexpr int writers = 4;
constexpr int roundsPerWriter = 25;
constexpr int kills = 800;

struct Worker
{
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();

    void start(const QStringList &arguments)
    {
        process->start(QStringLiteral(INISTORE_WORKER), arguments);
        QVERIFY2(process->waitForStarted(10000), qPrintable(process->errorString()));
    }
    QString failure() const
    {
        return QString("exit %1 (%2): %3")
            .arg(process->exitCode())
            .arg(process->exitStatus() == QProcess::CrashExit ? "crashed" : "normal")
            .arg(QString::fromLocal8Bit(process->readAllStandardError()));
    }
};

// What a load of the churned file gives: generation 0 and no lines when there is nothing.
struct ChurnState
{
    std::int32_t generation = 0;
    std::vector<std::string> lines;
    bool readFailed = false;
};

ChurnState loadChurned(const QString &file)
{
    ChurnState state;
    IniFileMain store;
    store.setFilename(file.toStdString());
    IniVarLinker linker;
    linker.setOnIniReadWrite([&state](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
        sender.linkIntToIni("Churn", "Gen", state.generation);
        sender.linkObjToIni("Churn", "Lines", &state.lines);
    });
    linker.setIniMain(&store);
    store.read();
    state.readFailed = store.readFailed();
    return state;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestIniStoreProcesses : public QObject
{
    Q_OBJECT

private slots:
    void concurrentWritersKeepEveryKeyAndNeverShareTheLock();
    void killedWriterLeavesOldOrNewContentInFull();
};

void TestIniStoreProcesses::concurrentWritersKeepEveryKeyAndNeverShareTheLock()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("Quillbox.ini");
    const QString holdLog = dir.filePath("hold.log");

    std::vector<Worker> workers(writers);
    for (int w = 0; w < writers; ++w) {
        workers[w].start(
            {"write", file, QString::number(w), QString::number(roundsPerWriter), holdLog});
    }
    for (Worker &worker : workers) {
        QVERIFY(worker.process->waitForFinished(240000));
        QVERIFY2(worker.process->exitStatus() == QProcess::NormalExit &&
                     worker.process->exitCode() == 0,
                 qPrintable(worker.failure()));
    }

    QFile log(holdLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArrayList holds = log.readAll().split('\n');
    QByteArray holder;
    int lockedWrites = 0;
    for (const QByteArray &line : holds) {
        if (line.isEmpty())
            continue;
        if (line.startsWith('+')) {
            QVERIFY2(holder.isEmpty(), qPrintable("writer " + line.mid(1) +
                                                  " took the lock held by writer " + holder));
            holder = line.mid(1);
            ++lockedWrites;
        } else {
            QCOMPARE(line.mid(1), holder);
            holder.clear();
        }
    }
    QVERIFY(holder.isEmpty());
    // Every write holds the lock; reads take it when they can.
    QVERIFY(lockedWrites >= writers * roundsPerWriter);

    IniFileMain store;
    store.setFilename(file.toStdString());
    store.read();
    QVERIFY2(!store.readFailed(), store.lastError().c_str());
    for (int w = 0; w < writers; ++w) {
        for (int round = 1; round <= roundsPerWriter; ++round) {
            const std::string section = "Writer " + std::to_string(w);
            const std::string key = "Key " + std::to_string(round);
            QCOMPARE(store.readString(section, key, false),
                     std::to_string(w) + '/' + std::to_string(round));
        }
    }
    // No lock, temporary or side file is left behind.
    QCOMPARE(filesIn(dir.path()), QStringList({"Quillbox.ini", "hold.log"}));
}

// The worker is killed 0 to 20 ms after it started, again and again. Every load in between
// gives one whole generation, never a mix, never an older one, and never nothing once a save
// was seen; the moment between the two renames (no data file, the old content in the side
// file) is among those hit.
void TestIniStoreProcesses::killedWriterLeavesOldOrNewContentInFull()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("Quillbox.ini");
    const QString side = dir.filePath("Quillbox.tmp");
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    qInfo("kill moments from seed %u", seed);

    std::int32_t lastGeneration = 0;
    int sideOnly = 0;
    int dataAndSide = 0;
    for (int kill = 0; kill < kills; ++kill) {
        Worker worker;
        worker.start({"churn", file});
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20001)));
        worker.process->kill();
        QVERIFY(worker.process->waitForFinished(10000));
        QVERIFY2(worker.process->exitStatus() == QProcess::CrashExit, qPrintable(worker.failure()));

        const bool dataThere = QFile::exists(file);
        const bool sideThere = QFile::exists(side);
        sideOnly += !dataThere && sideThere;
        dataAndSide += dataThere && sideThere;

        const ChurnState state = loadChurned(file);
        const QByteArray where = QByteArray("after kill ") + QByteArray::number(kill) +
                                 (dataThere ? " with" : " without") + " data file," +
                                 (sideThere ? " with" : " without") + " side file";
        QVERIFY2(!state.readFailed, where.constData());
        QVERIFY2(state.generation >= lastGeneration, where.constData());
        if (state.generation == 0)
            QVERIFY2(state.lines.empty(), where.constData());
        else
            QVERIFY2(state.lines == churnLines(state.generation), where.constData());
        lastGeneration = state.generation;
    }
    const QStringList leftOver = filesIn(dir.path());
    const qsizetype tempFiles = leftOver.filter(QRegularExpression("^\\$+\\d*\\.tmp$")).size();
    qInfo("%d kills, %d generations saved, %d with only the side file, %d with data and side "
          "file, %d temporary and %d other files left in the folder",
          kills, lastGeneration, sideOnly, dataAndSide, int(tempFiles),
          int(leftOver.size() - tempFiles));
    QVERIFY(lastGeneration > 0);

    // One save that runs to its end removes every temporary file the killed saves left (the
    // saves of later workers removed the earlier ones), and with them the lock and side file.
    IniFileMain store;
    store.setFilename(file.toStdString());
    store.setEncrypt(true);
    store.read();
    QVERIFY2(!store.readFailed(), store.lastError().c_str());
    QVERIFY2(store.write(), store.lastError().c_str());
    QCOMPARE(filesIn(dir.path()), QStringList({"Quillbox.ini"}));
    QCOMPARE(loadChurned(file).generation, lastGeneration);
}

QTEST_GUILESS_MAIN(TestIniStoreProcesses)
#include "tst_inistoreprocesses.moc"
