#include "generate/fill.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "run/run_state.h"
#include "tests/letter_model.h"

namespace {

constexpr char SENTINEL = '#';

// Letter number `index` of the cycle A..Z, a..z.
char cycle_letter(std::uint64_t index)
{
    index %= 52;
    return static_cast<char>(index < 26 ? 'A' + index : 'a' + (index - 26));
}

class FillTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        run_state.section_buffer = nullptr;
        run_state.fill_char = nullptr;
        run_state.letter_period = DEFAULT_LETTER_PERIOD;
        run_state.current_letter = 'A';
    }

    // A buffer for sections of up to `longest` bytes, the spare byte, and a
    // sentinel past it that no fill may reach.
    void use_buffer(std::size_t longest)
    {
        buffer_.assign(longest + 2, SENTINEL);
        run_state.section_buffer = buffer_.data();
    }

    std::string filled(std::size_t count) const { return std::string(buffer_.data(), count); }

    std::vector<char> buffer_;
};

TEST_F(FillTest, LettersMatchTheBytewiseFillOverConsecutiveSections)
{
    const std::uint32_t periods[] = {1, 2, 51, 52, 53, 511, 512, 513, 10000, 7777, 1000001, 4294967295};
    const char first_letters[] = {'A', 'Z', 'z', 'q'};
    const std::vector<std::vector<std::size_t>> section_runs = {
        {1000000, 1000000, 1000000, 123457},
        {0, 1, 5, 0, 5, 1},
    };

    use_buffer(1000000);
    for (std::uint32_t period : periods) {
        for (char first : first_letters) {
            for (const auto& lengths : section_runs) {
                run_state.letter_period = period;
                run_state.current_letter = first;
                char model_letter = first;
                for (std::size_t section = 0; section < lengths.size(); ++section) {
                    const std::size_t length = lengths[section];
                    SCOPED_TRACE(::testing::Message() << "period " << period << ", first '" << first
                                                      << "', section " << section << " of length " << length);
                    buffer_.assign(buffer_.size(), SENTINEL);
                    fill_letters(length);
                    const std::string expected = model_letters(length, period, model_letter);
                    ASSERT_EQ(filled(length + 1), expected);
                    ASSERT_EQ(buffer_[length + 1], SENTINEL) << "written past the spare byte";
                    ASSERT_EQ(run_state.current_letter, model_letter);
                }
            }
        }
    }
}

// What a reader of a file of standard sections relies on, written with the
// file offset rather than the in-section one.
TEST_F(FillTest, LetterAtFileOffsetFollowsThePeriod)
{
    use_buffer(1000000);

    run_state.letter_period = 10000;
    fill_letters(1000000);
    EXPECT_EQ(buffer_[0], 'A');
    EXPECT_EQ(buffer_[10000], 'B');
    EXPECT_EQ(buffer_[26 * 10000], 'a');
    fill_letters(1000000);
    EXPECT_EQ(buffer_[0], 'w') << "section 1 starts with letter 100 mod 52";

    run_state.letter_period = 1;
    run_state.current_letter = 'A';
    for (std::uint64_t section = 0; section < 3; ++section) {
        fill_letters(1000000);
        for (std::uint64_t i = 0; i < 1000000; ++i) {
            const std::uint64_t offset = section * 1000000 + i;
            ASSERT_EQ(buffer_[i], cycle_letter(offset)) << "offset " << offset;
        }
    }

    run_state.current_letter = 'A';
    for (std::uint32_t period : {1000001u, 4294967295u}) {
        run_state.letter_period = period;
        for (int section = 0; section < 3; ++section) {
            fill_letters(1000000);
            ASSERT_EQ(filled(1000000), std::string(1000000, 'A')) << "period " << period;
        }
    }
}

TEST_F(FillTest, CharFillCoversExactlyTheLength)
{
    const struct {
        std::size_t length;
        char fill;
    } cases[] = {
        {0, '*'}, {1, '*'}, {5, '\xff'}, {1000000, '*'}, {1000000, '\0'},
    };
    char fill_char[20] = "";
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "length " << c.length << ", byte " << int(c.fill));
        use_buffer(1000000);
        fill_char[0] = c.fill;
        run_state.fill_char = fill_char;
        fill_with_char(c.length);
        EXPECT_EQ(filled(c.length), std::string(c.length, c.fill));
        EXPECT_EQ(buffer_[c.length], SENTINEL);
    }
}

TEST_F(FillTest, CharFillWithoutACharacterLeavesTheBuffer)
{
    use_buffer(100);
    run_state.fill_char = nullptr;
    fill_with_char(100);
    EXPECT_EQ(filled(102), std::string(102, SENTINEL));
}

} // namespace
