#include "tests/support/run_program.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "tests/support/child_io.h"
#include "tests/support/output_pump.h"
#include "tests/support/spawn.h"
#include "tests/support/terminal_session.h"

namespace {

using Clock = std::chrono::steady_clock;

// A pseudo-terminal whose slave side passes bytes through unchanged: no
// "\r\n" for "\n", no echo.
PipeEnds make_raw_terminal()
{
    PipeEnds ends;
    termios mode{};
    if (!open_terminal(ends.read, ends.write) || tcgetattr(ends.write, &mode) != 0) {
        ADD_FAILURE() << "cannot set up the pseudo-terminal: " << std::strerror(errno);
        return ends;
    }
    cfmakeraw(&mode);
    tcsetattr(ends.write, TCSANOW, &mode);
    return ends;
}

} // namespace

ProgramOutcome run_program(const ProgramRun& run, std::chrono::milliseconds limit)
{
    const PipeEnds output = make_pipe();
    // The terminal's master side reads as the end of the stream once the
    // program, the last holder of the slave side, is gone.
    const PipeEnds error = run.error_on_terminal ? make_raw_terminal() : make_pipe();
    const int null_device = open("/dev/null", O_RDONLY | O_CLOEXEC);

    ChildPlan plan;
    plan.program = run.program;
    plan.arguments = run.arguments;
    plan.environment = environment_entries(test_environment());
    plan.standard = {null_device, output.write, error.write};
    const pid_t pid = spawn(plan);
    close_if_open(null_device);
    close_if_open(output.write);
    close_if_open(error.write);

    ProgramOutcome outcome;
    OutputPump pump(output.read, error.read, -1, -1, "");
    if (pid <= 0)
        return outcome;

    const auto deadline = Clock::now() + limit;
    int status = 0;
    pid_t reaped;
    while ((reaped = waitpid(pid, &status, WNOHANG)) == 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (reaped == 0) {
        ADD_FAILURE() << run.program << " did not end within " << limit.count() << " ms";
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    outcome.status = ExitStatus::from_wait_status(status);
    if (!pump.wait_for_end_of_output(Clock::now() + std::chrono::seconds(5)))
        ADD_FAILURE() << "stdout or stderr stayed open after " << run.program << " ended";
    pump.collect_now();
    outcome.output = pump.text(Stream::output);
    outcome.error = pump.text(Stream::error);
    return outcome;
}
