#pragma once

#include <cstddef>

// Fills section_buffer[0 .. length] (length + 1 bytes) with the advancing
// letters and carries current_letter on: the byte past the section makes the
// advance due at the section boundary before the next section starts.
void fill_letters(std::size_t length);

// Fills the first `length` bytes of the section buffer with the fill byte;
// does nothing when no fill character was chosen.
void fill_with_char(std::size_t length);

// The letter after `letter` in the cycle A..Z, a..z, A.
char next_letter(char letter);
