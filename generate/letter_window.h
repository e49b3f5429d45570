#pragma once

#include <cstddef>
#include <cstdint>

// The alphabet fill laid once for the whole file. Every section's letters
// are a stretch of the one endless pattern, starting at the period of the
// section's first letter; so the section buffer, holding the pattern from
// 'A' for one cycle of 52 periods and a section more, already holds every
// section, and each is written from where its first letter stands. Only the
// checkpoint formatted over a section's start must be undone before a later
// section can start near it.

// The room the window needs in the section buffer beyond one section, for
// the letter `period` in force when the buffer is allocated; 0 for periods
// too long to be worth it.
std::size_t letter_window_reserve(std::uint32_t period);

// Whether the section buffer has room for the window of the letter period in
// force, with sections of `section_size` bytes.
bool letter_window_fits(std::uint32_t section_size);

// Lays the window into the section buffer.
void lay_letter_window(std::uint32_t section_size);

// Where the next section of `length` bytes starts in the window. Carries
// current_letter on as fill_letters does.
char* letter_window_section(std::uint32_t length);

// Puts the letters back into the `count` bytes at `start` in the window.
void restore_letter_window(char* start, std::size_t count);
