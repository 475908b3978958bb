#include "check.h"
#include "heldfile.h"
#include "inistore/inifilemain.h"
#include "scenario.h"

#include <fstream>

namespace {

using Names = std::vector<std::string>;

// Makes its n-th rename (counted from 1) fail as a full disk or a virus scanner would.
class RefusingFileMain : public IniFileMain
{
public:
    int refusedRename = 0;

protected:
    bool renameFile(const std::string &from, const std::string &to, std::string &error) override
    {
        if (++m_renames == refusedRename) {
            error = "refused by the conformance run";
            return false;
        }
        return IniFileMain::renameFile(from, to, error);
    }

private:
    int m_renames = 0;
};

void saveLeavesOnlyDataFile(const Place &place)
{
    const std::string file = place.folder.path("Quillbox.ini");
    IniFileMain store;
    store.setFilename(file);
    store.setEncrypt(true);
    store.writeString("Notes", "First", "1", false);
    checkDone(store.write(), store, "first write");
    check(TestFolder::names(place.folder.path()) == Names{"Quillbox.ini"},
          "only the data file after the first save");
    store.writeString("Notes", "Second", "2", false);
    checkDone(store.write(), store, "second write");
    check(TestFolder::names(place.folder.path()) == Names{"Quillbox.ini"},
          "no temporary, side or lock file after a save over an existing file");
}

void saveTakesNextFreeTempName(const Place &place)
{
    const std::string taken = place.folder.path("$$$$$$$$.tmp");
    check(TestFolder::writeBytes(taken, "someone else's"), "temporary name taken");
    IniFileMain store;
    store.setFilename(place.folder.path("Quillbox.ini"));
    checkSame(store.tempFileName(), place.folder.path("$$$$$$$1.tmp"), "next temporary name");
    store.writeString("S", "k", "1", false);
    {
        const HeldFile writer(taken);
        check(writer.isHeld(), "the taken name is held as a save in progress holds it");
        checkDone(store.write(), store, "write");
        checkSame(TestFolder::readBytes(taken), "someone else's", "a held file is untouched");
        check(TestFolder::names(place.folder.path()) == Names{"$$$$$$$$.tmp", "Quillbox.ini"},
              "the new content went through $$$$$$$1.tmp");
    }
    store.writeString("S", "k", "2", false);
    checkDone(store.write(), store, "write once the other save is gone");
    check(TestFolder::names(place.folder.path()) == Names{"Quillbox.ini"},
          "the stale temporary file is removed");
}

// The system refuses to move the data file aside (a folder stands at the side name).
void refusedRenameIsReported(const Place &place)
{
    const std::string file = place.folder.path("Quillbox.ini");
    const std::string side = place.folder.path("Quillbox.tmp");
    check(TestFolder::writeBytes(file, "[S]\r\nk=old\r\n"), "data file written");
    check(TestFolder::makeFolder(side), "folder at the side name");
    check(TestFolder::writeBytes(side + TestFolder::separator() + "inside", "x"),
          "the folder is not empty");
    IniFileMain store;
    store.setFilename(file);
    store.read();
    store.writeString("S", "k", "new", false);
    check(!store.write(), "the write reports the refused rename");
    check(!store.lastError().empty(), "with a reason");
    checkSame(TestFolder::readBytes(file), "[S]\r\nk=old\r\n", "the data file is unchanged");
    check(!TestFolder::exists(place.folder.path("QuillIni.lck")), "the lock is released");
}

// The new file cannot take the data file's place: the old content stays in the side file,
// the next load reads it and the next save puts a new data file in place.
void refusedMoveIntoPlaceKeepsSideFile(const Place &place)
{
    const std::string file = place.folder.path("Quillbox.ini");
    const std::string side = place.folder.path("Quillbox.tmp");
    check(TestFolder::writeBytes(file, "[S]\r\nk=old\r\n"), "data file written");
    RefusingFileMain store;
    store.setFilename(file);
    store.read();
    store.writeString("S", "k", "new", false);
    store.refusedRename = 2;
    check(!store.write(), "the write reports the refused rename");
    check(!TestFolder::exists(file), "no data file");
    checkSame(TestFolder::readBytes(side), "[S]\r\nk=old\r\n", "the old content in the side file");
    checkSame(TestFolder::readBytes(place.folder.path("$$$$$$$$.tmp")), "[S]\r\nk=new\r\n\r\n",
              "the new content in the temporary file");

    IniFileMain next;
    next.setFilename(file);
    next.read();
    checkSame(next.readString("S", "k", false), "old", "a load reads the side file");
    next.writeString("S", "other", "2", false);
    checkDone(next.write(), next, "the next save");
    checkSame(TestFolder::readBytes(file), "[S]\r\nk=old\r\nother=2\r\n\r\n", "new data file");
    check(!TestFolder::exists(side), "the side file goes once the data file stands");
}

void sideFileAloneIsRecovered(const Place &place)
{
    const std::string file = place.folder.path("Quillbox.ini");
    const std::string side = place.folder.path("Quillbox.tmp");
    check(TestFolder::writeBytes(side, "[S]\r\nold=1\r\n"), "only a side file");
    IniFileMain store;
    store.setFilename(file);
    store.read();
    check(!store.readFailed(), "read: " + store.lastError());
    checkSame(store.readString("S", "old", false), "1", "the side file's value");
    store.writeString("S", "new", "2", false);
    checkDone(store.write(), store, "write");
    checkSame(TestFolder::readBytes(file), "[S]\r\nnew=2\r\nold=1\r\n\r\n", "data file");
    check(TestFolder::names(place.folder.path()) == Names{"Quillbox.ini"}, "the side file is gone");
}

// Another program reads the data file while a save runs. Windows refuses to move a file that
// is open without delete sharing (as the C library opens it): the save must say so and
// leave the old content in place. POSIX moves it; the reader keeps the old content.
void dataFileOpenElsewhere(const Place &place)
{
    const std::string file = place.folder.path("Quillbox.ini");
    check(TestFolder::writeBytes(file, "[S]\r\nk=old\r\n"), "data file written");
    IniFileMain store;
    store.setFilename(file);
    store.read();
    store.writeString("S", "k", "new", false);
    {
        std::ifstream reader(TestFolder::toPath(file), std::ios::binary);
        check(static_cast<bool>(reader), "the data file is open elsewhere");
#ifdef _WIN32
        check(!store.write(), "the save reports the file in use");
        check(!store.lastError().empty(), "with a reason");
        checkSame(TestFolder::readBytes(file), "[S]\r\nk=old\r\n", "the data file is unchanged");
        check(!TestFolder::exists(place.folder.path("Quillbox.tmp")), "no side file");
#else
        checkDone(store.write(), store, "the save");
#endif
        check(!TestFolder::exists(place.folder.path("QuillIni.lck")), "the lock is released");
    }
    checkDone(store.write(), store, "the save once the file is closed");
    checkSame(TestFolder::readBytes(file), "[S]\r\nk=new\r\n\r\n", "the new content");
}

void saveIntoMissingFolderMovesNothing(const Place &place)
{
    IniFileMain store;
    store.setFilename(place.folder.path("missing") + TestFolder::separator() + "Quillbox.ini");
    check(!store.saveLines(LineBuffer{"new"}), "a save into a missing folder fails");
    check(!store.lastError().empty(), "with a reason");
    check(TestFolder::names(place.folder.path()).empty(), "and leaves nothing behind");
}

} // namespace

std::vector<Scenario> replaceScenarios()
{
    return {
        {"save leaves no temporary, side or lock file", saveLeavesOnlyDataFile},
        {"save takes the next free temporary name", saveTakesNextFreeTempName},
        {"rename refused by the system is reported", refusedRenameIsReported},
        {"failed move into place keeps the side file", refusedMoveIntoPlaceKeepsSideFile},
        {"side file alone is recovered", sideFileAloneIsRecovered},
        {"save into a missing folder moves nothing", saveIntoMissingFolderMovesNothing},
        {"data file open elsewhere during a save", dataFileOpenElsewhere},
    };
}
