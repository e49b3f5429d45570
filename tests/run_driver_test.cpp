// The run driver through the real binary: the argument screen, the usage
// text, and the ways a run ends at its first questions.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

const std::string USAGE_TEXT =
    "\n\nThis program is a simple file generator designed to create files that can\n"
    "be used as sample data files. It is primarily designed to create very large\n"
    "(on the order of multimegabyte) files on large hard drives.\n\n"
    "For large files it writes the data in 1,000,000 byte increments.\n\n"
    "At the beginning of every increment it places a string of characters\n"
    "indicating where in the file you are. \n\n"
    "These sections are identified by the section number, and the section size\n"
    "i.e. section 2 would read \"     2 X 1000000\" with leading blanks.\n\n"
    "The above represents the beginning of the second 1,000,000 byte section\n"
    "which is actually byte 2,000,000\n\n"
    "The rest of the data is fill characters. The fill characters are either hex 0's\n"
    "or user selected options. So when reviewing the contents of the file at a later\n"
    "time you can see what section you are at.\n";

struct UsageCase {
    const char* name;
    const char* argument;
    friend void PrintTo(const UsageCase& c, std::ostream* stream) { *stream << c.argument; }
};

class UsageRequest : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageRequest, PrintsTheUsageTextAndEndsWithStatus1)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {GetParam().argument}));

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(1));
    EXPECT_EQ(session.output(), USAGE_TEXT);
    EXPECT_EQ(session.error_output(), "");
    EXPECT_TRUE(entries_of(directory.path()).empty());
    // The screen is cleared on the terminal, never in the redirected report.
    EXPECT_TRUE(session.wait_until([&] { return session.terminal_output() == "\033[H\033[2J"; },
                                   "the screen to be cleared"));
}

INSTANTIATE_TEST_SUITE_P(RunDriver, UsageRequest,
                         testing::Values(UsageCase{"DashOption", "-x"}, UsageCase{"LoneDash", "-"},
                                         UsageCase{"DoubleDashHelp", "--help"},
                                         UsageCase{"QuestionMarkInside", "a?b"},
                                         UsageCase{"LoneQuestionMark", "?"}),
                         [](const testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

struct FileNameCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* file;
    friend void PrintTo(const FileNameCase& c, std::ostream* stream)
    {
        for (const std::string& argument : c.arguments)
            *stream << argument << ' ';
    }
};

class FileNameArgument : public testing::TestWithParam<FileNameCase> {};

// Only the first argument is screened, and only its first character for a
// dash; everything after it is ignored.
TEST_P(FileNameArgument, IsCreatedAndTheSizeIsAskedFor)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, GetParam().arguments));
    ASSERT_TRUE(session.wait_until_reading());

    const std::string path = directory.file(GetParam().file);
    EXPECT_EQ(session.error_output(), size_question(path));
    EXPECT_EQ(session.output(), "");
    EXPECT_EQ(entries_of(directory.path()), std::vector<std::string>{GetParam().file});

    session.press(key::ctrl_c);
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
}

INSTANTIATE_TEST_SUITE_P(RunDriver, FileNameArgument,
                         testing::Values(FileNameCase{"DashInside", {"x-y"}, "x-y"},
                                         FileNameCase{"SecondQuestionMark", {"out.dat", "?"}, "out.dat"},
                                         FileNameCase{"SecondDashOption", {"out.dat", "-x"}, "out.dat"}),
                         [](const testing::TestParamInfo<FileNameCase>& info) { return std::string(info.param.name); });

TEST(RunDriverInterrupt, AtTheNameQuestionDeletesNothingAndRestoresTheTerminal)
{
    TemporaryDirectory directory;
    std::ofstream(directory.file("keep.dat")) << "old data";
    TerminalSession session(launch_in(directory, {}));
    ASSERT_TRUE(session.wait_until_reading());

    session.press(key::ctrl_c);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_EQ(entries_of(directory.path()), std::vector<std::string>{"keep.dat"});
    EXPECT_EQ(std::filesystem::file_size(directory.file("keep.dat")), 8u);
    ASSERT_TRUE(session.mode_before());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

TEST(RunDriverInterrupt, AtTheSizeQuestionDeletesTheEmptyFile)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(session.wait_until_reading());
    ASSERT_TRUE(std::filesystem::exists(directory.file("out.dat")));

    session.press(key::ctrl_c);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(entries_of(directory.path()).empty());
}

// Sent from outside, the interrupt can arrive while a single key is read
// with the terminal in raw mode; the mode must still be put back.
TEST(RunDriverInterrupt, DuringASingleKeyQuestionRestoresTheTerminal)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(session.wait_until_reading());
    session.type_line("100000"); // not a multiple of 64 KiB: a key question follows
    ASSERT_TRUE(session.wait_until_reading());

    session.send_signal(SIGINT);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(entries_of(directory.path()).empty());
    ASSERT_TRUE(session.mode_before());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

struct AbruptEndCase {
    const char* name;
    void (*end)(TerminalSession&);
    int signal;
    friend void PrintTo(const AbruptEndCase& c, std::ostream* stream) { *stream << c.name; }
};

class AbruptEnd : public testing::TestWithParam<AbruptEndCase> {};

// Only the interrupt is hooked: other ways to end the run take the default
// path, which cleans nothing up.
TEST_P(AbruptEnd, AtTheSizeQuestionLeavesTheEmptyFile)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(session.wait_until_reading());

    GetParam().end(session);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::killed_by(GetParam().signal));
    EXPECT_EQ(entries_of(directory.path()), std::vector<std::string>{"out.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    RunDriver, AbruptEnd,
    testing::Values(AbruptEndCase{"TerminalHungUp", [](TerminalSession& session) { session.hang_up(); }, SIGHUP},
                    AbruptEndCase{"Terminated", [](TerminalSession& session) { session.send_signal(SIGTERM); },
                                  SIGTERM}),
    [](const testing::TestParamInfo<AbruptEndCase>& info) { return std::string(info.param.name); });

} // namespace
