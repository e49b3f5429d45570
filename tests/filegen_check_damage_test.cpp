// filegen-check on damaged copies of files the real filegen wrote: a byte
// changed, the file cut short or made longer, two sections swapped. Each is
// found at its offset and section, with the byte expected and the byte
// found, the count of damaged sections and, with --all, the list of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/checker_run.h"
#include "tests/support/run_helpers.h"
#include "tests/support/written_files.h"
#include "tests/support/zero_fill_run.h"

namespace {

constexpr std::uint64_t SECTION = 1000000;

using Damage = std::function<void(std::string& bytes)>;

Damage change_byte(std::uint64_t offset, char value)
{
    return [=](std::string& bytes) {
        ASSERT_NE(bytes.at(offset), value) << "no change at " << offset;
        bytes[offset] = value;
    };
}

Damage cut_to(std::uint64_t size)
{
    return [=](std::string& bytes) {
        ASSERT_LT(size, bytes.size());
        bytes.resize(size);
    };
}

Damage append(std::size_t count, char byte)
{
    return [=](std::string& bytes) { bytes.append(count, byte); };
}

Damage swap_sections(std::uint64_t first, std::uint64_t second)
{
    return [=](std::string& bytes) {
        ASSERT_LE((second + 1) * SECTION, bytes.size());
        std::swap_ranges(bytes.begin() + static_cast<std::ptrdiff_t>(first * SECTION),
                         bytes.begin() + static_cast<std::ptrdiff_t>((first + 1) * SECTION),
                         bytes.begin() + static_cast<std::ptrdiff_t>(second * SECTION));
    };
}

Damage both(Damage first, Damage second)
{
    return [=](std::string& bytes) {
        first(bytes);
        second(bytes);
    };
}

// The files the damage is done to.
struct Original {
    std::uint64_t size;
    FillChoice choice;
    std::string settings;
    // The note of another reading of the same bytes, when there is one.
    std::string note;
};

const Original LETTERS{5000000, {FillKind::alphabet, 0, 0, true},
                       "settings:  alphabet fill, letter period 10,000, checkpoints on, sections of 1,000,000 bytes",
                       ""};
const Original STARS{2500001, {FillKind::character, 0, '*', true},
                     "settings:  character 42 '*', checkpoints on, sections of 1,000,000 bytes", ""};
const Original ZEROS_ONE_UNIT{65536, {FillKind::zero, 0, 0, true},
                              "settings:  zero fill, checkpoints on, sections of 65,536 bytes",
                              "note:      character 0 gives the same bytes; read as zero fill"};
// The same file, checked as one that should have been empty.
const Original ZEROS_ONE_UNIT_NONE_DUE{65536, {FillKind::zero, 0, 0, true},
                                       "settings:  zero fill, checkpoints on, sections of 0 bytes", ""};
const Original ZEROS_ONE_SECTION{1000000, {FillKind::zero, 0, 0, true},
                                 "settings:  zero fill, checkpoints on, sections of 1,000,000 bytes",
                                 "note:      character 0 gives the same bytes; read as zero fill"};

struct DamageCase {
    const char* name;
    const Original& original;
    Damage damage;
    // Options before the file's path.
    std::vector<std::string> options;
    int status;
    // The report between the settings (and their note) and the read line.
    std::vector<std::string> findings;
    friend void PrintTo(const DamageCase& c, std::ostream* stream) { *stream << c.name; }
};

class CheckDamagedFile : public WithWrittenFiles<testing::TestWithParam<DamageCase>> {};

TEST_P(CheckDamagedFile, FindsTheDamage)
{
    const DamageCase& c = GetParam();
    const std::string original = files->path_of(c.original.size, c.original.choice);
    ASSERT_FALSE(original.empty());
    std::string bytes = contents_of(original);
    ASSERT_EQ(bytes.size(), c.original.size);
    c.damage(bytes);
    ASSERT_FALSE(HasFatalFailure());
    const std::string copy = files->directory().file(std::string(c.name) + ".dat");
    std::ofstream(copy, std::ios::binary) << bytes;

    std::vector<std::string> arguments = c.options;
    arguments.push_back(copy);
    const ProgramOutcome checked = run_checker(arguments);

    EXPECT_EQ(checked.status, ExitStatus::exited(c.status)) << checked.output << checked.error;
    EXPECT_EQ(checked.error, "");
    const bool size_stated = std::any_of(c.options.begin(), c.options.end(),
                                         [](const std::string& option) { return option.starts_with("--size"); });
    const std::string stated = size_stated ? " (size stated, the rest inferred)" : " (inferred from the file)";
    std::vector<std::string> expected{"file:      " + copy + ", " + with_digit_groups(bytes.size()) + " bytes",
                                      c.original.settings + stated};
    if (!c.original.note.empty())
        expected.push_back(c.original.note);
    expected.insert(expected.end(), c.findings.begin(), c.findings.end());
    std::vector<std::string> report;
    ASSERT_TRUE(report_without_timing(checked.output, report));
    EXPECT_EQ(report, expected);
}

INSTANTIATE_TEST_SUITE_P(
    FilegenCheck, CheckDamagedFile,
    testing::Values(
        // A damaged first section must not mislead the reading of the settings.
        DamageCase{"LetterInTheFirstSection", LETTERS, change_byte(123456, '#'), {}, 1,
                   {"damaged:   first difference at offset 123,456 in section 0: expected 0x4d 'M', found 0x23 '#'",
                    "damaged:   1 of 5 sections differs"}},
        DamageCase{"LetterInAMiddleSection", LETTERS, change_byte(2345678, '#'), {"--all"}, 1,
                   {"section 2 at offset 2,000,000: 1 byte differs, the first at offset 2,345,678: expected 0x61 "
                    "'a', found 0x23 '#'",
                    "damaged:   first difference at offset 2,345,678 in section 2: expected 0x61 'a', found 0x23 '#'",
                    "damaged:   1 of 5 sections differs"}},
        DamageCase{"LastByteOfAPartialSection", STARS, change_byte(2500000, '+'), {}, 1,
                   {"damaged:   first difference at offset 2,500,000 in section 2: expected 0x2a '*', found 0x2b '+'",
                    "damaged:   1 of 3 sections differs"}},
        // A broken record names no section.
        DamageCase{"CheckpointSize", LETTERS, change_byte(2000017, 'Q'), {"--all"}, 1,
                   {"section 2 at offset 2,000,000: 1 byte differs, the first at offset 2,000,017: expected 0x30 "
                    "'0', found 0x51 'Q'",
                    "damaged:   first difference at offset 2,000,017 in section 2: expected 0x30 '0', found 0x51 'Q'",
                    "damaged:   1 of 5 sections differs"}},
        DamageCase{"CheckpointNamingAnotherSection", LETTERS, change_byte(3000009, '1'), {"--all"}, 1,
                   {"section 3 at offset 3,000,000: 1 byte differs, the first at offset 3,000,009: expected 0x33 "
                    "'3', found 0x31 '1'",
                    "  its checkpoint names section 1",
                    "damaged:   first difference at offset 3,000,009 in section 3: expected 0x33 '3', found 0x31 '1'",
                    "damaged:   1 of 5 sections differs"}},
        DamageCase{"SwappedSections", LETTERS, swap_sections(1, 3), {"--all"}, 1,
                   {"section 1 at offset 1,000,000: 999,978 bytes differ, the first at offset 1,000,009: expected "
                    "0x31 '1', found 0x33 '3'",
                    "  its checkpoint names section 3",
                    "section 3 at offset 3,000,000: 999,978 bytes differ, the first at offset 3,000,009: expected "
                    "0x33 '3', found 0x31 '1'",
                    "  its checkpoint names section 1",
                    "damaged:   first difference at offset 1,000,009 in section 1: expected 0x31 '1', found 0x33 '3'",
                    "damaged:   2 of 5 sections differ"}},
        // Whole sections, and no size stated: nothing tells that more were due.
        DamageCase{"CutAtASectionBoundary", LETTERS, cut_to(3000000), {}, 0,
                   {"intact:    3,000,000 bytes in 3 sections"}},
        DamageCase{"CutAtASectionBoundaryWithTheSizeStated", LETTERS, cut_to(3000000),
                   {"--size", "5000000", "--all"}, 1,
                   {"size:      5,000,000 bytes expected (stated)",
                    "sections 3 to 4 from offset 3,000,000: missing",
                    "damaged:   first difference at offset 3,000,000 in section 3: expected 0x20 ' ', found the end "
                    "of the file",
                    "truncated: the file ends at 3,000,000 bytes; 5,000,000 expected",
                    "damaged:   2 of 5 sections differ"}},
        DamageCase{"CutInsideASectionWithTheSizeStated", LETTERS, cut_to(3500000), {"--size=5000000", "--all"}, 1,
                   {"size:      5,000,000 bytes expected (stated)",
                    "section 3 at offset 3,000,000: 500,000 bytes differ, the first at offset 3,500,000: expected "
                    "0x6d 'm', found the end of the file",
                    "section 4 at offset 4,000,000: missing",
                    "damaged:   first difference at offset 3,500,000 in section 3: expected 0x6d 'm', found the end "
                    "of the file",
                    "truncated: the file ends at 3,500,000 bytes; 5,000,000 expected",
                    "damaged:   2 of 5 sections differ"}},
        // The first difference comes before the end; the end is short all the same.
        DamageCase{"ChangedAndCut", LETTERS, both(change_byte(5, '#'), cut_to(3500000)), {"--size", "5000000"}, 1,
                   {"size:      5,000,000 bytes expected (stated)",
                    "damaged:   first difference at offset 5 in section 0: expected 0x20 ' ', found 0x23 '#'",
                    "truncated: the file ends at 3,500,000 bytes; 5,000,000 expected",
                    "damaged:   3 of 5 sections differ"}},
        // A section size below a whole section is the size of the file.
        DamageCase{"OneSectionFileCut", ZEROS_ONE_UNIT, cut_to(30000), {}, 1,
                   {"size:      65,536 bytes expected (from the checkpoint's section size)",
                    "damaged:   first difference at offset 30,000 in section 0: expected 0x00, found the end of the "
                    "file",
                    "truncated: the file ends at 30,000 bytes; 65,536 expected",
                    "damaged:   1 of 1 section differs"}},
        // A whole section's size says only that there was at least one.
        DamageCase{"WholeSectionFileCut", ZEROS_ONE_SECTION, cut_to(600000), {}, 1,
                   {"size:      at least 1,000,000 bytes expected (from the checkpoint's section size)",
                    "damaged:   first difference at offset 600,000 in section 0: expected 0x00, found the end of the "
                    "file",
                    "truncated: the file ends at 600,000 bytes; at least 1,000,000 expected",
                    "damaged:   1 of 1 section differs"}},
        DamageCase{"BytesAppended", LETTERS, append(100, 'x'), {"--size", "5000000"}, 1,
                   {"size:      5,000,000 bytes expected (stated)",
                    "damaged:   first difference at offset 5,000,000, past the last section: expected the end of the "
                    "file, found 0x78 'x'",
                    "damaged:   100 bytes past the expected end at 5,000,000"}},
        // Every byte is one too many when the file should be empty.
        DamageCase{"NothingWasDue", ZEROS_ONE_UNIT_NONE_DUE, [](std::string&) {}, {"--size", "0"}, 1,
                   {"size:      0 bytes expected (stated)",
                    "damaged:   first difference at offset 0, past the last section: expected the end of the file, "
                    "found 0x20 ' '",
                    "damaged:   65,536 bytes past the expected end at 0"}}),
    [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

} // namespace
