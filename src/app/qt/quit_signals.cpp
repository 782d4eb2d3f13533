#include "quit_signals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_nWriteFd = -1;

void OnQuitSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    if (g_nWriteFd >= 0) {
        [[maybe_unused]] const auto n = write(g_nWriteFd, &byte, 1);
    }
    errno = savedErrno;
}

void SetHandler(void (*handler)(int))
{
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> onQuit, QObject* parent)
    : QObject(parent), m_onQuit(std::move(onQuit))
{
    if (pipe2(m_fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    g_nWriteFd = m_fds[1];
    auto* notifier = new QSocketNotifier(m_fds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &QuitSignals::OnSignalByte);
    SetHandler(OnQuitSignal);
}

QuitSignals::~QuitSignals()
{
    if (m_fds[0] < 0) {
        return;
    }
    SetHandler(SIG_DFL);
    g_nWriteFd = -1;
    close(m_fds[0]);
    close(m_fds[1]);
}

void QuitSignals::OnSignalByte()
{
    char bytes[16];
    while (read(m_fds[0], bytes, sizeof bytes) > 0) {
    }
    m_onQuit();
}
