#include "generate/section_source.h"

#include <algorithm>

#include "generate/checkpoint.h"
#include "generate/fill.h"
#include "generate/letter_window.h"
#include "run/run_state.h"

std::size_t section_buffer_bytes(std::uint32_t section_size)
{
    // The checkpoint is formatted whole, with its terminator, even over a
    // section shorter than itself. Past the section lies the room for the
    // alphabet's letter window; its pages cost nothing unless used.
    return letter_window_reserve(run_state.letter_period) +
           std::max<std::size_t>(std::size_t{section_size} + 1, CHECKPOINT_RECORD_MAX);
}

SectionSource begin_sections(std::uint32_t section_size)
{
    SectionSource source;
    source.last_start = run_state.section_buffer;
    // Nothing holds the fill yet.
    source.overwritten = section_size;
    if (run_state.fill_mode == FILL_ALPHABET && letter_window_fits(section_size)) {
        lay_letter_window(section_size);
        source.letter_window = true;
        source.overwritten = 0;
    }
    return source;
}

char* next_section(SectionSource& source, std::uint32_t length)
{
    switch (run_state.fill_mode) {
    case FILL_ALPHABET:
        if (source.letter_window) {
            restore_letter_window(source.last_start, source.overwritten);
            source.last_start = letter_window_section(length);
        } else {
            fill_letters(length);
        }
        break;
    case FILL_CHAR:
        // Only checkpoints are ever written over the fill byte, and the
        // sections only get shorter: restoring the head restores the section.
        fill_with_char(std::min<std::size_t>(length, source.overwritten));
        break;
    default:
        // Zero fill: the buffer was zeroed at allocation and only the
        // checkpoint bytes are ever written over it, each time the same ones.
        break;
    }
    source.overwritten = 0;
    return source.last_start;
}

char* make_section(SectionSource& source, std::uint32_t length, std::int32_t number)
{
    char* const section = next_section(source, length);
    if (run_state.checkpoints_enabled) {
        // The record and its terminating zero now lie over the fill.
        note_overwritten(source, write_checkpoint(section, number, run_state.section_size) + 1);
    }
    return section;
}

void note_overwritten(SectionSource& source, std::size_t count)
{
    source.overwritten = count;
}
