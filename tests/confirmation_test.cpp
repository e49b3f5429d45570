// The summary page and its single key through the real binary: Y writes,
// any other key removes the file and ends the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/fill_dialogue.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

std::string summary_page(const std::string& path, const std::string& size, const std::string& fill_lines)
{
    return "\n\nYou have chosen the following:\n\n"
           "Output file name  " + right_aligned(path, 14) + "\n\n"
           "Size of file      " + right_aligned(size, 14) + "\n\n" + fill_lines +
           "\n\nIf this is correct enter a 'Y', any other character will quit the program\n";
}

struct SummaryCase {
    const char* name;
    std::uint64_t size;
    std::string shown_size;
    std::vector<std::string> answers; // from the menu key; the last one brings the summary
    std::string last_echo;
    std::string fill_lines;
    friend void PrintTo(const SummaryCase& c, std::ostream* stream) { *stream << c.name; }
};

class SummaryPage : public testing::TestWithParam<SummaryCase> {};

TEST_P(SummaryPage, ShowsTheChoicesAndWaitsForTheKey)
{
    const SummaryCase& c = GetParam();
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, c.size));
    ASSERT_TRUE(answer(session, std::vector<std::string>(c.answers.begin(), c.answers.end() - 1)));

    ASSERT_EQ(reply_to(session, c.answers.back()),
              c.last_echo + summary_page(directory.file("out.dat"), c.shown_size, c.fill_lines));
    EXPECT_EQ(std::filesystem::file_size(directory.file("out.dat")), 0u);

    ASSERT_TRUE(answer(session, {"N"}));
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
}

const std::string ZERO_FILL = "Fill character =          hex 00's\n";

std::string alphabet_fill(const std::string& period_field)
{
    return "Fill character =        Alphabet\nPeriod every   =         " + period_field + " bytes\n";
}

std::string character_fill(const std::string& value_field, char character)
{
    return "Fill character =             " + value_field + " decimal, character " + character + "\n";
}

// The character is shown as "% 3d": a blank before every number without a
// minus sign, then the byte itself, whatever it is.
INSTANTIATE_TEST_SUITE_P(
    Confirmation, SummaryPage,
    testing::Values(SummaryCase{"Zero", 1048576, "1,048,576", {"1", "N"}, "N\b", ZERO_FILL},
                    SummaryCase{"AlphabetDefaultPeriod", 1048576, "1,048,576", {"2", "N"}, "",
                                alphabet_fill("  10000")},
                    SummaryCase{"AlphabetNegativePeriod", 65536, "65,536", {"2", "Y", "-1\r"}, "",
                                alphabet_fill("     -1")},
                    SummaryCase{"AlphabetPeriodWiderThanItsField", 65536, "65,536", {"2", "Y", "123456789\r"}, "",
                                alphabet_fill("123456789")},
                    SummaryCase{"Character7", 65536, "65,536", {"3", "7\r", "Y", "N"}, "N\b",
                                character_fill("  7", '\a')},
                    SummaryCase{"Character200", 65536, "65,536", {"3", "200\r", "Y", "Y"}, "Y\b",
                                character_fill(" 200", '\xc8')},
                    SummaryCase{"Character0", 65536, "65,536", {"3", "0\r", "Y", "N"}, "N\b",
                                character_fill("  0", '\0')},
                    SummaryCase{"CharacterFromMinus1", 65536, "65,536", {"3", "-1\r", "Y", "N"}, "N\b",
                                character_fill(" 255", '\xff')}),
    [](const testing::TestParamInfo<SummaryCase>& info) { return std::string(info.param.name); });

TEST(Confirmation, LowerYStartsTheWriting)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 65536));
    ASSERT_TRUE(answer(session, {"1", "Y", "y"}));

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    EXPECT_EQ(contents_of(directory.file("out.dat")), std::string(65536, '\0'));
    EXPECT_TRUE(session.output().starts_with("\nProgram started ")) << session.output();
    EXPECT_TRUE(session.output().ends_with("\rwrote       65,536")) << session.output();
}

struct DeclineCase {
    const char* name;
    const char* keys;
    friend void PrintTo(const DeclineCase& c, std::ostream* stream) { *stream << c.name; }
};

class Decline : public testing::TestWithParam<DeclineCase> {};

// The file is removed whatever it held before the run; nothing is written
// and nothing reported.
TEST_P(Decline, RemovesTheFileAndEndsWithStatus2)
{
    TemporaryDirectory directory;
    std::ofstream(directory.file("out.dat")) << "old data";
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 65536));
    ASSERT_TRUE(answer(session, {"1", "N", GetParam().keys}));

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(entries_of(directory.path()).empty());
    EXPECT_EQ(session.output(), "");
    EXPECT_TRUE(session.error_output().ends_with("any other character will quit the program\n"));
    ASSERT_TRUE(session.mode_before());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

INSTANTIATE_TEST_SUITE_P(Confirmation, Decline,
                         testing::Values(DeclineCase{"Enter", "\r"}, DeclineCase{"N", "N"},
                                         DeclineCase{"LowerN", "n"}, DeclineCase{"CtrlC", "\x03"},
                                         DeclineCase{"CtrlD", "\x04"}, DeclineCase{"UpArrow", "\x1b[A"}),
                         [](const testing::TestParamInfo<DeclineCase>& info) { return std::string(info.param.name); });

} // namespace
