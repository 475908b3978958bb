// The store's conformance run: the same table of scenarios on every platform, natively and,
// cross-built, under Windows or Wine. Each scenario gets its own empty folder; the folder
// scenarios run once in an ASCII folder and once in a folder with a non-ASCII name.
//
//   inistore_conformance VECTORS WORK PROGRAM_FOLDER
//     VECTORS         the folder of the reference vectors (tests/data/vectors)
//     WORK            a scratch folder, emptied first
//     PROGRAM_FOLDER  the folder this program was started from

#include "check.h"
#include "programarguments.h"
#include "scenario.h"

#include <cstdio>

namespace {

// A folder name that no 8-bit code page holds whole.
constexpr const char *nonAsciiFolder = "Notizen-\xe6\x97\xa5\xe6\x9c\xac";

class Run
{
public:
    explicit Run(std::vector<std::string> arguments) : m_arguments(std::move(arguments)) {}

    void scenarios(const std::vector<Scenario> &table, const std::string &root,
                   const std::string &label)
    {
        for (const Scenario &scenario : table) {
            const TestFolder folder(root, folderName(++m_count));
            Check::begin();
            scenario.run(Place{folder, m_arguments[0], m_arguments[2]});
            std::string name = scenario.name;
            name += label;
            if (Check::failures().empty()) {
                ++m_passed;
                std::printf("PASS  %s\n", name.c_str());
            } else {
                ++m_failed;
                std::printf("FAIL  %s\n", name.c_str());
                for (const std::string &failure : Check::failures())
                    std::printf("      %s\n", failure.c_str());
            }
        }
    }

    // "s1", "s2" … (built up in steps: GCC 12 warns wrongly about "s" + std::string).
    static std::string folderName(int number)
    {
        std::string name = "s";
        name += std::to_string(number);
        return name;
    }

    int finish() const
    {
        std::printf("%d passed, %d failed\n", m_passed, m_failed);
        return m_failed == 0 ? 0 : 1;
    }

private:
    std::vector<std::string> m_arguments;
    int m_count = 0;
    int m_passed = 0;
    int m_failed = 0;
};

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> arguments = programArguments(argc, argv);
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: inistore_conformance VECTORS WORK PROGRAM_FOLDER\n");
        return 2;
    }
    const std::string work = arguments[1];
    Run run(std::move(arguments));
    const TestFolder once(work, "once");
    run.scenarios(cipherScenarios(), once.path(), "");
    run.scenarios(fileNameScenarios(), once.path(), "");
    for (const std::string &name : {std::string("ascii"), std::string(nonAsciiFolder)}) {
        const TestFolder root(work, name);
        const std::string label = " [" + name + "]";
        for (const auto &table : {roundTripScenarios(), mergeScenarios(), lockScenarios(),
                                  replaceScenarios(), backupScenarios()})
            run.scenarios(table, root.path(), label);
    }
    std::fflush(stdout);
    return run.finish();
}
