#include "check/inference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/expected_file.h"

namespace {

constexpr std::uint64_t SECTION = 1000000;

FillSettings zero_fill(bool checkpoints)
{
    return {FILL_ZERO, DEFAULT_LETTER_PERIOD, 0, checkpoints};
}

FillSettings character(unsigned char byte, bool checkpoints)
{
    return {FILL_CHAR, DEFAULT_LETTER_PERIOD, byte, checkpoints};
}

FillSettings letters(std::uint32_t period)
{
    return {FILL_ALPHABET, period, 0, true};
}

FillChoice as_choice(const FillSettings& fill)
{
    switch (fill.fill_mode) {
    case FILL_ALPHABET:
        return {FillKind::alphabet, fill.letter_period, 0, fill.checkpoints};
    case FILL_CHAR:
        return {FillKind::character, 0, fill.fill_byte, fill.checkpoints};
    default:
        return {FillKind::zero, 0, 0, fill.checkpoints};
    }
}

std::string describe(const FillSettings& fill)
{
    std::string text;
    switch (fill.fill_mode) {
    case FILL_ALPHABET:
        text = "alphabet " +
               (fill.letter_period == LONGER_THAN_ANY_SECTION ? "longer" : std::to_string(fill.letter_period));
        break;
    case FILL_CHAR:
        text = "character " + std::to_string(fill.fill_byte);
        break;
    default:
        text = "zero";
        break;
    }
    return text + (fill.checkpoints ? ", checkpoints" : ", bare");
}

std::string describe(const std::optional<FillSettings>& fill)
{
    return fill ? describe(*fill) : "none";
}

std::optional<FillSettings> alternative_of(const Inference& inference)
{
    if (!inference.has_alternative)
        return std::nullopt;
    return inference.alternative;
}

// Reads the head of `file` as the checker does.
Inference infer(const std::string& file, const StatedSettings& stated = {})
{
    const std::size_t head = std::min(file.size(), INFERENCE_HEAD_BYTES);
    return infer_layout(reinterpret_cast<const unsigned char*>(file.data()), head, file.size(), stated);
}

std::uint32_t section_size_of(std::uint64_t file_size)
{
    return static_cast<std::uint32_t>(std::min(file_size, SECTION));
}

// The period the writer offers for a file of `size` bytes, at the sizes
// tried here (at exactly 10,000 bytes it keeps 10,000).
std::uint32_t offered_period(std::uint64_t size)
{
    if (size < 10000)
        return 10;
    if (size <= 100000)
        return 100;
    if (size <= 500000)
        return 1000;
    if (size < SECTION)
        return 5000;
    return 10000;
}

struct ReadingCase {
    const char* name;
    std::uint64_t size;
    FillChoice made;
    FillSettings read_as;
    std::optional<FillSettings> alternative;
    friend void PrintTo(const ReadingCase& c, std::ostream* stream) { *stream << c.name; }
};

class InferLayout : public testing::TestWithParam<ReadingCase> {};

TEST_P(InferLayout, ReadsTheSettingsBack)
{
    const ReadingCase& c = GetParam();
    const std::string file = expected_file(c.size, c.made);

    const Inference inference = infer(file);

    ASSERT_TRUE(inference.recognised);
    EXPECT_EQ(describe(inference.layout.fill), describe(c.read_as));
    EXPECT_EQ(describe(alternative_of(inference)), describe(c.alternative));
    EXPECT_EQ(inference.layout.section_size, section_size_of(c.size));
    EXPECT_EQ(inference.layout.expected_size, c.size);
    EXPECT_FALSE(inference.layout.size_is_lower_bound);
}

const FillChoice ZEROS{FillKind::zero, 0, 0, true};
const FillChoice BARE_ZEROS{FillKind::zero, 0, 0, false};

FillChoice made_letters(std::uint32_t period)
{
    return {FillKind::alphabet, period, 0, true};
}

FillChoice made_character(unsigned char byte, bool checkpoints)
{
    return {FillKind::character, 0, byte, checkpoints};
}

INSTANTIATE_TEST_SUITE_P(
    CheckInference, InferLayout,
    testing::Values(
        ReadingCase{"Zeros", 65536, ZEROS, zero_fill(true), character(0, true)},
        ReadingCase{"ZerosInOneWholeSection", 1000000, ZEROS, zero_fill(true), character(0, true)},
        ReadingCase{"ZerosWithoutCheckpoints", 2500001, BARE_ZEROS, zero_fill(false), character(0, false)},
        // The first blank of the checkpoint, and nothing else.
        ReadingCase{"OneByte", 1, ZEROS, zero_fill(true), character(0, true)},
        ReadingCase{"Character0", 65536, made_character(0, true), zero_fill(true), character(0, true)},
        ReadingCase{"Character42", 999999, made_character(42, true), character(42, true), std::nullopt},
        ReadingCase{"Character42WithoutCheckpoints", 2500001, made_character(42, false), character(42, false),
                    std::nullopt},
        ReadingCase{"Character65", 65536, made_character(65, true), character(65, true),
                    letters(LONGER_THAN_ANY_SECTION)},
        // The writer never leaves the checkpoints out of the alphabet.
        ReadingCase{"Character65WithoutCheckpoints", 65536, made_character(65, false), character(65, false),
                    std::nullopt},
        ReadingCase{"EveryByte", 2500001, made_letters(1), letters(1), std::nullopt},
        ReadingCase{"EverySevenBytes", 999999, made_letters(7), letters(7), std::nullopt},
        ReadingCase{"EverySevenBytesInATinyFile", 24, made_letters(7), letters(7), std::nullopt},
        ReadingCase{"DefaultPeriod", 2500001, made_letters(10000), letters(10000), std::nullopt},
        ReadingCase{"SmallFilePeriod", 65536, made_letters(100), letters(100), std::nullopt},
        ReadingCase{"TinyFilePeriod", 24, made_letters(10), letters(10), std::nullopt},
        ReadingCase{"TinyFilePeriodShorterStill", 23, made_letters(10), letters(10), std::nullopt},
        // One letter to a section: no change inside any of them.
        ReadingCase{"PeriodOfASection", 2500001, made_letters(1000000), letters(1000000), std::nullopt},
        ReadingCase{"PeriodLongerThanASection", 2500001, made_letters(2000000), character(65, true),
                    letters(LONGER_THAN_ANY_SECTION)},
        ReadingCase{"PeriodLongerThanTheFile", 65536, made_letters(100000), character(65, true),
                    letters(LONGER_THAN_ANY_SECTION)}),
    [](const testing::TestParamInfo<ReadingCase>& info) { return std::string(info.param.name); });

struct FillGridCase {
    const char* name;
    FillChoice made;
    // The alphabet at the period the writer offers for each size.
    bool offered_period = false;
    friend void PrintTo(const FillGridCase& c, std::ostream* stream) { *stream << c.name; }
};

class InferLayoutAtEverySize : public testing::TestWithParam<FillGridCase> {};

// Whatever the reading, when two give the same bytes, it must rebuild the
// file byte for byte.
TEST_P(InferLayoutAtEverySize, RebuildsTheFile)
{
    for (const std::uint64_t size : {0, 1, 23, 24, 65536, 999999, 1000000, 2500001}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        FillChoice made = GetParam().made;
        if (GetParam().offered_period)
            made.letter_period = offered_period(size);
        const std::string file = expected_file(size, made);

        const Inference inference = infer(file);

        ASSERT_TRUE(inference.recognised);
        EXPECT_EQ(inference.layout.section_size, section_size_of(size));
        EXPECT_EQ(inference.layout.expected_size, size);
        EXPECT_TRUE(same_bytes(expected_file(size, as_choice(inference.layout.fill)), file))
            << "read as " << describe(inference.layout.fill);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CheckInference, InferLayoutAtEverySize,
    testing::Values(FillGridCase{"Zeros", ZEROS}, FillGridCase{"ZerosWithoutCheckpoints", BARE_ZEROS},
                    FillGridCase{"Character0", made_character(0, true)},
                    FillGridCase{"Character0WithoutCheckpoints", made_character(0, false)},
                    // The blank of the checkpoints' own.
                    FillGridCase{"Character32", made_character(32, true)},
                    FillGridCase{"Character42", made_character(42, true)},
                    FillGridCase{"Character42WithoutCheckpoints", made_character(42, false)},
                    FillGridCase{"Character65", made_character(65, true)},
                    FillGridCase{"Character255WithoutCheckpoints", made_character(255, false)},
                    FillGridCase{"OfferedPeriod", made_letters(0), true},
                    FillGridCase{"EveryByte", made_letters(1)}, FillGridCase{"EverySevenBytes", made_letters(7)},
                    FillGridCase{"DefaultPeriod", made_letters(10000)},
                    FillGridCase{"PeriodOfASection", made_letters(1000000)},
                    FillGridCase{"PeriodLongerThanASection", made_letters(2000000)}),
    [](const testing::TestParamInfo<FillGridCase>& info) { return std::string(info.param.name); });

struct DamagedHeadCase {
    const char* name;
    std::uint64_t size;
    FillChoice made;
    std::uint64_t offset;
    char value;
    friend void PrintTo(const DamagedHeadCase& c, std::ostream* stream) { *stream << c.name; }
};

class InferLayoutOfADamagedHead : public testing::TestWithParam<DamagedHeadCase> {};

TEST_P(InferLayoutOfADamagedHead, ReadsItAsTheIntactFile)
{
    const DamagedHeadCase& c = GetParam();
    std::string file = expected_file(c.size, c.made);
    const Inference intact = infer(file);
    ASSERT_TRUE(intact.recognised);
    ASSERT_NE(file.at(c.offset), c.value);
    file[c.offset] = c.value;

    const Inference damaged = infer(file);

    ASSERT_TRUE(damaged.recognised);
    EXPECT_EQ(describe(damaged.layout.fill), describe(intact.layout.fill));
    EXPECT_EQ(damaged.layout.section_size, intact.layout.section_size);
    EXPECT_EQ(damaged.layout.expected_size, c.size);
}

INSTANTIATE_TEST_SUITE_P(
    CheckInference, InferLayoutOfADamagedHead,
    testing::Values(
        DamagedHeadCase{"ZerosFill", 2500001, ZEROS, 10, 'x'},
        // The section size then comes from the checkpoint of the section after.
        DamagedHeadCase{"CharacterCheckpoint", 3000000, made_character(42, true), 12, '#'},
        // A single section: the file's own size tells the same.
        DamagedHeadCase{"ZerosOnlyCheckpoint", 65536, ZEROS, 3, '7'},
        DamagedHeadCase{"CharacterWithoutCheckpoints", 2500001, made_character(42, false), 999999, '+'},
        DamagedHeadCase{"EveryByte", 2500001, made_letters(1), 100, 'A'},
        DamagedHeadCase{"EverySevenBytes", 2500001, made_letters(7), 1000, '#'},
        DamagedHeadCase{"DefaultPeriodAtAChange", 3000000, made_letters(10000), 500000, 'Z'},
        DamagedHeadCase{"SmallFilePeriod", 65536, made_letters(100), 30000, '#'},
        DamagedHeadCase{"LongerPeriod", 2500001, made_letters(2000000), 7, '#'}),
    [](const testing::TestParamInfo<DamagedHeadCase>& info) { return std::string(info.param.name); });

std::string noise(std::size_t count)
{
    std::mt19937 generator(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& value : bytes)
        value = static_cast<char>(byte(generator));
    return bytes;
}

TEST(CheckInference, DoesNotRecogniseRandomBytes)
{
    for (const std::size_t size : {std::size_t{30}, std::size_t{100000}, std::size_t{3000000}}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        EXPECT_FALSE(infer(noise(size)).recognised);
    }
}

// Damaged past recognition, but its checkpoint says what it was meant to be.
TEST(CheckInference, RecognisesRandomBytesUnderARealCheckpoint)
{
    std::string file = noise(100000);
    const std::string zeros = expected_file(100000, ZEROS);
    // The record and its terminating zero.
    const std::string head = zeros.substr(0, zeros.find('\0') + 1);
    file.replace(0, head.size(), head);

    const Inference inference = infer(file);

    EXPECT_TRUE(inference.recognised);
    EXPECT_TRUE(inference.layout.fill.checkpoints);
    EXPECT_EQ(inference.layout.section_size, 100000u);
}

StatedSettings stated_fill(std::int32_t mode)
{
    StatedSettings stated;
    stated.has_fill_mode = true;
    stated.fill_mode = mode;
    return stated;
}

StatedSettings stated_period(std::uint32_t period)
{
    StatedSettings stated = stated_fill(FILL_ALPHABET);
    stated.has_letter_period = true;
    stated.letter_period = period;
    return stated;
}

StatedSettings stated_character(unsigned char byte)
{
    StatedSettings stated = stated_fill(FILL_CHAR);
    stated.has_fill_byte = true;
    stated.fill_byte = byte;
    return stated;
}

StatedSettings stated_checkpoints(bool on)
{
    StatedSettings stated;
    stated.has_checkpoints = true;
    stated.checkpoints = on;
    return stated;
}

StatedSettings stated_size(std::uint64_t size)
{
    StatedSettings stated;
    stated.has_size = true;
    stated.size = size;
    return stated;
}

struct StatedCase {
    const char* name;
    std::string file;
    StatedSettings stated;
    FillSettings read_as;
    std::uint32_t section_size;
    std::uint64_t expected_size;
    friend void PrintTo(const StatedCase& c, std::ostream* stream) { *stream << c.name; }
};

class InferLayoutAsStated : public testing::TestWithParam<StatedCase> {};

// What is stated is taken even where the file says otherwise, and then no
// other reading is offered.
TEST_P(InferLayoutAsStated, TakesTheStatedSettings)
{
    const StatedCase& c = GetParam();

    const Inference inference = infer(c.file, c.stated);

    ASSERT_TRUE(inference.recognised);
    EXPECT_EQ(describe(inference.layout.fill), describe(c.read_as));
    EXPECT_FALSE(inference.has_alternative) << describe(inference.alternative);
    EXPECT_EQ(inference.layout.section_size, c.section_size);
    EXPECT_EQ(inference.layout.expected_size, c.expected_size);
}

INSTANTIATE_TEST_SUITE_P(
    CheckInference, InferLayoutAsStated,
    testing::Values(
        StatedCase{"ZeroFillOfLetters", expected_file(2500001, made_letters(10000)), stated_fill(FILL_ZERO),
                   zero_fill(true), 1000000, 2500001},
        StatedCase{"PeriodOfOtherLetters", expected_file(2500001, made_letters(10000)), stated_period(7), letters(7),
                   1000000, 2500001},
        StatedCase{"CharacterOfZeros", expected_file(65536, ZEROS), stated_character(43), character(43, true), 65536,
                   65536},
        StatedCase{"CharacterFillOfZeros", expected_file(65536, ZEROS), stated_fill(FILL_CHAR), character(0, true),
                   65536, 65536},
        StatedCase{"ZeroFillOfZeros", expected_file(65536, ZEROS), stated_fill(FILL_ZERO), zero_fill(true), 65536,
                   65536},
        StatedCase{"NoCheckpointsWhereThereAre", expected_file(65536, made_character(42, true)),
                   stated_checkpoints(false), character(42, false), 65536, 65536},
        StatedCase{"CheckpointsWhereThereAreNone", expected_file(65536, BARE_ZEROS), stated_checkpoints(true),
                   zero_fill(true), 65536, 65536},
        StatedCase{"LargerSize", expected_file(3000000, made_letters(10000)), stated_size(5000000), letters(10000),
                   1000000, 5000000},
        // The writer cuts a file below a section into one section of its size.
        StatedCase{"LargerSizeOfASmallFile", expected_file(65536, made_character(42, true)), stated_size(70000),
                   character(42, true), 70000, 70000},
        StatedCase{"FillOfRandomBytes", noise(100000), stated_fill(FILL_ZERO), zero_fill(true), 100000, 100000}),
    [](const testing::TestParamInfo<StatedCase>& info) { return std::string(info.param.name); });

TEST(CheckInference, RecognisesNoLettersWhereTheAlphabetIsStatedButNoneShow)
{
    EXPECT_FALSE(infer(expected_file(65536, ZEROS), stated_fill(FILL_ALPHABET)).recognised);
}

struct CutCase {
    const char* name;
    std::uint64_t written;
    FillChoice made;
    std::uint64_t kept;
    std::uint32_t section_size;
    std::uint64_t expected_size;
    bool lower_bound;
    friend void PrintTo(const CutCase& c, std::ostream* stream) { *stream << c.name; }
};

class InferLayoutOfACutFile : public testing::TestWithParam<CutCase> {};

// The checkpoints tell the size of a file below a section whole; of a
// larger file, only that it had at least a section.
TEST_P(InferLayoutOfACutFile, TakesTheSizeTheCheckpointsTell)
{
    const CutCase& c = GetParam();
    const std::string file = expected_file(c.written, c.made).substr(0, c.kept);

    const Inference inference = infer(file);

    ASSERT_TRUE(inference.recognised);
    EXPECT_TRUE(inference.layout.fill.checkpoints);
    EXPECT_EQ(inference.layout.section_size, c.section_size);
    EXPECT_EQ(inference.layout.expected_size, c.expected_size);
    EXPECT_EQ(inference.layout.size_is_lower_bound, c.lower_bound);
}

INSTANTIATE_TEST_SUITE_P(
    CheckInference, InferLayoutOfACutFile,
    testing::Values(CutCase{"BelowASection", 65536, ZEROS, 30000, 65536, 65536, false},
                    CutCase{"OneWholeSection", 1000000, ZEROS, 600000, 1000000, 1000000, true},
                    // Past the first section, the file's own size is all there is.
                    CutCase{"SeveralSections", 5000000, made_letters(10000), 3500000, 1000000, 3500000, false},
                    // Longer than the head the inference reads.
                    CutCase{"LongerThanTheHead", 12000000, made_letters(10000), 12000000, 1000000, 12000000, false}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

} // namespace
