#include "dialogue/size_negotiation.h"

#include <cinttypes>
#include <cstdio>

#include "dialogue/console.h"
#include "dialogue/os_family.h"
#include "generate/section_source.h"
#include "platform/platform.h"
#include "run/abort_run.h"
#include "run/run_state.h"
#include "util/disk_free_space.h"
#include "util/format_thousands.h"

namespace {

void offer_alignment()
{
    const std::uint64_t down = run_state.file_size / ALIGNMENT_UNIT * ALIGNMENT_UNIT;
    const std::uint64_t up = down + ALIGNMENT_UNIT;

    std::fprintf(stderr, "\n\nYour file will possibly leave some slack \n");
    std::fprintf(stderr, "If you don't mind that, and want to keep %s ", format_thousands(run_state.file_size));
    std::fprintf(stderr, "Enter a 'Y' or return\n\n");
    std::fprintf(stderr, "If you want, I can resize the file to the nearest 64K\n");
    std::fprintf(stderr, "'U'p   to %10" PRId64 "   or \n", static_cast<std::int64_t>(up));
    std::fprintf(stderr, "'D'own to %10" PRId64 "   \n", static_cast<std::int64_t>(down));
    std::fprintf(stderr, "Either of which which should not produce any slack. \n");
    std::fprintf(stderr, "Enter a Y, U, or D\n");
    std::fprintf(stderr, "'Y' or return to keep current filesize\n");
    std::fprintf(stderr, "'U' to resize up to next 64K size\n");
    std::fprintf(stderr, "'D' to resize down to nex lower 64k size: ");

    switch (read_key_upper()) {
    case 'D':
        run_state.file_size = down;
        break;
    case 'U':
        run_state.file_size = up;
        break;
    default:
        break;
    }
}

void limit_to_small_file_size()
{
    std::fprintf(stderr, "Your filesize of                         %s\n", format_thousands(run_state.file_size));
    std::fprintf(stderr, "Only NTFS allows file sizes greater than %s\n\n", format_thousands(SMALL_FILE_LIMIT));
    run_state.file_size = SMALL_FILE_SAFE_SIZE;
    std::fprintf(stderr, "Resizing the output to a safe size of    %s\n", format_thousands(run_state.file_size));
    std::fprintf(stderr, "\nYou can run the program multiple times to fill the required size\n");
    std::fprintf(stderr, "If this is OK, enter Y, else anything else to quit");

    platform::discard_input();
    std::fflush(stdout);
    if (read_key_upper() != 'Y')
        abort_run(2);
}

void clamp_to_free_space()
{
    std::fprintf(stderr, "\n\nYou entered s size of                  %s\n", format_thousands(run_state.file_size));
    std::fprintf(stderr, "which is more than the available space %s\n", format_thousands(run_state.free_space));
    std::fprintf(stderr, "I am resetting output file size to     %s\n", format_thousands(run_state.free_space));
    std::fprintf(stderr, "\n\n\t\t\tHit return to continue: ");

    platform::discard_input();
    wait_for_return();
    run_state.file_size = run_state.free_space;
}

} // namespace

std::uint32_t letter_period_for_section(std::uint32_t section_size, std::uint32_t period)
{
    if (section_size >= DEFAULT_SECTION_SIZE)
        return period;
    if (section_size < 10000)
        period = 10;
    if (section_size > 10000)
        period = 100;
    if (section_size > 100000)
        period = 1000;
    if (section_size > 500000)
        period = 5000;
    return period;
}

void allocate_section_buffer(std::uint32_t length)
{
    const std::size_t bytes = section_buffer_bytes(length);
    void* pages = platform::allocate_pages(bytes);
    if (pages == nullptr) {
        std::printf("\nLine: %d Buffer Allocation Failed\n", __LINE__);
        platform::end_at_once(1);
    }
    run_state.section_buffer = static_cast<char*>(pages);
    run_state.section_buffer_length = bytes;
}

void negotiate_size()
{
    run_state.section_size = DEFAULT_SECTION_SIZE;
    run_state.free_space = disk_free_space(run_state.output_path);

    platform::clear_screen();
    platform::discard_input();
    std::fprintf(stderr, "\n\n\n\n\nHow big do you want %s to be?\n", run_state.output_path);
    read_number(run_state.file_size);

    if (run_state.file_size % ALIGNMENT_UNIT != 0)
        offer_alignment();
    if (run_state.file_size > SMALL_FILE_LIMIT && !allows_large_files())
        limit_to_small_file_size();
    if (run_state.file_size > run_state.free_space)
        clamp_to_free_space();

    if (run_state.file_size < run_state.section_size)
        run_state.section_size = static_cast<std::uint32_t>(run_state.file_size);
    run_state.letter_period = letter_period_for_section(run_state.section_size, run_state.letter_period);

    allocate_section_buffer(run_state.section_size);
}
