#include "runningmarker.h"

#include <windows.h>

struct RunningMarker::Native
{
    HANDLE mutex = nullptr;
};

RunningMarker::RunningMarker(const QString &name) : m_native(std::make_unique<Native>())
{
    m_native->mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
}

RunningMarker::~RunningMarker()
{
    if (m_native->mutex)
        CloseHandle(m_native->mutex);
}

bool RunningMarker::isHeld() const
{
    return m_native->mutex != nullptr;
}
