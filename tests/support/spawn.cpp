#include "tests/support/spawn.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<char*> pointers_to(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Reports the failed step's errno to the parent and ends the child.
[[noreturn]] void fail_in_child(int report)
{
    const int error = errno;
    ssize_t ignored = write(report, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

// Runs in the child between fork and exec, where only async-signal-safe calls
// are allowed.
[[noreturn]] void become_program(const ChildPlan& plan, char* const* argv, char* const* envp, int report)
{

    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int signal_number = 1; signal_number < NSIG; ++signal_number)
        signal(signal_number, SIG_DFL);

    if (plan.file_size_limit) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*plan.file_size_limit, *plan.file_size_limit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            fail_in_child(report);
    }
    if (setsid() < 0)
        fail_in_child(report);
    if (plan.terminal >= 0 && ioctl(plan.terminal, TIOCSCTTY, 0) != 0)
        fail_in_child(report);
    for (int target = 0; target < 3; ++target) {
        const int source = plan.standard[static_cast<std::size_t>(target)];
        if (source < 0)
            close(target);
        else if (dup2(source, target) < 0)
            fail_in_child(report);
    }
    if (!plan.directory.empty() && chdir(plan.directory.c_str()) != 0)
        fail_in_child(report);
    execve(plan.program.c_str(), argv, envp);
    fail_in_child(report);
}

} // namespace

pid_t spawn(const ChildPlan& plan)
{
    // Everything the child needs is built before the fork: after it, other
    // threads of the test may hold the allocator's lock.
    std::vector<std::string> argument_texts{plan.program};
    argument_texts.insert(argument_texts.end(), plan.arguments.begin(), plan.arguments.end());
    std::vector<std::string> environment_texts = plan.environment;
    const std::vector<char*> argv = pointers_to(argument_texts);
    const std::vector<char*> envp = pointers_to(environment_texts);

    // Closed by a successful exec, so an empty read means the program runs.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe2: " << std::strerror(errno);
        return -1;
    }

    const pid_t pid = fork();
    if (pid == 0)
        become_program(plan, argv.data(), envp.data(), report[1]);
    close(report[1]);
    if (pid < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
        close(report[0]);
        return -1;
    }

    int error = 0;
    ssize_t count;
    do
        count = read(report[0], &error, sizeof error);
    while (count < 0 && errno == EINTR);
    close(report[0]);
    if (count > 0) {
        waitpid(pid, nullptr, 0);
        ADD_FAILURE() << "cannot start " << plan.program << ": " << std::strerror(error);
        return -1;
    }
    return pid;
}
