// Ahead of every other header, for the reason given in windows_api.h.
#include "platform/windows/windows_api.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/windows/process_state.h"

namespace {

// The thread that ends the process; 0 while none has claimed it (no thread
// has the id 0).
std::atomic<DWORD> end_owner{0};

// How long a console read that came back empty waits for the interrupt that
// may have cut it short, in steps.
constexpr DWORD INTERRUPT_WAIT_STEP_MS = 10;
constexpr int INTERRUPT_WAIT_STEPS = 25;

[[noreturn]] void wait_for_the_end()
{
    for (;;)
        Sleep(INFINITE);
}

bool ending_elsewhere()
{
    const DWORD owner = end_owner.load();
    return owner != 0 && owner != GetCurrentThreadId();
}

void flush_both_streams()
{
    std::fflush(stdout);
    std::fflush(stderr);
}

} // namespace

namespace platform {

void prepare_process()
{
    // A drive without its medium fails its query instead of stopping the run
    // with a message box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

void hook_interrupt(void (*handler)(int))
{
    // The run-time calls the handler on the console's control thread and
    // resets the hook first, so a second Ctrl+C ends the process by default.
    std::signal(SIGINT, handler);
}

void claim_process_end()
{
    DWORD expected = 0;
    if (!end_owner.compare_exchange_strong(expected, GetCurrentThreadId()) && expected != GetCurrentThreadId())
        wait_for_the_end();
}

void end_at_once(int status)
{
    claim_process_end();
    flush_both_streams();
    ExitProcess(static_cast<UINT>(status));
}

void end_orderly(int status)
{
    claim_process_end();
    flush_both_streams();
    std::exit(status);
}

} // namespace platform

namespace platform::windows {

void wait_if_ending_elsewhere()
{
    if (ending_elsewhere())
        wait_for_the_end();
}

void wait_if_interrupt_follows()
{
    for (int step = 0; step < INTERRUPT_WAIT_STEPS; ++step) {
        wait_if_ending_elsewhere();
        Sleep(INTERRUPT_WAIT_STEP_MS);
    }
    wait_if_ending_elsewhere();
}

} // namespace platform::windows
