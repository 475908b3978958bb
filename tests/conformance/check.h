#pragma once

#include <string>
#include <vector>

class IniBase;

// The outcome of the scenario that runs now: every check that did not hold, in order.
class Check
{
public:
    // Starts a new scenario with no failures.
    static void begin();
    static void record(bool condition, const std::string &what);
    static const std::vector<std::string> &failures();
};

// Records `what` as a failure of the running scenario unless condition holds.
void check(bool condition, const std::string &what);
// Records a failure that shows both byte strings (non-printable bytes escaped) unless equal.
void checkSame(const std::string &actual, const std::string &expected, const std::string &what);
// Records `what` with the store's reason unless the step (already run) was done; the
// reason is read here, after the step, whatever order the arguments were evaluated in.
void checkDone(bool done, const IniBase &store, const std::string &what);
