// Signals that reach the program while it writes, through the real binary.
// SIGINT runs the abort: the file keeps what reached it, an empty one goes.
// A closed terminal (SIGHUP) and SIGTERM keep their default action: the
// process ends at once and the file stays as far as it got. A second SIGINT
// while the abort is under way ends the process by default handling, and
// must not cost a file that holds data.
//
// The main thread is held at an exact system call of its writing (ptrace),
// so that each case sees the same state whatever the machine's load.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/syscall.h>

#include "tests/support/expected_file.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"
#include "tests/support/thread_tracer.h"
#include "tests/support/zero_fill_run.h"

namespace {

constexpr std::uint64_t FILE_SIZE = 2500000;
constexpr std::uint64_t SECTION_SIZE = 1000000;

bool is_section_write(const SystemCallStop& call)
{
    return call.number == SYS_write && call.arguments[2] == SECTION_SIZE;
}

// On its way into the first section's write: no data has reached the file.
bool before_any_data(const SystemCallStop& call)
{
    return call.entering && is_section_write(call);
}

// Back from the first section's write: one section is in the file.
bool after_first_section(const SystemCallStop& call)
{
    return !call.entering && is_section_write(call);
}

struct WritingFault {
    const char* name;
    bool (*hold_at)(const SystemCallStop&);
    void (*fault)(TerminalSession&);
    ExitStatus status;
    std::optional<std::uint64_t> kept; // what the file keeps; none when it is deleted
    bool hangs_up;
    friend void PrintTo(const WritingFault& c, std::ostream* stream) { *stream << c.name; }
};

void kill_with_sigint(TerminalSession& session)
{
    session.send_signal(SIGINT);
}

void hang_up(TerminalSession& session)
{
    session.hang_up();
}

void terminate(TerminalSession& session)
{
    session.send_signal(SIGTERM);
}

class FaultDuringWriting : public testing::TestWithParam<WritingFault> {};

TEST_P(FaultDuringWriting, EndsTheRunAndLeavesTheFileAsTheDesignSays)
{
    const WritingFault& c = GetParam();
    TemporaryDirectory directory;
    const std::string path = directory.file("out.dat");
    TerminalSession session(traceable(launch_in(directory, {"out.dat"})));
    ASSERT_TRUE(answer_up_to_summary(session, FILE_SIZE, true));

    ThreadTracer main_flow(session.pid());
    if (!main_flow.attached())
        GTEST_SKIP() << "tracing the program is not permitted here";
    session.press('Y');
    ASSERT_TRUE(main_flow.run_until(c.hold_at));

    c.fault(session);

    EXPECT_EQ(session.wait_for_exit(), c.status);
    if (c.kept)
        EXPECT_TRUE(same_bytes(contents_of(path), zero_filled_file(FILE_SIZE, true).substr(0, *c.kept)));
    else
        EXPECT_FALSE(std::filesystem::exists(path));
    if (c.hangs_up) {
        EXPECT_FALSE(session.mode_after());
    } else {
        ASSERT_TRUE(session.mode_before());
        EXPECT_EQ(session.mode_after(), session.mode_before());
    }
}

INSTANTIATE_TEST_SUITE_P(
    WritingInterrupt, FaultDuringWriting,
    testing::Values(
        WritingFault{"KillBeforeAnyData", before_any_data, kill_with_sigint, ExitStatus::exited(2), std::nullopt,
                     false},
        WritingFault{"KillAfterTheFirstSection", after_first_section, kill_with_sigint, ExitStatus::exited(2),
                     SECTION_SIZE, false},
        WritingFault{"HangUpBeforeAnyData", before_any_data, hang_up, ExitStatus::killed_by(SIGHUP), 0, true},
        WritingFault{"HangUpAfterTheFirstSection", after_first_section, hang_up, ExitStatus::killed_by(SIGHUP),
                     SECTION_SIZE, true},
        WritingFault{"TerminatedAfterTheFirstSection", after_first_section, terminate,
                     ExitStatus::killed_by(SIGTERM), SECTION_SIZE, false}),
    [](const testing::TestParamInfo<WritingFault>& info) { return std::string(info.param.name); });

// A run whose main thread is held at a point of its writing, and whose abort,
// started by SIGINT, is held as it is about to close the output file.
class HeldAbort : public testing::Test {
protected:
    // Holds both threads; skips the test where they cannot be traced.
    void hold(bool (*main_at)(const SystemCallStop&))
    {
        ASSERT_TRUE(answer_up_to_summary(session, FILE_SIZE, true));
        main_flow.emplace(session.pid());
        if (!main_flow->attached())
            GTEST_SKIP() << "tracing the program is not permitted here";
        session.press('Y');
        std::uint64_t output_file = 0;
        ASSERT_TRUE(main_flow->run_until([&](const SystemCallStop& call) {
            output_file = call.arguments[0];
            return main_at(call);
        }));
        interrupt.emplace(other_thread_of(session.pid()));
        if (!interrupt->attached())
            GTEST_SKIP() << "the interrupt's thread cannot be told apart or traced here";

        session.send_signal(SIGINT);
        ASSERT_TRUE(interrupt->run_until([&](const SystemCallStop& call) {
            return call.entering && call.number == SYS_close && call.arguments[0] == output_file;
        }));
    }

    TemporaryDirectory directory;
    const std::string path = directory.file("out.dat");
    TerminalSession session{traceable(launch_in(directory, {"out.dat"}))};
    std::optional<ThreadTracer> main_flow;
    std::optional<ThreadTracer> interrupt;
};

// The second SIGINT ends the process while the first one's abort is held;
// the section written stays.
TEST_F(HeldAbort, ASecondInterruptEndsTheProcessAndKeepsTheData)
{
    hold(after_first_section);
    if (IsSkipped() || HasFatalFailure())
        return;

    session.send_signal(SIGINT);
    interrupt->release();

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::killed_by(SIGINT));
    EXPECT_TRUE(same_bytes(contents_of(path), zero_filled_file(FILE_SIZE, true).substr(0, SECTION_SIZE)));
}

// The interrupt arrives while the first section is on its way to the file.
// The abort must not find the file empty, let the section land, and then
// delete the file that holds it.
TEST_F(HeldAbort, DuringTheFirstWriteNeverDeletesTheDataItBrings)
{
    hold(before_any_data);
    if (IsSkipped() || HasFatalFailure())
        return;

    // The abort is held as it closes the file, while the section lands.
    ASSERT_TRUE(main_flow->run_until([](const SystemCallStop& call) { return !call.entering; }));
    const bool data_landed = std::filesystem::file_size(path) > 0;
    main_flow->release();
    interrupt->release();

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    if (data_landed) {
        ASSERT_TRUE(std::filesystem::exists(path)) << "the file was deleted with its first section";
        const std::string contents = contents_of(path);
        EXPECT_GE(contents.size(), SECTION_SIZE);
        EXPECT_TRUE(same_bytes(contents, zero_filled_file(FILE_SIZE, true).substr(0, contents.size())));
    } else {
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

// Two interrupts sent back to back, with nothing held: either the first one's
// abort ends the run (status 2, the empty file gone, the terminal put back)
// or the second one ends it by default handling first.
TEST(DoubleInterrupt, TwoInQuickSuccessionAtTheSummaryEndTheRunEitherWay)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        SCOPED_TRACE(testing::Message() << "attempt " << attempt);
        TemporaryDirectory directory;
        TerminalSession session(launch_in(directory, {"out.dat"}));
        ASSERT_TRUE(answer_up_to_summary(session, FILE_SIZE, true));

        session.send_signal(SIGINT);
        session.send_signal(SIGINT);

        const ExitStatus status = session.wait_for_exit();
        if (status == ExitStatus::exited(2)) {
            EXPECT_TRUE(entries_of(directory.path()).empty());
            EXPECT_EQ(session.mode_after(), session.mode_before());
        } else {
            EXPECT_EQ(status, ExitStatus::killed_by(SIGINT));
        }
    }
}

} // namespace
