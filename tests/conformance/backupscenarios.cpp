#include "check.h"
#include "inistore/inifilemain.h"
#include "scenario.h"

#include <cstdio>

namespace {

using Names = std::vector<std::string>;

std::string backupName(int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "Quillbox.%03d", number);
    return name;
}

// Five backups Quillbox.000 to .004 made minutes ago as given; .002 is the oldest.
void fiveBackups(const std::string &folder, const std::string &newestContent)
{
    check(TestFolder::makeFolder(folder), "backup folder made");
    const int ages[] = {50, 40, 90, 30, 20};
    for (int i = 0; i < 5; ++i) {
        const std::string name = folder + TestFolder::separator() + backupName(i);
        check(TestFolder::writeBytes(name, i == 4 ? newestContent : std::string(100 + i, 'x')),
              "backup " + backupName(i) + " written");
        check(TestFolder::setAge(name, ages[i]), "age of " + backupName(i) + " set");
    }
}

void backupsAreNumbered(const Place &place)
{
    const std::string backups = place.folder.path("Sicherungen");
    IniFileMain store;
    store.setFilename(place.folder.path("Quillbox.ini"));
    store.setEncrypt(true);
    store.setBackupDirectory(backups);
    // One seed for every save: the seed's own length would change the file's size.
    IniFileMain::setClock([] { return std::uint32_t(51155566); });
    std::string text = "a";
    for (int save = 0; save < 3; ++save) {
        text += "a";
        store.writeString("Notes", "Text", text, false);
        checkDone(store.write(), store, "write " + std::to_string(save));
        checkSame(TestFolder::readBytes(backups + TestFolder::separator() + backupName(save)),
                  TestFolder::readBytes(place.folder.path("Quillbox.ini")),
                  backupName(save) + " holds the saved file");
    }
    IniFileMain::setClock(nullptr);
    check(TestFolder::names(backups) == Names{backupName(0), backupName(1), backupName(2)},
          "the folder was created and holds three numbered backups");
}

void rotationKeepsFive(const Place &place)
{
    const std::string backups = place.folder.path("Sicherungen");
    fiveBackups(backups, "newest");
    IniFileMain store;
    store.setFilename(place.folder.path("Quillbox.ini"));
    store.setBackupDirectory(backups + TestFolder::separator());
    checkDone(store.saveLines(LineBuffer{"new content"}), store, "save");
    check(TestFolder::names(backups) ==
              Names{backupName(0), backupName(1), backupName(2), backupName(3), backupName(4)},
          "five backups kept");
    checkSame(TestFolder::readBytes(backups + TestFolder::separator() + backupName(2)),
              "new content\r\n", "the oldest gave its number to the new copy");
}

void sameSizeIsSkipped(const Place &place)
{
    const std::string backups = place.folder.path("Sicherungen");
    fiveBackups(backups, "same size\r\n");
    IniFileMain store;
    store.setFilename(place.folder.path("Quillbox.ini"));
    store.setBackupDirectory(backups);
    checkDone(store.saveLines(LineBuffer{"same.size"}), store, "save");
    check(TestFolder::names(backups) ==
              Names{backupName(0), backupName(1), backupName(3), backupName(4)},
          "no copy of the newest backup's size, but the oldest still goes");
}

// Backups kept beside the data file never take the data file or its side file.
void rotationSparesDataAndSideFile(const Place &place)
{
    for (int i = 2; i <= 6; ++i) {
        const std::string name = place.folder.path(backupName(i));
        check(TestFolder::writeBytes(name, "backup"), "backup written");
        check(TestFolder::setAge(name, 100 - i), "backup aged");
    }
    check(TestFolder::writeBytes(place.folder.path("Quillbox.chm"), "other"), "other file");
    IniFileMain store;
    store.setFilename(place.folder.path(backupName(1)));
    store.setBackupDirectory(place.folder.path());
    checkDone(store.saveLines(LineBuffer{"old"}), store, "first save");
    checkDone(store.saveLines(LineBuffer{"newer"}), store, "second save");
    checkSame(TestFolder::readBytes(place.folder.path(backupName(1))), "newer\r\n",
              "the data file named like a backup");
    checkSame(TestFolder::readBytes(place.folder.path(backupName(2))), "newer\r\n",
              "the second copy");
    check(TestFolder::names(place.folder.path()) ==
              Names{backupName(0), backupName(1), backupName(2), backupName(4), backupName(5),
                    backupName(6), "Quillbox.chm"},
          "the two oldest backups went, the data file and other files stayed");
}

} // namespace

std::vector<Scenario> backupScenarios()
{
    return {
        {"backups are numbered from 000 in a new folder", backupsAreNumbered},
        {"backup rotation keeps five", rotationKeepsFive},
        {"backup of the newest backup's size is skipped", sameSizeIsSkipped},
        {"backup rotation spares the data and side file", rotationSparesDataAndSideFile},
    };
}
