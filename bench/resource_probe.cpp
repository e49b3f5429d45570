// Runs a command and records what it used: its peak resident memory and
// its processor time. The command is forked from this small process rather
// than from the timing script, whose resident pages a fork would otherwise
// count into the command's peak.
// Usage: resource_probe RESULT_FILE COMMAND [ARGUMENT...]
// Writes "PEAK_KIB CPU_SECONDS" into RESULT_FILE and exits with the
// command's status (128 + the signal number when a signal ended it).
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RESULT_FILE COMMAND [ARGUMENT...]\n", argv[0]);
        return 125;
    }
    const pid_t child = fork();
    if (child < 0)
        return 125;
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return 125;

    FILE* result = std::fopen(argv[1], "w");
    if (result == nullptr)
        return 125;
    std::fprintf(result, "%ld %.6f\n", usage.ru_maxrss, seconds(usage.ru_utime) + seconds(usage.ru_stime));
    std::fclose(result);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
