// Ctrl+C while the file is being written, through the real binary: the file
// keeps what reached it, an empty one goes, and once the run has closed the
// file the interrupt leaves it alone.
//
// Writing a few megabytes takes a millisecond or two, far too little to aim a
// keystroke at. So the test holds the program's main thread at an exact
// system call of its writing (ptrace, on that one thread) and presses Ctrl+C
// there; the interrupt is handled on a thread of the program's own, which
// runs on and ends the process while the main thread stays where it was.
// Every case thereby sees one and the same state, whatever the machine's
// load.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/syscall.h>

#include "tests/support/expected_file.h"
#include "tests/support/thread_tracer.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"
#include "tests/support/zero_fill_run.h"

namespace {

constexpr std::uint64_t FILE_SIZE = 2500000;
constexpr std::uint64_t SECTION_SIZE = 1000000;

enum class HoldAt {
    first_section_write,  // on its way in: no data has reached the file
    end_of_section_write, // the given number of sections are in the file
    end_of_closing,       // the run has closed the complete file
};

struct InterruptCase {
    const char* name;
    HoldAt hold_at;
    int sections;
    std::optional<std::uint64_t> kept; // what the file keeps; none when it is deleted
    std::string progress;
    friend void PrintTo(const InterruptCase& c, std::ostream* stream) { *stream << c.name; }
};

// Only the section writes to the output file are a million bytes long;
// they also tell which descriptor is the output file.
class WritingWatch {
public:
    explicit WritingWatch(const InterruptCase& c) : case_(c) {}

    bool is_the_place(const SystemCallStop& call)
    {
        if (call.number == SYS_write && call.arguments[2] == SECTION_SIZE) {
            output_ = call.arguments[0];
            if (call.entering)
                return case_.hold_at == HoldAt::first_section_write;
            return case_.hold_at == HoldAt::end_of_section_write && ++sections_ == case_.sections;
        }
        return case_.hold_at == HoldAt::end_of_closing && !call.entering && call.number == SYS_close &&
               call.arguments[0] == output_;
    }

private:
    const InterruptCase& case_;
    std::optional<std::uint64_t> output_;
    int sections_ = 0;
};

class InterruptDuringWriting : public testing::TestWithParam<InterruptCase> {};

TEST_P(InterruptDuringWriting, KeepsWhatWasWrittenAndEndsWithStatus2)
{
    const InterruptCase& c = GetParam();
    TemporaryDirectory directory;
    const std::string path = directory.file("out.dat");
    TerminalSession session(traceable(launch_in(directory, {"out.dat"})));
    ASSERT_TRUE(answer_up_to_summary(session, FILE_SIZE, true));

    ThreadTracer tracer(session.pid());
    if (!tracer.attached())
        GTEST_SKIP() << "tracing the program is not permitted here";
    session.press('Y');
    WritingWatch watch(c);
    ASSERT_TRUE(tracer.run_until([&](const SystemCallStop& call) { return watch.is_the_place(call); }));
    ASSERT_EQ(std::filesystem::file_size(path), c.kept.value_or(0));

    session.press(key::ctrl_c);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    std::string progress;
    ASSERT_TRUE(after_start_banner(session.output(), progress));
    EXPECT_EQ(progress, c.progress);
    if (c.kept)
        EXPECT_TRUE(same_bytes(contents_of(path), zero_filled_file(FILE_SIZE, true).substr(0, *c.kept)));
    else
        EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

INSTANTIATE_TEST_SUITE_P(
    AbortDuringWrite, InterruptDuringWriting,
    testing::Values(InterruptCase{"BeforeAnyDataDeletesTheFile", HoldAt::first_section_write, 0, std::nullopt, ""},
                    InterruptCase{"AfterTheFirstSection", HoldAt::end_of_section_write, 1, 1000000, ""},
                    InterruptCase{"AfterTheSecondSection", HoldAt::end_of_section_write, 2, 2000000,
                                  "\rwrote    1,000,000"},
                    InterruptCase{"AfterTheRunClosedTheFile", HoldAt::end_of_closing, 0, FILE_SIZE,
                                  "\rwrote    1,000,000\rwrote    2,000,000\rwrote    2,500,000"}),
    [](const testing::TestParamInfo<InterruptCase>& info) { return std::string(info.param.name); });

} // namespace
