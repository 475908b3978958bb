#include "signalpipe.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] is written by the handler, [1] read by the notifier.
int pipeEnds[2] = {-1, -1};

void onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalPipe::SignalPipe(const QList<int> &signalNumbers, QObject *parent)
    : QObject(parent), m_signalNumbers(signalNumbers)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0)
        return;
    // A handler must never block, even when signals come faster than they are read.
    ::fcntl(pipeEnds[0], F_SETFL, ::fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalPipe::readPipe);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : m_signalNumbers) {
        struct sigaction previous = {};
        sigaction(number, &action, &previous);
        m_previousActions.append(previous);
    }
}

SignalPipe::~SignalPipe()
{
    if (!m_notifier)
        return;
    for (qsizetype i = 0; i < m_signalNumbers.size(); ++i)
        sigaction(m_signalNumbers.at(i), &m_previousActions.at(i), nullptr);
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void SignalPipe::readPipe()
{
    char byte = 0;
    if (::read(pipeEnds[1], &byte, 1) == 1)
        emit signalled();
}
