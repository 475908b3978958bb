#pragma once

#include <functional>

// The one process-wide wait of the store (between lock-file attempts). The wait itself is a
// replaceable hook: by default it sleeps; a GUI layer points it at its event loop so that
// the program keeps handling messages while it waits. A wait started while another wait is
// running (from a handler called inside it) returns false at once.
class DelayObject
{
public:
    // hook(ms) waits about ms milliseconds and returns false when the wait was cancelled.
    using Hook = std::function<bool(int ms)>;

    // An empty hook restores the default sleep.
    static void setHook(Hook hook);
    static bool delay(int milliseconds);
    static bool isWaiting();
};
