#include "tests/support/terminal_session.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/child_io.h"
#include "tests/support/process_probe.h"
#include "tests/support/spawn.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds CHECK_INTERVAL{2};
// How long a key may take to fit into a full terminal input queue.
constexpr std::chrono::milliseconds TYPING_LIMIT{2000};

// Points every sanitizer's reports at `log_path`, keeping whatever options
// the environment sets already.
void log_sanitizer_reports(std::map<std::string, std::string>& environment, const std::string& log_path)
{
    for (const char* variable : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS", "LSAN_OPTIONS"}) {
        std::string& options = environment[variable];
        options += (options.empty() ? "" : ":") + std::string("log_path=") + log_path;
    }
}

std::string new_report_directory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "filegen-sanitizer-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp " << pattern << ": " << std::strerror(errno);
        return "";
    }
    return pattern;
}

} // namespace

std::map<std::string, std::string> test_environment()
{
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    environment.erase("OS");
    return environment;
}

TerminalSession::TerminalSession(const Launch& launch)
{
    // A program that ends without reading all its input must not take the
    // test down with it.
    std::signal(SIGPIPE, SIG_IGN);

    ChildPlan plan;
    plan.program = FILEGEN_BINARY;
    plan.arguments = launch.arguments;
    std::map<std::string, std::string> environment = launch.environment;
    if (const std::string reports = new_report_directory(); !reports.empty()) {
        sanitizer_log_ = reports + "/report";
        log_sanitizer_reports(environment, sanitizer_log_);
    }
    plan.environment = environment_entries(environment);
    plan.directory = launch.directory;
    plan.file_size_limit = launch.file_size_limit;

    if (launch.console == Console::terminal) {
        if (!open_terminal(master_, slave_)) {
            close_if_open(master_);
            master_ = -1;
            pump_ = std::make_unique<OutputPump>(-1, -1, -1, -1, "");
            return;
        }
        plan.terminal = slave_;
        mode_before_ = read_terminal_mode(slave_);
    }

    PipeEnds output = make_pipe();
    if (launch.output_reader_gone) {
        close_if_open(output.read);
        output.read = -1;
    }
    const PipeEnds error = make_pipe();
    PipeEnds input;
    int null_device = -1;
    if (launch.input) {
        input = make_pipe();
        plan.standard[0] = input.read;
    } else if (slave_ >= 0) {
        plan.standard[0] = slave_;
    } else {
        null_device = open("/dev/null", O_RDONLY | O_CLOEXEC);
        plan.standard[0] = null_device;
    }
    plan.standard[1] = output.write;
    plan.standard[2] = error.write;
    for (int descriptor : launch.closed_descriptors)
        plan.standard.at(static_cast<std::size_t>(descriptor)) = -1;

    pid_ = spawn(plan);

    close_if_open(input.read);
    close_if_open(output.write);
    close_if_open(error.write);
    close_if_open(null_device);
    pump_ = std::make_unique<OutputPump>(output.read, error.read, master_, input.write, launch.input.value_or(""));
}

TerminalSession::~TerminalSession()
{
    if (pid_ > 0 && !exit_status_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pump_.reset();
    close_if_open(slave_);
    report_sanitizer_findings();
}

void TerminalSession::report_sanitizer_findings()
{
    if (sanitizer_log_.empty())
        return;
    const std::filesystem::path directory = std::filesystem::path(sanitizer_log_).parent_path();
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) {
        std::ifstream file(entry.path());
        std::ostringstream report;
        report << file.rdbuf();
        ADD_FAILURE() << "filegen reported a sanitizer finding:\n" << report.str();
    }
    std::filesystem::remove_all(directory, ignored);
    sanitizer_log_.clear();
}

bool TerminalSession::has_ended() const
{
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0;
}

// Typed bytes the terminal holds that the program has not read yet.
int TerminalSession::pending_terminal_input() const
{
    int count = 0;
    if (slave_ < 0 || ioctl(slave_, TIOCINQ, &count) != 0)
        return 0;
    return count;
}

bool TerminalSession::wait_until_reading(Duration limit)
{
    // The program may still sit in the read it was in when the last keys
    // were typed; it has taken them in once it has slept again since.
    const bool settled = wait_until(
        [this] {
            if (pid_ <= 0 || has_ended())
                return true;
            const auto switches = voluntary_switches(pid_);
            return switches && *switches > switches_before_typing_ && waits_for_input(pid_) &&
                   pending_terminal_input() == 0 && !pump_->feeding_input();
        },
        "filegen to wait for input", limit);
    if (!settled)
        return false;
    if (pid_ <= 0 || has_ended()) {
        ADD_FAILURE() << "filegen ended instead of waiting for input\nstderr:\n" << error_output();
        return false;
    }
    return true;
}

bool TerminalSession::wait_until(const std::function<bool()>& condition, std::string_view what, Duration limit)
{
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline) {
            pump_->collect_now();
            ADD_FAILURE() << "gave up waiting for " << what << " after " << limit.count() << " ms"
                          << (pid_ > 0 ? "; main thread: " + describe_main_thread(pid_) : std::string())
                          << "\nstderr so far:\n" << error_output() << "\nstdout so far:\n" << output();
            return false;
        }
        std::this_thread::sleep_for(CHECK_INTERVAL);
    }
    pump_->collect_now();
    return true;
}

void TerminalSession::type(std::string_view bytes)
{
    if (master_ < 0) {
        ADD_FAILURE() << "typing without a terminal";
        return;
    }
    if (pid_ > 0)
        switches_before_typing_ = voluntary_switches(pid_).value_or(-1);

    const auto deadline = Clock::now() + TYPING_LIMIT;
    while (!bytes.empty()) {
        const ssize_t count = write(master_, bytes.data(), bytes.size());
        if (count > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
        } else if (count < 0 && errno != EAGAIN && errno != EINTR) {
            ADD_FAILURE() << "typing failed: " << std::strerror(errno);
            return;
        } else if (Clock::now() >= deadline) {
            ADD_FAILURE() << "the terminal took no more input";
            return;
        } else {
            std::this_thread::sleep_for(CHECK_INTERVAL);
        }
    }
}

void TerminalSession::type_line(std::string_view text)
{
    type(text);
    press(key::enter);
}

void TerminalSession::press(char key)
{
    type(std::string_view(&key, 1));
}

void TerminalSession::send_signal(int signal_number)
{
    if (pid_ > 0 && !exit_status_)
        kill(pid_, signal_number);
}

void TerminalSession::hang_up()
{
    if (master_ < 0)
        return;
    pump_->close_terminal();
    master_ = -1;
}

ExitStatus TerminalSession::wait_for_exit(Duration limit)
{
    if (exit_status_ || pid_ <= 0)
        return exit_status_.value_or(ExitStatus{});

    const auto deadline = Clock::now() + limit;
    int status = 0;
    pid_t reaped;
    while ((reaped = waitpid(pid_, &status, WNOHANG)) == 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(CHECK_INTERVAL);
    if (reaped == 0) {
        ADD_FAILURE() << "filegen did not end within " << limit.count() << " ms; main thread: "
                      << describe_main_thread(pid_) << "\nstderr so far:\n" << error_output();
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    exit_status_ = ExitStatus::from_wait_status(status);
    if (master_ >= 0)
        mode_after_ = read_terminal_mode(slave_);

    // Both pipes end with the program; what it wrote last may still be
    // on its way through them.
    if (!pump_->wait_for_end_of_output(std::max(deadline, Clock::now() + DEFAULT_WAIT)))
        ADD_FAILURE() << "stdout or stderr stayed open after filegen ended";
    pump_->collect_now();
    report_sanitizer_findings();
    return *exit_status_;
}
