#include "QuitSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler's only way out: it writes a byte into one end of a socket pair, and the event loop
// reads it from the other. The pair stays open for the life of the process, so a signal that comes
// late never writes to a descriptor that has been reused.
int g_pair[2] = {-1, -1};

extern "C" void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pair[1], &byte, 1);
    errno = saved;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        sigaction(number, &action, nullptr);
}

} // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent)
{
    // Non-blocking: a burst of signals must never stop the handler on a full pipe.
    if (g_pair[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair) != 0) {
        g_pair[0] = g_pair[1] = -1;
        return; // the signals keep their default action
    }
    m_notifier = new QSocketNotifier(g_pair[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_pair[0], bytes, sizeof bytes) > 0) {
        }
        Q_EMIT received(); // signals that came together are one request
    });
    setHandler(onSignal);
}

QuitSignals::~QuitSignals()
{
    if (m_notifier)
        setHandler(SIG_DFL);
}
