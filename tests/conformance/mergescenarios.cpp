#include "check.h"
#include "inistore/inifilemain.h"
#include "scenario.h"

namespace {

void anotherStoresKeySurvives(const Place &place, bool encrypt)
{
    const std::string file = place.folder.path("Quillbox.ini");
    IniFileMain mine;
    IniFileMain theirs;
    mine.setFilename(file);
    theirs.setFilename(file);
    mine.setEncrypt(encrypt);
    theirs.setEncrypt(encrypt);
    theirs.writeString("Notes", "Theirs", "1", false);
    theirs.writeString("Notes", "Shared", "theirs", false);
    checkDone(theirs.write(), theirs, "their first write");
    mine.read();
    check(!mine.readFailed(), "my read: " + mine.lastError());
    mine.writeString("Notes", "Shared", "mine", false);
    mine.writeString("Notes", "Mine", "1", false);
    theirs.writeString("Notes", "Theirs", "2", false);
    checkDone(theirs.write(), theirs, "their second write");
    checkDone(mine.write(), mine, "my write");

    IniFileMain reader;
    reader.setFilename(file);
    reader.read();
    checkSame(reader.readString("Notes", "Theirs", false), "2", "their key as they last wrote it");
    checkSame(reader.readString("Notes", "Shared", false), "mine", "the key both wrote");
    checkSame(reader.readString("Notes", "Mine", false), "1", "my key");
}

// Lines of another user block stay, with their markers, after the rewritten block 0.
void userBlocksKept(const Place &place)
{
    const std::string file = place.folder.path("Quillbox.ini");
    check(TestFolder::writeBytes(file, "[Notes]\r\nOld=1\r\n\r\n"
                                       "[**2; another program]\r\n[Other]\r\nforeign=yes\r\n"
                                       "no equals sign\r\n"
                                       "[**0]\r\n[Notes]\r\nBack=1\r\n"),
          "file with a user block written");
    IniFileMain store;
    store.setFilename(file);
    store.read();
    checkSame(store.readString("Other", "foreign", false), "", "block 2 carries no entry");
    checkSame(store.readString("Notes", "Back", false), "1", "block 0 again after its marker");
    store.writeString("Notes", "New", "2", false);
    checkDone(store.write(), store, "write");
    checkSame(TestFolder::readBytes(file),
              "[Notes]\r\nBack=1\r\nNew=2\r\nOld=1\r\n\r\n"
              "[**2; another program]\r\n[Other]\r\nforeign=yes\r\nno equals sign\r\n",
              "file after the write");
}

} // namespace

std::vector<Scenario> mergeScenarios()
{
    return {
        {"merge keeps another store's key (plain)",
         [](const Place &place) { anotherStoresKeySurvives(place, false); }},
        {"merge keeps another store's key (enciphered)",
         [](const Place &place) { anotherStoresKeySurvives(place, true); }},
        {"merge keeps other user blocks", userBlocksKept},
    };
}
