#include "platform/linux/UnixSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// [0] is read in the event loop, [1] written by the handler; -1 while no object is active.
int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe, errno left as it was.
void OnSignal(int signalNumber) {
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void Install(int signalNumber, struct sigaction &previous) {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, &previous);
}
} // namespace

TUnixSignals::TUnixSignals(QObject *parent) : QObject(parent) {
    if (signalPipe[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    // A burst of signals must never block the handler; extra bytes are simply lost.
    ::fcntl(signalPipe[1], F_SETFL, ::fcntl(signalPipe[1], F_GETFL) | O_NONBLOCK);
    ::fcntl(signalPipe[0], F_SETFL, ::fcntl(signalPipe[0], F_GETFL) | O_NONBLOCK);
    notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TUnixSignals::Drain);
    Install(SIGTERM, previousTerm);
    Install(SIGINT, previousInt);
}

TUnixSignals::~TUnixSignals() {
    if (!notifier) return;
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::sigaction(SIGINT, &previousInt, nullptr);
    delete notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void TUnixSignals::Drain() {
    char byte = 0;
    while (::read(signalPipe[0], &byte, 1) == 1)
        Q_EMIT TerminationRequested(int(byte));
}
