#pragma once

#include "testfolder.h"

#include <functional>
#include <string>
#include <vector>

// What a scenario is given: its own empty folder, the folder of the reference vectors and
// the folder the running program was started from, as its starter knows it.
struct Place
{
    const TestFolder &folder;
    std::string vectors;
    std::string programFolder;
};

// One row of the conformance table: a name and the checks it runs.
struct Scenario
{
    std::string name;
    std::function<void(const Place &)> run;
};

// The scenarios of each group. Those of cipherScenarios and fileNameScenarios need no folder
// and run once; every other group runs in an ASCII folder and again in a folder with a
// non-ASCII name.
std::vector<Scenario> cipherScenarios();
std::vector<Scenario> fileNameScenarios();
std::vector<Scenario> roundTripScenarios();
std::vector<Scenario> mergeScenarios();
std::vector<Scenario> lockScenarios();
std::vector<Scenario> replaceScenarios();
std::vector<Scenario> backupScenarios();
