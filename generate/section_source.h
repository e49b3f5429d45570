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

// The bytes the section buffer needs for sections of `section_size` bytes
// with the letter period in force: a section and the byte past it, never
// less than a whole checkpoint record, and the room of the letter window.
std::size_t section_buffer_bytes(std::uint32_t section_size);

// Ready for the first of the sections of `section_size` bytes.
SectionSource begin_sections(std::uint32_t section_size);

// Makes the next section, of `length` bytes, ready; returns where it starts.
char* next_section(SectionSource& source, std::uint32_t length);

// Makes section `number`, of `length` bytes, ready with its checkpoint
// over its head when checkpoints are on; returns where it starts. This is
// all there is to a section's bytes: the writer writes them and the checker
// compares against them.
char* make_section(SectionSource& source, std::uint32_t length, std::int32_t number);

// Records that the first `count` bytes of the section last made ready were
// written over.
void note_overwritten(SectionSource& source, std::size_t count);
