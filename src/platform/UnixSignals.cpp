#include "platform/UnixSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int handledSignals[] = { SIGINT, SIGTERM };

std::atomic<int> writeEnd { -1 };
int readEnd = -1;
struct sigaction previousActions[std::size(handledSignals)];

extern "C" void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = writeEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const char byte = char(signalNumber);
        // Non-blocking: when the pipe is full a quit is already pending.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

UnixSignals::UnixSignals(QObject* parent)
    : QObject(parent)
{
    Q_ASSERT(writeEnd.load() < 0);
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0)
        return;
    readEnd = fds[1];
    writeEnd.store(fds[0]);

    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(handledSignals); ++i)
        ::sigaction(handledSignals[i], &action, &previousActions[i]);

    m_notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignals::drain);
}

UnixSignals::~UnixSignals()
{
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < std::size(handledSignals); ++i)
        ::sigaction(handledSignals[i], &previousActions[i], nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(writeEnd.exchange(-1));
    ::close(readEnd);
    readEnd = -1;
}

void UnixSignals::drain()
{
    char buffer[64];
    int last = 0;
    ssize_t count = 0;
    while ((count = ::read(readEnd, buffer, sizeof(buffer))) > 0)
        last = static_cast<unsigned char>(buffer[count - 1]);
    // Several signals before the loop came round ask for one quit.
    if (last != 0)
        Q_EMIT quitRequested(last);
}
