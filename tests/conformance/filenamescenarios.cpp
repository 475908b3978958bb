#include "check.h"
#include "inistore/inifilemain.h"
#include "scenario.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

// One file-name rule: the name given and the names the store makes of it. "<program>"
// stands for the program folder and "<windows>" for the Windows directory, each with its
// trailing separator; an empty lock, side or temporary name is not checked (a temporary
// name is looked for on the disk, and a network path must not reach out to the network).
struct NameRule
{
    const char *name;
    const char *filename;
    const char *full;
    const char *lock;
    const char *side;
    const char *temp;
};

#ifdef _WIN32
const NameRule rules[] = {
    {"drive letter", "C:\\Daten\\x.ini", "C:\\Daten\\x.ini", "C:\\Daten\\xIni.lck",
     "C:\\Daten\\x.tmp", "C:\\Daten\\$$$$$$$$.tmp"},
    {"drive letter, blanks trimmed", "  C:\\Daten\\Quillbox.ini  ", "C:\\Daten\\Quillbox.ini",
     "C:\\Daten\\QuillIni.lck", "C:\\Daten\\Quillbox.tmp", "C:\\Daten\\$$$$$$$$.tmp"},
    {"drive letter, forward slashes", "D:/Daten/ab.c.ini", "D:/Daten/ab.c.ini",
     "D:/Daten/abIni.lck", "D:/Daten/ab.c.tmp", "D:/Daten/$$$$$$$$.tmp"},
    {"drive-relative name", "C:notes", "C:notes", "C:notesIni.lck", "C:notes.tmp", ""},
    {"network path", "\\\\server\\share\\notes.ini", "\\\\server\\share\\notes.ini",
     "\\\\server\\share\\notesIni.lck", "\\\\server\\share\\notes.tmp", ""},
    {"bare name in the Windows directory", "x.ini", "<windows>x.ini", "<windows>xIni.lck",
     "<windows>x.tmp", "<windows>$$$$$$$$.tmp"},
    {"bare name with a folder in the Windows directory", "sub\\x.ini", "<windows>sub\\x.ini",
     "<windows>sub\\xIni.lck", "<windows>sub\\x.tmp", ""},
    {"leading dot in the program folder", ".Quillbox.ini", "<program>Quillbox.ini",
     "<program>QuillIni.lck", "<program>Quillbox.tmp", "<program>$$$$$$$$.tmp"},
    {"data file ending in .tmp", "C:\\d\\x.tmp", "C:\\d\\x.tmp", "C:\\d\\xIni.lck",
     "C:\\d\\x.tmp.tmp", ""},
};
#else
const NameRule rules[] = {
    {"absolute path", "/daten/x.ini", "/daten/x.ini", "/daten/xIni.lck", "/daten/x.tmp",
     "/daten/$$$$$$$$.tmp"},
    {"absolute path, blanks trimmed", "  /daten/Quillbox.ini  ", "/daten/Quillbox.ini",
     "/daten/QuillIni.lck", "/daten/Quillbox.tmp", "/daten/$$$$$$$$.tmp"},
    {"drive letter kept as it stands", "C:\\Daten\\x.ini", "C:\\Daten\\x.ini", "", "", ""},
    {"network path kept as it stands", "\\\\server\\share\\x.ini", "\\\\server\\share\\x.ini", "",
     "", ""},
    {"bare name in the program folder", "x.ini", "<program>x.ini", "<program>xIni.lck",
     "<program>x.tmp", "<program>$$$$$$$$.tmp"},
    {"leading dot in the program folder", ".Quillbox.ini", "<program>Quillbox.ini",
     "<program>QuillIni.lck", "<program>Quillbox.tmp", "<program>$$$$$$$$.tmp"},
    {"hidden file", "/d/.notes.ini", "/d/.notes.ini", "/d/notesIni.lck", "/d/.notes.tmp", ""},
    {"data file ending in .tmp", "/d/x.tmp", "/d/x.tmp", "/d/xIni.lck", "/d/x.tmp.tmp", ""},
};
#endif

std::string windowsFolder()
{
    const char *windir = std::getenv("windir");
    return windir ? std::string(windir) + '\\' : std::string("<no windir>");
}

std::string expand(std::string text)
{
    const std::pair<std::string, std::string> places[] = {
        {"<program>", IniFileMain::programFolder()}, {"<windows>", windowsFolder()}};
    for (const auto &[placeholder, folder] : places) {
        if (text.rfind(placeholder, 0) == 0)
            text.replace(0, placeholder.size(), folder);
    }
    return text;
}

void checkRule(const NameRule &rule)
{
    IniFileMain store;
    store.setFilename(rule.filename);
    checkSame(store.fullFileName(), expand(rule.full), std::string(rule.name) + ": full name");
    const std::pair<const char *, std::string (IniFileMain::*)() const> companions[] = {
        {rule.lock, &IniFileMain::lockFileName},
        {rule.side, &IniFileMain::sideFileName},
        {rule.temp, &IniFileMain::tempFileName}};
    for (const auto &[expected, name] : companions) {
        if (*expected)
            checkSame((store.*name)(), expand(expected), std::string(rule.name) + ": companion");
    }
}

void programFolderIsWhereProgramRuns(const Place &place)
{
    const std::string folder = IniFileMain::programFolder();
    check(!folder.empty() && folder.back() == TestFolder::separator(),
          "the program folder ends in a separator: " + folder);
    // Names compared as they stand, or as files where links may stand between (MinGW's
    // equivalent() cannot open folders).
    const auto found = TestFolder::toPath(folder).parent_path().lexically_normal();
    const auto expected = TestFolder::toPath(place.programFolder).lexically_normal();
    std::error_code code;
    check(found == expected || std::filesystem::equivalent(found, expected, code),
          "the program folder " + folder + " is " + place.programFolder);
}

} // namespace

std::vector<Scenario> fileNameScenarios()
{
    std::vector<Scenario> scenarios{
        {"program folder is where the program runs", programFolderIsWhereProgramRuns}};
    for (const NameRule &rule : rules)
        scenarios.push_back({std::string("file name rule: ") + rule.name,
                             [&rule](const Place &) { checkRule(rule); }});
    return scenarios;
}
