#pragma once

#include <functional>

// Two pieces of work at once where a second thread can be had.
namespace SideBySide {

// Runs beside on a second thread while here runs on this one; both one after the other when no
// thread can be had. Returns when both are done, also when here() throws (beside() must not).
void run(const std::function<void()> &here, const std::function<void()> &beside);

} // namespace SideBySide
