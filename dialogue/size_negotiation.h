#pragma once

#include <cstdint>

inline constexpr std::uint64_t ALIGNMENT_UNIT = 65536;
inline constexpr std::uint64_t SMALL_FILE_LIMIT = 4294967295;
inline constexpr std::uint64_t SMALL_FILE_SAFE_SIZE = 4294901760;

// Asks for the size and settles it: the 64 KiB offer, the 4 GiB limit, the
// free-space clamp. Then derives the section length and letter period and
// allocates the section buffer.
void negotiate_size();

// The letter period for a section shorter than the standard one; `period`
// where no rung of the ladder applies.
std::uint32_t letter_period_for_section(std::uint32_t section_size, std::uint32_t period);

// Allocates the zeroed section buffer for sections of `length` bytes; ends
// the process with status 1 when that fails.
void allocate_section_buffer(std::uint32_t length);
