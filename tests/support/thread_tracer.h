// Holds one thread of a child at a chosen system call while its other
// threads run on: the way to stop the program at an exact point, and to see
// what an interrupt does there.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <sys/types.h>

#include "tests/support/terminal_session.h"

// A system call of the traced thread, seen on the way in or on the way out.
struct SystemCallStop {
    bool entering = true;
    long number = -1;
    std::array<std::uint64_t, 6> arguments{};
    std::int64_t result = 0; // on the way out
};

class ThreadTracer {
public:
    // Attaches to `thread` (the process id for the main thread) of a child
    // of this process, and holds it. attached() is false when tracing is not
    // permitted here.
    explicit ThreadTracer(pid_t thread);
    ThreadTracer(const ThreadTracer&) = delete;
    ThreadTracer& operator=(const ThreadTracer&) = delete;

    bool attached() const { return attached_; }

    // Lets the thread run from one system call to the next until `stop`
    // holds, and holds it there. False, with a failure recorded, when the
    // time runs out or the thread ends first. While a thread is held,
    // nothing else may wait for the child.
    bool run_until(const std::function<bool(const SystemCallStop&)>& stop,
                   std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

    // Lets the held thread go its way untraced.
    void release();

private:
    bool wait_for_stop(int& status, std::chrono::steady_clock::time_point deadline);

    pid_t thread_;
    bool attached_ = false;
    SystemCallStop last_entry_;
};

// The one thread of `pid` besides its main thread; -1 when there is not
// exactly one.
pid_t other_thread_of(pid_t pid);

// Waits until the main thread of `pid` sleeps, in whatever call.
bool main_thread_sleeps(pid_t pid, std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

// `launch` made fit for tracing: the leak check of a sanitizer build stops
// every thread of the program itself at its exit, which it cannot do while
// one of them is traced.
Launch traceable(Launch launch);
