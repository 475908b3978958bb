// A separate process working on a shared INI file, for the tests that need real processes.
//
//   inistore_worker write <file> <writer> <rounds> <hold log>
//       Each round reads the file, stores the key "Key <round>" of the section
//       "Writer <writer>" and writes it back, retrying while the lock cannot be had. While it
//       holds the lock it appends "+<writer>" and "-<writer>" to the hold log, so that the
//       test can see that no two processes ever hold it at once.
//   inistore_worker churn <file>
//       Saves the file enciphered again and again until it is killed. Save number g holds
//       the key Churn;Gen=g and, in the list Churn Lines, churnLines(g).
//
// Exit codes: 0 done, 1 bad arguments, 2 a step failed (the reason goes to stderr).

#include "churnlines.h"
#include "inistore/inifilemain.h"
#include "inistore/inivarlinker.h"
#include "inistore/valuecodec.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void appendLine(const std::string &path, const std::string &line)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const std::string text = line + '\n';
    [[maybe_unused]] const ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
}

// Logs the moments it takes and gives back the lock.
class LoggingFileMain : public IniFileMain
{
public:
    LoggingFileMain(std::string holdLog, std::string writer)
        : m_holdLog(std::move(holdLog)), m_writer(std::move(writer))
    {
    }

    bool lockFile() override
    {
        if (!IniFileMain::lockFile())
            return false;
        appendLine(m_holdLog, '+' + m_writer);
        return true;
    }

    void unlockFile() override
    {
        if (isLocked())
            appendLine(m_holdLog, '-' + m_writer);
        IniFileMain::unlockFile();
    }

private:
    std::string m_holdLog;
    std::string m_writer;
};

int fail(const std::string &what, const IniBase &store)
{
    std::fprintf(stderr, "%s: %s\n", what.c_str(), store.lastError().c_str());
    return 2;
}

int runWriter(const std::string &file, const std::string &writer, int rounds,
              const std::string &holdLog)
{
    LoggingFileMain store(holdLog, writer);
    store.setFilename(file);
    const std::string section = "Writer " + writer;
    for (int round = 1; round <= rounds; ++round) {
        store.read();
        if (store.readFailed())
            return fail("read in round " + std::to_string(round), store);
        store.writeString(section, "Key " + std::to_string(round),
                          writer + '/' + std::to_string(round), false);
        int busy = 0;
        while (!store.write()) {
            if (store.readFailed() || ++busy > 100)
                return fail("write in round " + std::to_string(round), store);
        }
    }
    return 0;
}

int runChurn(const std::string &file)
{
    IniFileMain store;
    store.setFilename(file);
    store.setEncrypt(true);
    std::int32_t generation = 0;
    std::vector<std::string> lines;
    IniVarLinker linker;
    linker.setOnIniReadWrite([&](IniVarLinker &sender, IniVarLinker::VarLinkMode) {
        sender.linkIntToIni("Churn", "Gen", generation);
        sender.linkObjToIni("Churn", "Lines", &lines);
    });
    linker.setIniMain(&store);
    store.read();
    if (store.readFailed())
        return fail("read", store);
    for (;;) {
        ++generation;
        lines = churnLines(generation);
        if (!store.write())
            return fail("write of generation " + std::to_string(generation), store);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 5 && args[0] == "write") {
        const auto rounds = ValueCodec::decodeInt(args[3]);
        return rounds ? runWriter(args[1], args[2], *rounds, args[4]) : 1;
    }
    if (args.size() == 2 && args[0] == "churn")
        return runChurn(args[1]);
    std::fprintf(stderr, "usage: inistore_worker write FILE WRITER ROUNDS HOLDLOG | churn FILE\n");
    return 1;
}
