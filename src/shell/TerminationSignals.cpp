#include "shell/TerminationSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The write end of the current instance's socket pair; the handler may only touch this.
std::atomic<int> activeWriteFd { -1 };
TerminationSignals* activeInstance = nullptr;

extern "C" void forwardSignal(int signalNumber)
{
    const int fd = activeWriteFd.load();
    if (fd < 0)
        return;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe only means a signal is already pending: dropping this one is fine.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
}

void setDisposition(void (*handler)(int))
{
    struct sigaction action
    {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(Handler handler, QObject* parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_fds) != 0) {
        m_fds[0] = m_fds[1] = -1;
        return;
    }
    ::fcntl(m_fds[0], F_SETFL, ::fcntl(m_fds[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    activeInstance = this;
    activeWriteFd.store(m_fds[0]);
    setDisposition(forwardSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (activeInstance == this) {
        setDisposition(SIG_DFL);
        activeWriteFd.store(-1);
        activeInstance = nullptr;
    }
    for (int fd : m_fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(m_fds[1], &byte, 1) != 1)
        return;
    if (m_handler)
        m_handler(byte);
}
