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
    here();
    if (second)
        second->join();
    else
        beside();
}

} // namespace SideBySide
