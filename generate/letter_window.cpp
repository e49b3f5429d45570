#include "generate/letter_window.h"

#include <algorithm>

#include "generate/checkpoint.h"
#include "generate/fill.h"
#include "run/run_state.h"

namespace {

// Sections start at one of the first 52 periods of the window.
constexpr std::uint64_t LAST_START_PERIOD = 51;

// The window of the default period adds half a section; longer periods,
// which only the user can choose, fill every section anew.
constexpr std::uint32_t LONGEST_WINDOW_PERIOD = DEFAULT_LETTER_PERIOD;

std::uint64_t window_bytes(std::uint32_t section_size)
{
    // A checkpoint may reach past a section shorter than itself.
    return LAST_START_PERIOD * run_state.letter_period +
           std::max<std::uint64_t>(std::uint64_t{section_size} + 1, CHECKPOINT_RECORD_MAX);
}

} // namespace

std::size_t letter_window_reserve(std::uint32_t period)
{
    return period <= LONGEST_WINDOW_PERIOD ? LAST_START_PERIOD * period : 0;
}

bool letter_window_fits(std::uint32_t section_size)
{
    return run_state.letter_period <= LONGEST_WINDOW_PERIOD &&
           window_bytes(section_size) <= run_state.section_buffer_length;
}

void lay_letter_window(std::uint32_t section_size)
{
    lay_letters(run_state.section_buffer, window_bytes(section_size), run_state.letter_period, 'A');
}

char* letter_window_section(std::uint32_t length)
{
    const std::uint64_t period = run_state.letter_period;
    const std::uint64_t first = letter_number(run_state.current_letter);
    run_state.current_letter = numbered_letter(first + length / period);
    return run_state.section_buffer + first * period;
}

void restore_letter_window(char* start, std::size_t count)
{
    const std::uint64_t period = run_state.letter_period;
    const auto offset = static_cast<std::uint64_t>(start - run_state.section_buffer);
    for (std::uint64_t i = 0; i < count; ++i)
        start[i] = numbered_letter((offset + i) / period);
}
