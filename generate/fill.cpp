#include "generate/fill.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>

#include "run/run_state.h"

namespace {

constexpr std::uint64_t LETTERS_IN_CYCLE = 52;

// Below this period the letter runs are too short for one memset each; one
// cycle of letters is built and then copied forward instead.
constexpr std::uint64_t SHORTEST_RUN_PERIOD = 512;

// What is copied forward at a time once laid: few enough bytes that the
// head they are copied from stays in the nearest cache.
constexpr std::uint64_t COPY_BLOCK_BYTES = 16384;
constexpr std::uint64_t CACHE_LINE_BYTES = 64;

// Writes the letters of [0, end) one run of `period` bytes at a time,
// starting with `first`.
void fill_letter_runs(char* buffer, std::uint64_t end, std::uint64_t period, char first)
{
    std::uint64_t number = letter_number(first);
    for (std::uint64_t start = 0; start < end; start += period, ++number) {
        const std::uint64_t run = std::min(period, end - start);
        std::memset(buffer + start, numbered_letter(number), run);
    }
}

// Whole cycles, and whole cache lines too where that still fits the block:
// copies that land on line boundaries run at the speed of a memset.
std::uint64_t copy_block_for(std::uint64_t cycle)
{
    std::uint64_t unit = std::lcm(cycle, CACHE_LINE_BYTES);
    if (unit > COPY_BLOCK_BYTES)
        unit = cycle;
    return unit * std::max<std::uint64_t>(1, COPY_BLOCK_BYTES / unit);
}

} // namespace

std::uint64_t letter_number(char letter)
{
    return static_cast<std::uint64_t>(letter >= 'a' ? letter - 'a' + 26 : letter - 'A');
}

char numbered_letter(std::uint64_t number)
{
    number %= LETTERS_IN_CYCLE;
    return static_cast<char>(number < 26 ? 'A' + number : 'a' + (number - 26));
}

void lay_letters(char* buffer, std::uint64_t count, std::uint64_t period, char first)
{
    if (period >= SHORTEST_RUN_PERIOD) {
        fill_letter_runs(buffer, count, period, first);
        return;
    }
    // The pattern repeats every 52 periods: lay one cycle, double it up to
    // one block, then copy that block until the buffer is full. Every copy
    // starts at a multiple of the cycle.
    const std::uint64_t cycle = LETTERS_IN_CYCLE * period;
    const std::uint64_t block = copy_block_for(cycle);
    std::uint64_t laid = std::min(count, cycle);
    fill_letter_runs(buffer, laid, period, first);
    while (laid < count) {
        const std::uint64_t toward_block = laid < block ? std::min(laid, block - laid) : block;
        const std::uint64_t copy = std::min(toward_block, count - laid);
        std::memcpy(buffer + laid, buffer, copy);
        laid += copy;
    }
}

void fill_letters(std::size_t length)
{
    const std::uint64_t period = run_state.letter_period;
    const char first = run_state.current_letter;
    lay_letters(run_state.section_buffer, std::uint64_t{length} + 1, period, first);
    run_state.current_letter = numbered_letter(letter_number(first) + length / period);
}

void fill_with_char(std::size_t length)
{
    if (run_state.fill_char == nullptr)
        return;
    std::memset(run_state.section_buffer, run_state.fill_char[0], length);
}
