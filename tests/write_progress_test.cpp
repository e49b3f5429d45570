// The write loop through the real binary: the start banner and the progress
// line on stdout, the file a whole run leaves, and the report of a write that
// fails, whether a file-size limit or a full volume stops it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/expected_file.h"
#include "tests/support/scratch_volume.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"
#include "tests/support/zero_fill_run.h"

namespace {

struct RunCase {
    const char* name;
    std::uint64_t size;
    bool checkpoints;
    std::string progress;
    friend void PrintTo(const RunCase& c, std::ostream* stream) { *stream << c.size << " bytes"; }
};

class WholeRun : public testing::TestWithParam<RunCase> {};

TEST_P(WholeRun, ReportsEachSectionAndLeavesTheFile)
{
    const RunCase& c = GetParam();
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_up_to_summary(session, c.size, c.checkpoints));

    session.press('Y');

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    std::string progress;
    ASSERT_TRUE(after_start_banner(session.output(), progress));
    EXPECT_EQ(progress, c.progress);
    EXPECT_TRUE(same_bytes(contents_of(directory.file("out.dat")), zero_filled_file(c.size, c.checkpoints)));
}

INSTANTIATE_TEST_SUITE_P(
    WriteProgress, WholeRun,
    testing::Values(RunCase{"Empty", 0, true, ""},
                    RunCase{"OneByteIsOneSpaceOfTheCheckpoint", 1, true, "\rwrote            1"},
                    RunCase{"OneUnitIsOneSection", 65536, true, "\rwrote       65,536"},
                    RunCase{"TwoAndAHalfSections", 2500000, true,
                            "\rwrote    1,000,000\rwrote    2,000,000\rwrote    2,500,000"},
                    RunCase{"WithoutCheckpoints", 100000, false, "\rwrote      100,000"}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

struct LimitCase {
    const char* name;
    std::uint64_t limit;
    std::string report;
    friend void PrintTo(const LimitCase& c, std::ostream* stream) { *stream << "limit " << c.limit; }
};

class FileSizeLimit : public testing::TestWithParam<LimitCase> {};

// A failed write ends the writing, not the run: the file keeps what it took.
TEST_P(FileSizeLimit, StopsWithTheWriteErrorAndKeepsWhatWasWritten)
{
    const LimitCase& c = GetParam();
    constexpr std::uint64_t size = 2500000;
    TemporaryDirectory directory;
    Launch launch = launch_in(directory, {"out.dat"});
    launch.file_size_limit = c.limit;
    TerminalSession session(launch);
    ASSERT_TRUE(answer_up_to_summary(session, size, true));

    session.press('Y');

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    std::string report;
    ASSERT_TRUE(after_start_banner(session.output(), report));
    EXPECT_EQ(report, c.report);
    EXPECT_TRUE(same_bytes(contents_of(directory.file("out.dat")), zero_filled_file(size, true).substr(0, c.limit)));
}

INSTANTIATE_TEST_SUITE_P(
    WriteProgress, FileSizeLimit,
    testing::Values(LimitCase{"AtASectionBoundary", 2000000,
                              "\rwrote    1,000,000\rwrote    2,000,000\n\nWrite error at 2000000 bytes"},
                    // The second write stops short and is counted; the third fails.
                    LimitCase{"InsideASection", 1500000,
                              "\rwrote    1,000,000\rwrote    1,500,000\n\nWrite error at 1500000 bytes"}),
    [](const testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

// The volume fills up after the size was settled: the run finds out only
// when a write fails.
TEST(WriteProgressFullVolume, StopsWithTheWriteErrorAndKeepsWhatTheVolumeTook)
{
    constexpr std::uint64_t size = 2500000;
    TemporaryDirectory directory;
    ScratchVolume volume(directory.path(), 3 << 20);
    if (!volume.mounted())
        GTEST_SKIP() << "no volume of its own: mounting a tmpfs needs root";
    Launch launch;
    launch.arguments = {"out.dat"};
    launch.directory = volume.path().string();
    TerminalSession session(launch);
    ASSERT_TRUE(answer_up_to_summary(session, size, true));

    // Leaves room for one section and a half.
    const std::uint64_t filler = free_bytes_at(volume.path()) - 1500000;
    std::ofstream(volume.file("filler"), std::ios::binary) << std::string(filler, 'f');
    const std::uint64_t room = free_bytes_at(volume.path());
    ASSERT_GT(room, 1000000u);
    ASSERT_LT(room, 2000000u);

    session.press('Y');

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    std::string report;
    ASSERT_TRUE(after_start_banner(session.output(), report));
    EXPECT_EQ(report, "\rwrote    1,000,000\rwrote    " + with_digit_groups(room) + "\n\nWrite error at " +
                          std::to_string(room) + " bytes");
    EXPECT_TRUE(same_bytes(contents_of(volume.file("out.dat")), zero_filled_file(size, true).substr(0, room)));
}

} // namespace
