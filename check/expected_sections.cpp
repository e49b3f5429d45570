#include "check/expected_sections.h"

#include "platform/platform.h"
#include "run/run_state.h"

namespace {

// The fill character as the run keeps it: the byte and a terminating zero.
char fill_char_text[2];

} // namespace

bool begin_expected_sections(const FileLayout& layout, ExpectedSections& sections)
{
    end_expected_sections();
    run_state.fill_mode = layout.fill.fill_mode;
    run_state.letter_period = layout.fill.letter_period;
    run_state.checkpoints_enabled = layout.fill.checkpoints ? 1 : 0;
    run_state.section_size = layout.section_size;
    run_state.current_letter = 'A';
    fill_char_text[0] = static_cast<char>(layout.fill.fill_byte);
    fill_char_text[1] = '\0';
    run_state.fill_char = layout.fill.fill_mode == FILL_CHAR ? fill_char_text : nullptr;

    const std::size_t bytes = section_buffer_bytes(layout.section_size);
    void* pages = platform::allocate_pages(bytes);
    if (pages == nullptr)
        return false;
    run_state.section_buffer = static_cast<char*>(pages);
    run_state.section_buffer_length = bytes;
    sections = ExpectedSections{begin_sections(layout.section_size), 0};
    return true;
}

const char* next_expected_section(ExpectedSections& sections, std::uint32_t length)
{
    // Numbered as the writer numbers them: a signed 32-bit count.
    return make_section(sections.source, length, static_cast<std::int32_t>(sections.next_number++));
}

void end_expected_sections()
{
    if (run_state.section_buffer == nullptr)
        return;
    platform::release_pages(run_state.section_buffer, run_state.section_buffer_length);
    run_state.section_buffer = nullptr;
    run_state.section_buffer_length = 0;
}

std::uint64_t differing_bytes(const char* expected, const unsigned char* found, std::size_t count)
{
    std::uint64_t differing = 0;
    for (std::size_t i = 0; i < count; ++i)
        differing += static_cast<unsigned char>(expected[i]) != found[i];
    return differing;
}

std::size_t first_difference(const char* expected, const unsigned char* found, std::size_t count)
{
    std::size_t i = 0;
    while (i < count && static_cast<unsigned char>(expected[i]) == found[i])
        ++i;
    return i;
}
