#pragma once

#include <QString>
#include <memory>

// A mark outside tools can see while the program runs: the named mutex "quillboxrunningmutex"
// on Windows, a local server listening on that name elsewhere. It stops nothing: a second copy
// of the program starts as the first did.
class RunningMarker
{
public:
    static QString defaultName() { return QStringLiteral("quillboxrunningmutex"); }

    explicit RunningMarker(const QString &name = defaultName());
    ~RunningMarker();
    RunningMarker(const RunningMarker &) = delete;
    RunningMarker &operator=(const RunningMarker &) = delete;

    // Whether this process holds the mark (another copy may hold it already).
    bool isHeld() const;

private:
    struct Native;
    std::unique_ptr<Native> m_native;
};
