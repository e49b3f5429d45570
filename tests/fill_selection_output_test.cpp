// Whole runs through the real binary, one per fill the dialogue can choose:
// every byte of the file is checked against the file's layout.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/expected_file.h"
#include "tests/support/fill_dialogue.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

struct SizeCase {
    const char* name;
    std::uint64_t size;
    std::uint32_t default_period; // the one the size stage settles on
    const char* progress;         // the last progress line
    friend void PrintTo(const SizeCase& c, std::ostream* stream) { *stream << c.size << " bytes"; }
};

// Two full sections and a short one; and one section, whose period the
// ladder shortens.
const SizeCase SIZES[] = {
    {"ThreeSections", 2500000, 10000, "\rwrote    2,500,000"},
    {"OneShortSection", 70000, 100, "\rwrote       70,000"},
};

constexpr std::uint32_t KEEP_DEFAULT = 0;

struct FillCase {
    const char* name;
    std::vector<std::string> answers; // from the menu key up to the summary
    FillChoice choice;                // a letter period of KEEP_DEFAULT keeps the size stage's
    friend void PrintTo(const FillCase& c, std::ostream* stream) { *stream << c.name; }
};

const FillCase FILLS[] = {
    {"ZeroWithCheckpoints", {"1", "N"}, {FillKind::zero, 0, 0, true}},
    {"ZeroWithoutCheckpoints", {"1", "Y"}, {FillKind::zero, 0, 0, false}},
    {"AlphabetDefaultPeriod", {"2", "N"}, {FillKind::alphabet, KEEP_DEFAULT, 0, true}},
    {"AlphabetPeriod1", {"2", "Y", "1\r"}, {FillKind::alphabet, 1, 0, true}},
    {"AlphabetPeriod7", {"2", "Y", "7\r"}, {FillKind::alphabet, 7, 0, true}},
    {"AlphabetPeriod777", {"2", "Y", "777\r"}, {FillKind::alphabet, 777, 0, true}},
    // Stored as the largest unsigned period: the letter never advances.
    {"AlphabetPeriodMinus1", {"2", "Y", "-1\r"}, {FillKind::alphabet, 4294967295u, 0, true}},
    {"Character42WithCheckpoints", {"3", "42\r", "Y", "N"}, {FillKind::character, 0, 42, true}},
    {"Character42WithoutCheckpoints", {"3", "42\r", "Y", "Y"}, {FillKind::character, 0, 42, false}},
    {"Character65WithCheckpoints", {"3", "65\r", "Y", "N"}, {FillKind::character, 0, 65, true}},
    {"Character65WithoutCheckpoints", {"3", "65\r", "Y", "Y"}, {FillKind::character, 0, 65, false}},
};

class FullRun : public testing::TestWithParam<std::tuple<SizeCase, FillCase>> {};

TEST_P(FullRun, WritesEveryByteOfTheChosenFill)
{
    const auto& [size, fill] = GetParam();
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));

    ASSERT_TRUE(answer_size(session, size.size));
    ASSERT_TRUE(answer(session, fill.answers));
    ASSERT_TRUE(answer(session, {"Y"}));

    ASSERT_EQ(session.wait_for_exit(), ExitStatus::exited(0)) << session.error_output();
    FillChoice choice = fill.choice;
    if (choice.kind == FillKind::alphabet && choice.letter_period == KEEP_DEFAULT)
        choice.letter_period = size.default_period;
    EXPECT_TRUE(same_bytes(contents_of(directory.file("out.dat")), expected_file(size.size, choice)));
    EXPECT_TRUE(session.output().starts_with("\nProgram started ")) << session.output();
    EXPECT_TRUE(session.output().ends_with(size.progress)) << session.output();
}

INSTANTIATE_TEST_SUITE_P(FillSelection, FullRun, testing::Combine(testing::ValuesIn(SIZES), testing::ValuesIn(FILLS)),
                         [](const testing::TestParamInfo<FullRun::ParamType>& info) {
                             return std::string(std::get<1>(info.param).name) + "_" + std::get<0>(info.param).name;
                         });

} // namespace
