// Drives the real filegen binary the way a user at a terminal would.
//
//     TemporaryDirectory directory;
//     Launch launch;
//     launch.arguments = {"out.dat"};
//     launch.directory = directory.path();
//     TerminalSession session(launch);
//     ASSERT_TRUE(session.wait_until_reading()); // blocked at a question
//     session.type_line("5000000");              // the text, then Enter
//     ASSERT_TRUE(session.wait_until_reading());
//     session.press('Y');                        // one key
//     EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
//     EXPECT_EQ(session.output(), "...");        // all of stdout
//
// The program runs in a session of its own with a fresh pseudo-terminal as
// its controlling terminal (and, by default, as its stdin); stdout and stderr
// are two pipes that are read continuously. Type only once the program waits
// for input (wait_until_reading), as a user would.
//
// Every wait is bounded: when its time runs out it records a test failure
// and returns, and the program is killed, so no test can hang. The
// destructor kills a program that is still running.
//
// A program built with sanitizers writes its reports to files of the
// session's own rather than to stderr (which a test may have closed, or
// compare byte for byte); any such report is a test failure.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "tests/support/exit_status.h"
#include "tests/support/output_pump.h"
#include "tests/support/terminal_mode.h"

namespace key {
inline constexpr char enter = '\r';
inline constexpr char ctrl_c = '\x03';
inline constexpr char ctrl_d = '\x04';
inline constexpr char escape = '\x1b';
} // namespace key

enum class Console {
    terminal, // a fresh pseudo-terminal is the controlling terminal
    none,     // no controlling terminal at all
};

// The test environment: this process's own, without OS, so that no run
// depends on the machine it happens to run on.
std::map<std::string, std::string> test_environment();

struct Launch {
    std::vector<std::string> arguments;
    // The working directory; empty for the test's own.
    std::string directory;
    // The complete environment: set or erase entries to taste.
    std::map<std::string, std::string> environment = test_environment();
    Console console = Console::terminal;
    // When set, stdin is a pipe that holds these bytes and then ends; when
    // not, stdin is the terminal, or /dev/null without one.
    std::optional<std::string> input;
    // RLIMIT_FSIZE in bytes, with SIGXFSZ ignored: writes beyond it fail as
    // on a full disk.
    std::optional<std::uint64_t> file_size_limit;
    // Which of descriptors 0, 1 and 2 are closed when the program starts.
    std::vector<int> closed_descriptors;
    // stdout is a pipe whose reader is gone before the program starts: every
    // write to it fails (EPIPE, or SIGPIPE for a program that does not ignore
    // it).
    bool output_reader_gone = false;
};

class TerminalSession {
public:
    using Duration = std::chrono::milliseconds;
    static constexpr Duration DEFAULT_WAIT{5000};
    static constexpr Duration DEFAULT_EXIT_WAIT{10000};

    explicit TerminalSession(const Launch& launch);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // -1 when the program could not be started (a failure is recorded then).
    pid_t pid() const { return pid_; }

    // Waits until the program's main thread is blocked reading, and all that
    // was typed, and all of a stdin pipe's bytes, has been taken in (or
    // discarded). All output written before
    // is in output() and error_output() on return. False, with a failure
    // recorded, when time runs out or the program ends instead.
    bool wait_until_reading(Duration limit = DEFAULT_WAIT);
    // Waits until `condition` holds, checking it every few milliseconds while
    // the output keeps being collected; `what` names it in the failure.
    bool wait_until(const std::function<bool()>& condition, std::string_view what, Duration limit = DEFAULT_WAIT);

    // Bytes straight to the terminal, as keys: type("\x1b[A") is the up arrow.
    void type(std::string_view bytes);
    // The text and Enter.
    void type_line(std::string_view text);
    void press(char key);
    void send_signal(int signal_number);
    // Closes the terminal's master side: the program gets SIGHUP.
    void hang_up();

    // Waits for the end of the program and of its output. On timeout the
    // program is killed and a failure recorded.
    ExitStatus wait_for_exit(Duration limit = DEFAULT_EXIT_WAIT);

    std::string output() const { return pump_->text(Stream::output); }
    std::string error_output() const { return pump_->text(Stream::error); }
    std::string terminal_output() const { return pump_->text(Stream::terminal); }

    // The terminal's mode before the start, and after the end (none when
    // there is no terminal, or it was hung up).
    const std::optional<TerminalMode>& mode_before() const { return mode_before_; }
    const std::optional<TerminalMode>& mode_after() const { return mode_after_; }

private:
    bool has_ended() const;
    int pending_terminal_input() const;
    void report_sanitizer_findings();

    pid_t pid_ = -1;
    int master_ = -1;
    // Kept open here to read the terminal's mode, and so that the terminal
    // outlives the program.
    int slave_ = -1;
    long switches_before_typing_ = -1;
    std::optional<ExitStatus> exit_status_;
    std::optional<TerminalMode> mode_before_;
    std::optional<TerminalMode> mode_after_;
    std::unique_ptr<OutputPump> pump_;
    // The sanitizers add ".<pid>" to this path for each report file.
    std::string sanitizer_log_;
};
