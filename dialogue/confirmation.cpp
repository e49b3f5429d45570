#include "dialogue/confirmation.h"

#include <cinttypes>
#include <cstdio>

#include "dialogue/console.h"
#include "platform/platform.h"
#include "run/run_state.h"
#include "util/format_thousands.h"

namespace {

void show_summary()
{
    std::fprintf(stderr, "\n\nYou have chosen the following:\n\n");
    std::fprintf(stderr, "Output file name  %14s\n\n", run_state.output_path);
    std::fprintf(stderr, "Size of file      %14s\n\n", format_thousands(run_state.file_size));

    switch (run_state.fill_mode) {
    case FILL_ALPHABET:
        std::fprintf(stderr, "Fill character =        Alphabet\n");
        std::fprintf(stderr, "Period every   =         %7" PRId32 " bytes\n",
                     static_cast<std::int32_t>(run_state.letter_period));
        break;
    case FILL_CHAR: {
        const unsigned char fill_byte = static_cast<unsigned char>(run_state.fill_char[0]);
        std::fprintf(stderr, "Fill character =             % 3d decimal, character %c\n", fill_byte, fill_byte);
        break;
    }
    default:
        std::fprintf(stderr, "Fill character =          hex 00's\n");
        break;
    }
    std::fprintf(stderr, "\n\nIf this is correct enter a 'Y', any other character will quit the program\n");
}

[[noreturn]] void decline()
{
    // An interrupt arriving now must not end the process half-way through.
    platform::claim_process_end();
    FileHandle file = take_output_handle();
    if (file != INVALID_HANDLE_VALUE)
        platform::close_file(file);
    platform::remove_file(run_state.output_path);
    if (run_state.section_buffer != nullptr)
        platform::release_pages(run_state.section_buffer, run_state.section_buffer_length);
    platform::end_at_once(2);
}

} // namespace

void confirm_choices()
{
    platform::clear_screen();
    show_summary();
    if (read_key_upper() != 'Y')
        decline();
}
