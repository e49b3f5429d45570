// filegen-check on files the real filegen wrote, in every fill: each is
// intact, read with the settings it was written with (or the reading that
// gives the same bytes), its bytes and sections counted.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/checker_run.h"
#include "tests/support/written_files.h"
#include "tests/support/zero_fill_run.h"

namespace {

FillChoice zeros(bool checkpoints)
{
    return {FillKind::zero, 0, 0, checkpoints};
}

// A period of 0 keeps the one filegen offers.
FillChoice letters(std::uint32_t period)
{
    return {FillKind::alphabet, period, 0, true};
}

FillChoice character(unsigned char byte, bool checkpoints)
{
    return {FillKind::character, 0, byte, checkpoints};
}

std::string byte_count(std::uint64_t count)
{
    return with_digit_groups(count) + (count == 1 ? " byte" : " bytes");
}

struct IntactCase {
    const char* name;
    std::uint64_t size;
    FillChoice choice;
    // The settings line and, when another reading gives the same bytes, the
    // note that says so.
    std::vector<std::string> settings;
    const char* sections;
    friend void PrintTo(const IntactCase& c, std::ostream* stream) { *stream << c.name; }
};

class CheckIntactFile : public WithWrittenFiles<testing::TestWithParam<IntactCase>> {};

TEST_P(CheckIntactFile, SaysIntactWithTheSettingsAndTheCounts)
{
    const IntactCase& c = GetParam();
    const std::string path = files->path_of(c.size, c.choice);
    ASSERT_FALSE(path.empty());

    const ProgramOutcome checked = run_checker({path});

    EXPECT_EQ(checked.status, ExitStatus::exited(0)) << checked.output << checked.error;
    EXPECT_EQ(checked.error, "");
    std::vector<std::string> expected{"file:      " + path + ", " + byte_count(c.size)};
    expected.insert(expected.end(), c.settings.begin(), c.settings.end());
    expected.push_back("intact:    " + byte_count(c.size) + " in " + c.sections);
    std::vector<std::string> report;
    ASSERT_TRUE(report_without_timing(checked.output, report));
    EXPECT_EQ(report, expected);
}

const std::string ZERO_NOTE = "note:      character 0 gives the same bytes; read as zero fill";
const std::string LETTER_A_NOTE =
    "note:      alphabet fill, letter period longer than a section gives the same bytes; read as character 65 'A'";

INSTANTIATE_TEST_SUITE_P(
    FilegenCheck, CheckIntactFile,
    testing::Values(
        // One byte: the first blank of the checkpoint, which every fill shares.
        IntactCase{"ZeroOneByte", 1, zeros(true),
                   {"settings:  zero fill, checkpoints on, sections of 1 byte (inferred from the file)", ZERO_NOTE},
                   "1 section"},
        IntactCase{"ZeroOneUnit", 65536, zeros(true),
                   {"settings:  zero fill, checkpoints on, sections of 65,536 bytes (inferred from the file)",
                    ZERO_NOTE},
                   "1 section"},
        IntactCase{"ZeroOneWholeSection", 1000000, zeros(true),
                   {"settings:  zero fill, checkpoints on, sections of 1,000,000 bytes (inferred from the file)",
                    ZERO_NOTE},
                   "1 section"},
        IntactCase{"ZeroWithoutCheckpoints", 2500001, zeros(false),
                   {"settings:  zero fill, checkpoints off, sections of 1,000,000 bytes (inferred from the file)",
                    ZERO_NOTE},
                   "3 sections"},
        IntactCase{"LettersEveryByte", 2500001, letters(1),
                   {"settings:  alphabet fill, letter period 1, checkpoints on, sections of 1,000,000 bytes "
                    "(inferred from the file)"},
                   "3 sections"},
        IntactCase{"LettersEverySevenBytes", 3000000, letters(7),
                   {"settings:  alphabet fill, letter period 7, checkpoints on, sections of 1,000,000 bytes "
                    "(inferred from the file)"},
                   "3 sections"},
        IntactCase{"LettersAtTheDefaultPeriod", 3000000, letters(0),
                   {"settings:  alphabet fill, letter period 10,000, checkpoints on, sections of 1,000,000 bytes "
                    "(inferred from the file)"},
                   "3 sections"},
        IntactCase{"LettersAtTheSmallFilePeriod", 65536, letters(0),
                   {"settings:  alphabet fill, letter period 100, checkpoints on, sections of 65,536 bytes "
                    "(inferred from the file)"},
                   "1 section"},
        // Five letters past the checkpoint, and no change among them.
        IntactCase{"LettersInATinyFile", 24, letters(0),
                   {"settings:  alphabet fill, letter period 10, checkpoints on, sections of 24 bytes (inferred "
                    "from the file)"},
                   "1 section"},
        // Each section one letter: no change inside any of them.
        IntactCase{"LettersEverySection", 3000000, letters(1000000),
                   {"settings:  alphabet fill, letter period 1,000,000, checkpoints on, sections of 1,000,000 "
                    "bytes (inferred from the file)"},
                   "3 sections"},
        IntactCase{"LettersLongerThanASection", 2500001, letters(2000000),
                   {"settings:  character 65 'A', checkpoints on, sections of 1,000,000 bytes (inferred from the "
                    "file)",
                    LETTER_A_NOTE},
                   "3 sections"},
        IntactCase{"Character42", 2500001, character(42, true),
                   {"settings:  character 42 '*', checkpoints on, sections of 1,000,000 bytes (inferred from the "
                    "file)"},
                   "3 sections"},
        IntactCase{"Character42WithoutCheckpointsOneByte", 1, character(42, false),
                   {"settings:  character 42 '*', checkpoints off, sections of 1 byte (inferred from the file)"},
                   "1 section"},
        IntactCase{"Character65", 65536, character(65, true),
                   {"settings:  character 65 'A', checkpoints on, sections of 65,536 bytes (inferred from the "
                    "file)",
                    LETTER_A_NOTE},
                   "1 section"},
        // The writer never leaves the checkpoints out of the alphabet.
        IntactCase{"Character65WithoutCheckpoints", 1000000, character(65, false),
                   {"settings:  character 65 'A', checkpoints off, sections of 1,000,000 bytes (inferred from the "
                    "file)"},
                   "1 section"},
        IntactCase{"Character0", 3000000, character(0, true),
                   {"settings:  zero fill, checkpoints on, sections of 1,000,000 bytes (inferred from the file)",
                    ZERO_NOTE},
                   "3 sections"},
        IntactCase{"Character0WithoutCheckpoints", 65536, character(0, false),
                   {"settings:  zero fill, checkpoints off, sections of 65,536 bytes (inferred from the file)",
                    ZERO_NOTE},
                   "1 section"}),
    [](const testing::TestParamInfo<IntactCase>& info) { return std::string(info.param.name); });

} // namespace
