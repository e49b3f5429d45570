#pragma once

#include <cstddef>
#include <cstdint>

// Makes each section's bytes ready in the section buffer before its write,
// with no more work than the fill needs: the zero fill none; the character
// fill only puts back what the last checkpoint covered; the alphabet lays
// its letters once where the buffer has room for them all
// (generate/letter_window.h), and otherwise fills every section anew.
struct SectionSource {
    bool letter_window = false;
    // Where the last section started, and how many bytes there a
    // checkpoint wrote over the fill.
    char* last_start = nullptr;
    std::size_t overwritten = 0;
};

// Ready for the first of the sections of `section_size` bytes.
SectionSource begin_sections(std::uint32_t section_size);

// Makes the next section, of `length` bytes, ready; returns where it starts.
char* next_section(SectionSource& source, std::uint32_t length);

// Records that the first `count` bytes of the section last made ready were
// written over.
void note_overwritten(SectionSource& source, std::size_t count);
