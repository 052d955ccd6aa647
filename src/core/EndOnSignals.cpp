// The self-pipe way: the handler only writes the signal's number to a socket; the event loop
// reads it and ends itself, since almost nothing is safe to call inside a signal handler.
#include "EndOnSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
int signalSocket[2] = {-1, -1};

void OnTerminationSignal(int signalNumber)
{
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // Nothing useful can be done when the write fails: the socket buffer is full of earlier
    // signals, which end the loop all the same.
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &number, 1);
}

// An exit asked for before the main loop runs (a signal handled while the program is still
// starting) would be forgotten once the loop starts, so it waits for a running loop.
void ExitOnceTheLoopRuns()
{
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
    else
        QTimer::singleShot(10, QCoreApplication::instance(), ExitOnceTheLoopRuns);
}
}  // namespace

void EndEventLoopOnTerminationSignals()
{
    if (signalSocket[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        unsigned char number = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], &number, 1);
        for (const int signalNumber : kSignals)
            std::signal(signalNumber, SIG_DFL);
        notifier->setEnabled(false);
        ExitOnceTheLoopRuns();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}
