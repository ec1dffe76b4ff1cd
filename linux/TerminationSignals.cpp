#include "linux/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace TerminationSignals {
namespace {

constexpr int Signals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};
int pipeEnds[2] = {-1, -1};

void note(int signal) {
    const int saved = errno;
    const char number = char(signal);
    (void)!::write(pipeEnds[1], &number, 1);
    errno = saved;
}

} // namespace

void catchThem() {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their usual effect
    struct sigaction action {};
    action.sa_handler = note;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : Signals)
        ::sigaction(signal, &action, nullptr);
}

void actOnThemFromEventLoop() {
    if (pipeEnds[0] < 0)
        return;
    auto* notifier =
        new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char number = 0;
        if (::read(pipeEnds[0], &number, 1) != 1)
            return;
        std::signal(number, SIG_DFL);
        std::raise(number);
    });
}

} // namespace TerminationSignals
