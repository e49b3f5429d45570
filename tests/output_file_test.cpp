// Choosing and creating the output file, through the real binary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

const std::string NAME_PAGE = "\n\n\n\nInput the name of the file to create\n"
                              "Caution, if the file exists it will be overwritten: ";
const std::string NO_MORE_INPUT = "\nNo more input: run abandoned.\n";

// The two lines of a creation failure; the line number is whatever line of
// the source holds the check.
testing::AssertionResult is_creation_failure(const std::string& output, const std::string& path)
{
    const std::string head = "\nVELMARO, File dialogue/output_file.cpp, Line ";
    const std::string tail = "\nFile creation/Open " + path + " failed\n";
    const bool matches = output.starts_with(head) && output.ends_with(tail) &&
                         output.size() > head.size() + tail.size() &&
                         std::all_of(output.begin() + static_cast<std::ptrdiff_t>(head.size()),
                                     output.end() - static_cast<std::ptrdiff_t>(tail.size()),
                                     [](unsigned char c) { return std::isdigit(c); });
    if (matches)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "stdout was\n" << testing::PrintToString(output)
                                       << "\nexpected the creation failure for " << path;
}

TEST(OutputFileFromArgument, IsEmptiedBeforeTheFirstQuestion)
{
    TemporaryDirectory directory;
    std::ofstream(directory.file("out.dat")) << "old data";
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(session.wait_until_reading());

    EXPECT_EQ(std::filesystem::file_size(directory.file("out.dat")), 0u);
    EXPECT_EQ(session.error_output(), size_question(directory.file("out.dat")));

    session.press(key::ctrl_c);
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_FALSE(std::filesystem::exists(directory.file("out.dat")));
}

// The name is the first word of the line; the rest of it is dropped before
// the size is asked.
TEST(OutputFileNamePage, TakesTheFirstWordTypedAsTheName)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {}));
    ASSERT_TRUE(session.wait_until_reading());
    EXPECT_EQ(session.error_output(), NAME_PAGE);

    session.type_line("big file.dat");
    ASSERT_TRUE(session.wait_until_reading());

    EXPECT_EQ(session.error_output(), NAME_PAGE + size_question(directory.file("big")));
    EXPECT_TRUE(std::filesystem::exists(directory.file("big")));
    EXPECT_FALSE(std::filesystem::exists(directory.file("file.dat")));

    session.press(key::ctrl_c);
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
}

struct FailureCase {
    const char* name;
    const char* argument;
    const char* path; // in the working directory; empty for the directory itself
    friend void PrintTo(const FailureCase& c, std::ostream* stream) { *stream << '"' << c.argument << '"'; }
};

class OutputFileCreationFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(OutputFileCreationFailure, NamesThePathAndEndsWithStatus1)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {GetParam().argument}));

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(1));
    const std::string path = *GetParam().path ? directory.file(GetParam().path) : directory.path().string();
    EXPECT_TRUE(is_creation_failure(session.output(), path));
    EXPECT_EQ(session.error_output(), "");
    EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
}

INSTANTIATE_TEST_SUITE_P(OutputFile, OutputFileCreationFailure,
                         testing::Values(FailureCase{"MissingDirectory", "missing/out.dat", "missing/out.dat"},
                                         FailureCase{"EmptyNameIsTheDirectoryItself", "", ""}),
                         [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(OutputFileCreationFailure, WhenAnotherProcessHoldsTheFileItIsLeftAlone)
{
    TemporaryDirectory directory;
    const std::string path = directory.file("held.dat");
    std::ofstream(path) << "in use";
    const int holder = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);

    TerminalSession session(launch_in(directory, {"held.dat"}));

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(1));
    EXPECT_TRUE(is_creation_failure(session.output(), path));
    EXPECT_EQ(contents_of(path), "in use");
    close(holder);
}

struct EndOfInputCase {
    const char* name;
    Console console;
    std::optional<std::string> input;
    bool press_ctrl_d;
    friend void PrintTo(const EndOfInputCase& c, std::ostream* stream) { *stream << c.name; }
};

class NameQuestionAtEndOfInput : public testing::TestWithParam<EndOfInputCase> {};

TEST_P(NameQuestionAtEndOfInput, AbandonsTheRunWithStatus2)
{
    TemporaryDirectory directory;
    Launch launch = launch_in(directory, {});
    launch.console = GetParam().console;
    launch.input = GetParam().input;
    TerminalSession session(launch);
    if (GetParam().press_ctrl_d) {
        ASSERT_TRUE(session.wait_until_reading());
        session.press(key::ctrl_d);
    }

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_EQ(session.error_output(), NAME_PAGE + NO_MORE_INPUT);
    EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
}

INSTANTIATE_TEST_SUITE_P(
    OutputFile, NameQuestionAtEndOfInput,
    testing::Values(EndOfInputCase{"CtrlDAtTheTerminal", Console::terminal, std::nullopt, true},
                    EndOfInputCase{"NoConsoleAndNullInput", Console::none, std::nullopt, false},
                    EndOfInputCase{"NoConsoleAndOnlyBlankLines", Console::none, " \n\t\n\n", false},
                    EndOfInputCase{"EmptyPipeAtTheTerminal", Console::terminal, "", false}),
    [](const testing::TestParamInfo<EndOfInputCase>& info) { return std::string(info.param.name); });

} // namespace
