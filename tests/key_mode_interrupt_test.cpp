// The interrupt ends the run on a thread of its own while the main flow goes
// on. If the main flow reaches a single-key question in that moment, it must
// not leave the terminal in the raw mode of its key read.
#include <gtest/gtest.h>

#include <sys/syscall.h>

#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"
#include "tests/support/thread_tracer.h"

namespace {

// The screen clear that opens the fill menu, the page right after a size of 0.
constexpr std::uint64_t SCREEN_CLEAR_LENGTH = 7;

TEST(KeyModeInterrupt, AKeyQuestionReachedWhileTheRunEndsLeavesTheTerminalAsItWas)
{
    TemporaryDirectory directory;
    TerminalSession session(traceable(launch_in(directory, {"out.dat"})));
    ASSERT_TRUE(session.wait_until_reading());

    // Both threads are held at exact points: the main flow just before the
    // fill menu, the interrupt's thread just before the process ends. The
    // main flow then goes on to the menu's key question, and only then does
    // the process end.
    ThreadTracer main_flow(session.pid());
    ThreadTracer interrupt(other_thread_of(session.pid()));
    if (!main_flow.attached() || !interrupt.attached())
        GTEST_SKIP() << "tracing the program is not permitted here";
    session.type_line("0");
    ASSERT_TRUE(main_flow.run_until([](const SystemCallStop& call) {
        return call.entering && call.number == SYS_write && call.arguments[2] == SCREEN_CLEAR_LENGTH;
    }));
    session.press(key::ctrl_c);
    ASSERT_TRUE(interrupt.run_until(
        [](const SystemCallStop& call) { return call.entering && call.number == SYS_exit_group; }));
    main_flow.release();
    ASSERT_TRUE(main_thread_sleeps(session.pid()));
    interrupt.release();

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(entries_of(directory.path()).empty());
    ASSERT_TRUE(session.mode_before());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

} // namespace
