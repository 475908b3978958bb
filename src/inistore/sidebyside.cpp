#include "sidebyside.h"

#include <optional>
#include <system_error>
#include <thread>

namespace SideBySide {

void run(const std::function<void()> &here, const std::function<void()> &beside)
{
    std::optional<std::thread> second;
    try {
        second.emplace(beside);
    } catch (const std::system_error &) {
    }
    if (!second) {
        here();
        beside();
        return;
    }
    // The second thread is waited for however here() ends: a thread dropped while it runs
    // would end the program.
    struct Join
    {
        std::thread &thread;
        ~Join() { thread.join(); }
    } join{*second};
    here();
}

} // namespace SideBySide
