#include "platform/UnixSignals.h"

#include "platform/GuiThreadWait.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
std::atomic<bool> terminateRequest{false};
static_assert(std::atomic<bool>::is_always_lock_free);

const int stopSignals[] = {SIGTERM, SIGHUP, SIGINT};

void onSignal(int)
{
    terminateRequest = true;
    // A request that the GUI thread waits for ends at once; the close follows from the loop.
    GuiThreadWait::requestStop();
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

UnixSignals::UnixSignals(QObject* parent) : QObject(parent)
{
    terminateRequest = false;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const auto read = ::read(signalPipe[0], &byte, 1);
        emit terminateRequested();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int stop : stopSignals)
        sigaction(stop, &action, nullptr);
}

UnixSignals::~UnixSignals()
{
    for (const int stop : stopSignals)
        signal(stop, SIG_DFL);
}

bool UnixSignals::isTerminateRequested() const
{
    return terminateRequest;
}
