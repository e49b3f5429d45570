#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include "platform/platform.h"
#include "platform/posix/process_state.h"

namespace {

std::atomic<bool> end_claimed{false};
thread_local bool end_claimed_here = false;

void (*interrupt_handler)(int) = nullptr;

[[noreturn]] void wait_for_the_end()
{
    for (;;)
        pause();
}

// Waits for the first interrupt, then hands it to the handler. From then on
// the signal is unblocked here with its default action, so that a second
// one ends the process at once.
void* wait_for_interrupt(void* blocked)
{
    const auto* signals = static_cast<const sigset_t*>(blocked);
    int signal_number = 0;
    while (sigwait(signals, &signal_number) != 0) {
    }
    pthread_sigmask(SIG_UNBLOCK, signals, nullptr);
    interrupt_handler(SIGINT);
    return nullptr;
}

void flush_and_restore()
{
    platform::posix::restore_terminal();
    std::fflush(stdout);
    std::fflush(stderr);
}

} // namespace

namespace platform {

void prepare_process()
{
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF)
            open("/dev/null", O_RDWR);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

void hook_interrupt(void (*handler)(int))
{
    static sigset_t interrupt_only;
    sigemptyset(&interrupt_only);
    sigaddset(&interrupt_only, SIGINT);
    interrupt_handler = handler;

    // Blocked before the thread exists, so that every thread inherits the
    // block and only sigwait sees the signal.
    if (pthread_sigmask(SIG_BLOCK, &interrupt_only, nullptr) != 0)
        return;
    std::signal(SIGINT, SIG_DFL);

    pthread_t waiter;
    if (pthread_create(&waiter, nullptr, wait_for_interrupt, &interrupt_only) != 0) {
        pthread_sigmask(SIG_UNBLOCK, &interrupt_only, nullptr);
        return;
    }
    pthread_detach(waiter);
}

void claim_process_end()
{
    if (end_claimed_here)
        return;
    if (end_claimed.exchange(true))
        wait_for_the_end();
    end_claimed_here = true;
}

void end_at_once(int status)
{
    claim_process_end();
    flush_and_restore();
    _exit(status);
}

void end_orderly(int status)
{
    claim_process_end();
    flush_and_restore();
    std::exit(status);
}

} // namespace platform

namespace platform::posix {

void wait_if_ending_elsewhere()
{
    if (end_claimed.load() && !end_claimed_here)
        wait_for_the_end();
}

} // namespace platform::posix
