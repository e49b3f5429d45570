#include "generate/write_loop.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "generate/section_source.h"
#include "platform/platform.h"
#include "run/run_state.h"
#include "util/format_thousands.h"

namespace {

void print_start_banner()
{
    // Day of month always in two digits, whatever the C library's ctime pads
    // it with.
    std::time_t now = std::time(nullptr);
    char text[64] = "";
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y\n", local);
    std::printf("\nProgram started %s", text);
    std::printf("\n");
}

void close_and_release()
{
    FileHandle file = take_output_handle();
    if (file != INVALID_HANDLE_VALUE)
        platform::close_file(file);
    platform::release_pages(run_state.section_buffer, run_state.section_buffer_length);
    run_state.section_buffer = nullptr;
}

} // namespace

void write_file()
{
    print_start_banner();

    const FileHandle file = run_state.output_handle.load();
    std::uint64_t written = 0;
    std::uint32_t section_number = 0;
    std::uint32_t length = run_state.section_size;
    SectionSource sections = begin_sections(length);

    while (written < run_state.file_size) {
        if (run_state.file_size - written < length)
            length = static_cast<std::uint32_t>(run_state.file_size - written);
        // The section number is a signed 32-bit count; past 2^31 sections
        // it wraps, as it always has.
        char* const section = make_section(sections, length, static_cast<std::int32_t>(section_number++));

        std::uint32_t accepted = 0;
        // A write that takes nothing would repeat without end: it counts as
        // a failure too.
        if (!platform::write_file(file, section, length, accepted) || accepted == 0) {
            std::printf("\n\nWrite error at %" PRId64 " bytes", static_cast<std::int64_t>(written));
            break;
        }
        written += accepted;
        std::printf("\rwrote %12s", format_thousands(written));
        std::fflush(stdout);
    }

    close_and_release();
}
