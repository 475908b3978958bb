#include "sessionendwatcher.h"

#include <QGuiApplication>

#ifndef Q_OS_WIN
#include "signalpipe.h"
#endif

SessionEndWatcher::SessionEndWatcher(QObject *parent) : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &SessionEndWatcher::endRequested);
#ifndef Q_OS_WIN
    auto *signalPipe = new SignalPipe({SIGTERM, SIGHUP, SIGINT}, this);
    connect(signalPipe, &SignalPipe::signalled, this, &SessionEndWatcher::endRequested);
#endif
}
