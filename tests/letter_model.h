// The alphabet fill as first written, one byte at a time: the reference the
// run-based fills are held against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The letter after `letter`, as a reader of the file counts.
inline char letter_after(char letter)
{
    if (letter == 'Z')
        return 'a';
    if (letter == 'z')
        return 'A';
    return static_cast<char>(letter + 1);
}

// Bytes 0 .. length of a section, the letter advancing at every non-zero
// multiple of the period; `letter` is carried on to the next section.
inline std::string model_letters(std::size_t length, std::uint32_t period, char& letter)
{
    std::string bytes;
    bytes.reserve(length + 1);
    for (std::size_t i = 0; i <= length; ++i) {
        if (i > 0 && i % period == 0)
            letter = letter_after(letter);
        bytes += letter;
    }
    return bytes;
}
