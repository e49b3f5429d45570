#include "generate/section_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "dialogue/size_negotiation.h"
#include "generate/checkpoint.h"
#include "platform/platform.h"
#include "run/run_state.h"
#include "tests/letter_model.h"

namespace {

constexpr char FILL_BYTE = '*';

// The write loop as first written: one buffer, every section filled byte by
// byte from its start, the checkpoint formatted over it, the section written
// from the start of the buffer.
class ModelSections {
public:
    ModelSections(std::uint32_t section_size, std::uint32_t period)
        : buffer_(std::max<std::size_t>(std::size_t{section_size} + 1, CHECKPOINT_RECORD_MAX), '\0'),
          period_(period)
    {
    }

    std::string next(std::int32_t fill_mode, bool checkpoints, std::int32_t number, std::uint32_t section_size,
                     std::uint32_t length)
    {
        if (fill_mode == FILL_ALPHABET) {
            const std::string letters = model_letters(length, period_, letter_);
            std::copy(letters.begin(), letters.end(), buffer_.begin());
        } else if (fill_mode == FILL_CHAR) {
            std::fill_n(buffer_.begin(), length, FILL_BYTE);
        }
        if (checkpoints)
            write_checkpoint(buffer_.data(), number, section_size);
        return std::string(buffer_.data(), length);
    }

private:
    std::vector<char> buffer_;
    std::uint32_t period_;
    char letter_ = 'A';
};

struct SourceCase {
    std::int32_t fill_mode;
    bool checkpoints;
    std::uint32_t section_size;
    std::uint64_t file_size;
    std::uint32_t period_at_allocation;
    std::uint32_t period; // as the user may change it after the allocation
    friend void PrintTo(const SourceCase& c, std::ostream* out)
    {
        *out << "mode " << c.fill_mode << ", " << c.file_size << " bytes, period " << c.period;
    }
};

class SectionSourceTest : public ::testing::TestWithParam<SourceCase> {
protected:
    void TearDown() override
    {
        platform::release_pages(run_state.section_buffer, run_state.section_buffer_length);
        run_state.section_buffer = nullptr;
        run_state.fill_char = nullptr;
        run_state.fill_mode = FILL_ZERO;
        run_state.checkpoints_enabled = 1;
        run_state.letter_period = DEFAULT_LETTER_PERIOD;
        run_state.current_letter = 'A';
    }
};

TEST_P(SectionSourceTest, EverySectionHoldsWhatTheBytewiseFillGives)
{
    const SourceCase& c = GetParam();
    run_state.letter_period = c.period_at_allocation;
    allocate_section_buffer(c.section_size);
    run_state.letter_period = c.period;
    run_state.current_letter = 'A';
    run_state.fill_mode = c.fill_mode;
    run_state.checkpoints_enabled = c.checkpoints ? 1 : 0;
    char fill_char[20] = {FILL_BYTE};
    run_state.fill_char = fill_char;

    ModelSections model(c.section_size, c.period);
    SectionSource source = begin_sections(c.section_size);
    std::int32_t number = 0;
    for (std::uint64_t done = 0; done < c.file_size; done += c.section_size, ++number) {
        const auto length = static_cast<std::uint32_t>(std::min<std::uint64_t>(c.section_size, c.file_size - done));
        SCOPED_TRACE(::testing::Message() << "section " << number << " of length " << length);
        char* section = next_section(source, length);
        if (c.checkpoints)
            note_overwritten(source, write_checkpoint(section, number, c.section_size) + 1);

        const std::string expected = model.next(c.fill_mode, c.checkpoints, number, c.section_size, length);
        const std::string actual(section, length);
        if (actual != expected) {
            std::size_t first = 0;
            while (actual[first] == expected[first])
                ++first;
            FAIL() << "first difference at offset " << first;
        }
    }
}

std::string source_case_name(const ::testing::TestParamInfo<SourceCase>& info)
{
    const SourceCase& c = info.param;
    const char* const modes[] = {"", "Zero", "Alphabet", "Char"};
    return std::string(modes[c.fill_mode]) + (c.checkpoints ? "WithCheckpoints" : "WithoutCheckpoints") +
           "Section" + std::to_string(c.section_size) + "File" + std::to_string(c.file_size) + "Period" +
           std::to_string(c.period_at_allocation) + "Then" + std::to_string(c.period);
}

// Sixty sections pass every start of a 52-letter cycle, and the file's end
// leaves a short last section.
INSTANTIATE_TEST_SUITE_P(
    FillModes, SectionSourceTest,
    ::testing::Values(SourceCase{FILL_ALPHABET, true, 1000000, 60500000, 10000, 10000},
                      SourceCase{FILL_ALPHABET, true, 1000000, 60000007, 10000, 1},
                      SourceCase{FILL_ALPHABET, true, 1000000, 60000005, 10000, 7},
                      SourceCase{FILL_ALPHABET, true, 1000000, 60000000, 10000, 9999},
                      SourceCase{FILL_ALPHABET, false, 1000000, 60000013, 10000, 333},
                      // A period longer than the one the buffer was made
                      // for: every section is filled anew.
                      SourceCase{FILL_ALPHABET, true, 1000000, 5500000, 10000, 10001},
                      SourceCase{FILL_ALPHABET, true, 1000000, 5500000, 10000, 4294967295},
                      SourceCase{FILL_ALPHABET, true, 65536, 65536, 100, 100},
                      SourceCase{FILL_ALPHABET, true, 5, 5, 10, 10},
                      SourceCase{FILL_ALPHABET, true, 5, 5, 10, 1},
                      SourceCase{FILL_CHAR, true, 1000000, 3000005, 10000, 10000},
                      SourceCase{FILL_CHAR, false, 1000000, 3000005, 10000, 10000},
                      SourceCase{FILL_CHAR, true, 7, 7, 10, 10},
                      SourceCase{FILL_ZERO, true, 1000000, 3000005, 10000, 10000},
                      SourceCase{FILL_ZERO, false, 1000000, 2000000, 10000, 10000}),
    source_case_name);

} // namespace
