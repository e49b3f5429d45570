#include "tests/support/thread_tracer.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int SYSTEM_CALL_TRAP = SIGTRAP | 0x80;
constexpr auto POLL_INTERVAL = std::chrono::microseconds(100);

bool is_event_stop(int status)
{
    return status >> 16 != 0;
}

// The state letter of the main thread, after the name in parentheses.
char main_thread_state(pid_t pid)
{
    const std::string id = std::to_string(pid);
    std::ifstream file("/proc/" + id + "/task/" + id + "/stat");
    std::ostringstream text;
    text << file.rdbuf();
    const std::string stat = text.str();
    const auto name_end = stat.rfind(')');
    return name_end == std::string::npos || name_end + 2 >= stat.size() ? '?' : stat[name_end + 2];
}

} // namespace

ThreadTracer::ThreadTracer(pid_t thread) : thread_(thread)
{
    if (thread_ <= 0 || ptrace(PTRACE_SEIZE, thread_, nullptr, PTRACE_O_TRACESYSGOOD) != 0)
        return;
    int status = 0;
    attached_ = ptrace(PTRACE_INTERRUPT, thread_, nullptr, nullptr) == 0 &&
                wait_for_stop(status, Clock::now() + std::chrono::seconds(5));
}

bool ThreadTracer::wait_for_stop(int& status, Clock::time_point deadline)
{
    while (true) {
        const pid_t reported = waitpid(thread_, &status, __WALL | WNOHANG);
        if (reported == thread_)
            return WIFSTOPPED(status);
        if (reported < 0 || Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
}

bool ThreadTracer::run_until(const std::function<bool(const SystemCallStop&)>& stop, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    int pending_signal = 0;
    while (true) {
        int status = 0;
        if (ptrace(PTRACE_SYSCALL, thread_, nullptr, pending_signal) != 0 || !wait_for_stop(status, deadline)) {
            ADD_FAILURE() << "thread " << thread_ << " ended or timed out before the system call looked for";
            return false;
        }
        pending_signal = 0;
        if (WSTOPSIG(status) != SYSTEM_CALL_TRAP) {
            // A signal on its way to the thread goes on to it.
            if (!is_event_stop(status))
                pending_signal = WSTOPSIG(status);
            continue;
        }

        __ptrace_syscall_info info{};
        if (ptrace(PTRACE_GET_SYSCALL_INFO, thread_, sizeof info, &info) <= 0)
            continue;
        SystemCallStop call;
        if (info.op == PTRACE_SYSCALL_INFO_ENTRY) {
            call.number = static_cast<long>(info.entry.nr);
            std::copy(std::begin(info.entry.args), std::end(info.entry.args), call.arguments.begin());
            last_entry_ = call;
        } else if (info.op == PTRACE_SYSCALL_INFO_EXIT) {
            call = last_entry_;
            call.entering = false;
            call.result = info.exit.rval;
        } else {
            continue;
        }
        if (stop(call))
            return true;
    }
}

void ThreadTracer::release()
{
    ptrace(PTRACE_DETACH, thread_, nullptr, nullptr);
}

pid_t other_thread_of(pid_t pid)
{
    pid_t other = -1;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        const pid_t thread = std::stoi(entry.path().filename().string());
        if (thread == pid)
            continue;
        if (other != -1)
            return -1;
        other = thread;
    }
    return other;
}

bool main_thread_sleeps(pid_t pid, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (main_thread_state(pid) != 'S') {
        if (Clock::now() >= deadline) {
            ADD_FAILURE() << "the main thread of " << pid << " never went to sleep";
            return false;
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    return true;
}

Launch traceable(Launch launch)
{
    std::string& options = launch.environment["ASAN_OPTIONS"];
    options += (options.empty() ? "" : ":") + std::string("detect_leaks=0");
    return launch;
}
