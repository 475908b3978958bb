#include "delayobject.h"

#include <chrono>
#include <thread>

namespace {

DelayObject::Hook &currentHook()
{
    static DelayObject::Hook hook;
    return hook;
}

bool waiting = false;

} // namespace

void DelayObject::setHook(Hook hook)
{
    currentHook() = std::move(hook);
}

bool DelayObject::delay(int milliseconds)
{
    if (waiting)
        return false;
    waiting = true;
    const Hook hook = currentHook();
    bool completed = true;
    try {
        if (hook)
            completed = hook(milliseconds);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    } catch (...) {
        waiting = false;
        throw;
    }
    waiting = false;
    return completed;
}

bool DelayObject::isWaiting()
{
    return waiting;
}
