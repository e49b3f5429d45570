#include "generate/fill.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "run/run_state.h"

namespace {

constexpr std::uint64_t LETTERS_IN_CYCLE = 52;

// Below this period the letter runs are too short for one memset each; the
// first cycle of letters is built and then copied forward instead.
constexpr std::uint64_t SHORTEST_RUN_PERIOD = 512;

int letter_index(char letter)
{
    return letter >= 'a' ? letter - 'a' + 26 : letter - 'A';
}

char letter_at(std::uint64_t index)
{
    index %= LETTERS_IN_CYCLE;
    return static_cast<char>(index < 26 ? 'A' + index : 'a' + (index - 26));
}

// Writes the letters of [0, end) one run of `period` bytes at a time,
// starting with `first`.
void fill_letter_runs(char* buffer, std::uint64_t end, std::uint64_t period, char first)
{
    std::uint64_t index = static_cast<std::uint64_t>(letter_index(first));
    for (std::uint64_t start = 0; start < end; start += period, ++index) {
        const std::uint64_t run = std::min(period, end - start);
        std::memset(buffer + start, letter_at(index), run);
    }
}

} // namespace

char next_letter(char letter)
{
    return letter_at(static_cast<std::uint64_t>(letter_index(letter)) + 1);
}

void fill_letters(std::size_t length)
{
    char* buffer = run_state.section_buffer;
    const std::uint64_t period = run_state.letter_period;
    const std::uint64_t end = std::uint64_t{length} + 1;
    const char first = run_state.current_letter;

    if (period >= SHORTEST_RUN_PERIOD) {
        fill_letter_runs(buffer, end, period, first);
    } else {
        // The pattern repeats every 52 periods: lay one cycle, then double
        // what is laid until the buffer is full.
        std::uint64_t laid = std::min(end, LETTERS_IN_CYCLE * period);
        fill_letter_runs(buffer, laid, period, first);
        while (laid < end) {
            const std::uint64_t copy = std::min(laid, end - laid);
            std::memcpy(buffer + laid, buffer, copy);
            laid += copy;
        }
    }

    run_state.current_letter = letter_at(static_cast<std::uint64_t>(letter_index(first)) + length / period);
}

void fill_with_char(std::size_t length)
{
    if (run_state.fill_char == nullptr)
        return;
    std::memset(run_state.section_buffer, run_state.fill_char[0], length);
}
