#include "check.h"
#include "inistore/delayobject.h"
#include "inistore/inifilemain.h"
#include "scenario.h"

namespace {

// Counts the waits between lock attempts instead of sleeping through them.
class CountedWaits
{
public:
    CountedWaits()
    {
        DelayObject::setHook([this](int) {
            ++m_count;
            return true;
        });
    }
    ~CountedWaits() { DelayObject::setHook(nullptr); }
    CountedWaits(const CountedWaits &) = delete;
    CountedWaits &operator=(const CountedWaits &) = delete;

    int count() const { return m_count; }

private:
    int m_count = 0;
};

void secondStoreWaitsForLock(const Place &place)
{
    CountedWaits waits;
    const std::string file = place.folder.path("Quillbox.ini");
    const std::string lock = place.folder.path("QuillIni.lck");
    IniFileMain first;
    IniFileMain second;
    first.setFilename(file);
    second.setFilename(file);
    checkDone(first.lockFile(), first, "the first store takes the lock");
    check(TestFolder::exists(lock), "the lock file stands while held");
    check(TestFolder::readBytes(lock) != "<missing>", "the held lock file can be read");
    check(!second.lockFile(), "a second store cannot take the lock");
    check(waits.count() == 10, "ten waits before giving up, not " + std::to_string(waits.count()));
    second.writeString("S", "k", "1", false);
    check(!second.write(), "a second store cannot write while the lock is held");
    check(!TestFolder::exists(file), "nothing written while the lock is held");

    first.unlockFile();
    check(!TestFolder::exists(lock), "the lock file is gone once released");
    checkDone(second.write(), second, "the second store writes once the lock is free");
    checkSame(TestFolder::readBytes(file), "[S]\r\nk=1\r\n\r\n", "file written after the wait");
    check(!TestFolder::exists(lock), "the lock file is gone after the write");
}

void lockInMissingFolderFailsAtOnce(const Place &place)
{
    CountedWaits waits;
    IniFileMain store;
    store.setFilename(place.folder.path("missing") + TestFolder::separator() + "Quillbox.ini");
    check(!store.lockFile(), "no lock in a folder that does not exist");
    check(waits.count() == 0, "no wait for a lock that cannot be made");
    store.read();
    check(!store.readFailed(), "a read there finds an empty store: " + store.lastError());
    check(waits.count() == 0, "no wait for the read either");
    check(!TestFolder::exists(place.folder.path("missing")), "the folder is not created");
}

// A lock file left behind by a process that ended is taken over at once.
void staleLockFileIsReused(const Place &place)
{
    CountedWaits waits;
    const std::string lock = place.folder.path("QuillIni.lck");
    check(TestFolder::writeBytes(lock, ""), "stale lock file left behind");
    IniFileMain store;
    store.setFilename(place.folder.path("Quillbox.ini"));
    checkDone(store.lockFile(), store, "the stale lock file is taken");
    check(waits.count() == 0, "without a wait");
    store.unlockFile();
    check(!TestFolder::exists(lock), "and deleted on release");
}

} // namespace

std::vector<Scenario> lockScenarios()
{
    return {
        {"lock held by one store blocks another until released", secondStoreWaitsForLock},
        {"lock in a missing folder fails at once", lockInMissingFolderFailsAtOnce},
        {"stale lock file is reused", staleLockFileIsReused},
    };
}
