#pragma once

#include <cstddef>
#include <cstdint>

// Fills section_buffer[0 .. length] (length + 1 bytes) with the advancing
// letters and carries current_letter on: the byte past the section makes the
// advance due at the section boundary before the next section starts.
void fill_letters(std::size_t length);

// Fills the first `count` bytes of `buffer` with letters that advance every
// `period` bytes, starting with `first` at buffer[0].
void lay_letters(char* buffer, std::uint64_t count, std::uint64_t period, char first);

// Fills the first `length` bytes of the section buffer with the fill byte;
// does nothing when no fill character was chosen.
void fill_with_char(std::size_t length);

// A letter's place in the cycle, 'A' being 0 and 'z' 51, and the letter at a
// place (counted on around the cycle).
std::uint64_t letter_number(char letter);
char numbered_letter(std::uint64_t number);
