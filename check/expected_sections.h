// The bytes a run wrote into each section of a file, rebuilt by the writer's
// own code: the run state is set up as a run with the same choices left it,
// and the sections are made one after the other, as the writer made them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "check/check_settings.h"
#include "generate/section_source.h"

struct ExpectedSections {
    SectionSource source;
    std::uint32_t next_number = 0;
};

// Ready to make the sections of a file of `layout`, from the first; false
// when there is no memory for the section buffer.
bool begin_expected_sections(const FileLayout& layout, ExpectedSections& sections);

// The next section's bytes, `length` of them (the section size, or less
// for the last section).
const char* next_expected_section(ExpectedSections& sections, std::uint32_t length);

// Releases the section buffer.
void end_expected_sections();

// Comparisons of `count` bytes found in the file with those expected: how
// many differ, and where the first difference is (`count` when none).
std::uint64_t differing_bytes(const char* expected, const unsigned char* found, std::size_t count);
std::size_t first_difference(const char* expected, const unsigned char* found, std::size_t count);
