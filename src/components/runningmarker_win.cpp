#include "runningmarker.h"

#include <windows.h>

struct RunningMarker::Native
{
    HANDLE mutex = nullptr;

    ~Native()
    {
        if (mutex)
            CloseHandle(mutex);
    }
};

RunningMarker::RunningMarker(const QString &name, QObject *parent)
    : QObject(parent), m_native(std::make_unique<Native>())
{
    m_native->mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    listen(serverAddress(name));
}

RunningMarker::~RunningMarker() = default;

QString RunningMarker::serverAddress(const QString &name)
{
    // Pipe names are shared by every session of the machine: the user's name keeps each
    // user's pipe apart, and the server opens it to this user only.
    return name + u'-' + qEnvironmentVariable("USERNAME");
}
