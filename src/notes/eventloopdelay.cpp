#include "eventloopdelay.h"

#include "inistore/delayobject.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

bool waitHandlingEvents(int milliseconds)
{
    QEventLoop loop;
    bool elapsed = false;
    QTimer::singleShot(milliseconds, &loop, [&loop, &elapsed] {
        elapsed = true;
        loop.quit();
    });
    loop.exec();
    return elapsed;
}

} // namespace

void installEventLoopDelay()
{
    DelayObject::setHook(waitHandlingEvents);
}
