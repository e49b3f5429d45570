#include "check/verify.h"

#include <algorithm>
#include <cstring>

#include "check/checkpoint_reader.h"
#include "check/expected_sections.h"
#include "check/file_reading.h"
#include "check/progress.h"
#include "check/report.h"

namespace {

// The details of a damaged section for the list of them: how many bytes
// differ, and which section its checkpoint names when that is another one
// (a section moved or copied from elsewhere).
void list_damaged_section(const Difference& difference, std::uint64_t section_start, const char* expected,
                          const unsigned char* found, std::uint32_t got, std::uint32_t length)
{
    const std::uint64_t differing = differing_bytes(expected, found, got) + (length - got);
    std::int32_t named = 0;
    std::uint32_t size = 0;
    const bool names_other = read_checkpoint(found, got, named, size) &&
                             named != static_cast<std::int32_t>(difference.section);
    report_damaged_section(difference, section_start, differing, names_other, named);
}

} // namespace

VerifyResult verify_file(FileHandle file, std::uint64_t file_size, const FileLayout& layout, bool list_all)
{
    VerifyResult result;
    const std::uint64_t expected_size =
        layout.size_is_lower_bound ? std::max(file_size, layout.expected_size) : layout.expected_size;
    const std::uint32_t section_size = layout.section_size;
    result.sections = section_size ? (expected_size + section_size - 1) / section_size : 0;

    const std::size_t buffer_bytes = std::max<std::size_t>(section_size, 1);
    auto* buffer = static_cast<unsigned char*>(platform::allocate_pages(buffer_bytes));
    ExpectedSections sections;
    if (buffer == nullptr || (section_size > 0 && !begin_expected_sections(layout, sections))) {
        if (buffer != nullptr)
            platform::release_pages(buffer, buffer_bytes);
        result.out_of_memory = true;
        return result;
    }

    const auto note = [&result](const Difference& difference) {
        if (!result.has_difference) {
            result.has_difference = true;
            result.first = difference;
        }
        ++result.damaged_sections;
    };

    Progress progress = begin_progress(std::min(file_size, expected_size));
    for (std::uint64_t index = 0; index < result.sections; ++index) {
        const std::uint64_t start = index * section_size;
        const auto length = static_cast<std::uint32_t>(std::min<std::uint64_t>(section_size, expected_size - start));
        const char* expected = next_expected_section(sections, length);

        if (start >= file_size) {
            // The file ends before this section: it and all after it are
            // missing.
            const std::uint64_t missing = result.sections - index;
            note({start, index, static_cast<unsigned char>(expected[0]), END_OF_FILE});
            result.damaged_sections += missing - 1;
            if (list_all)
                report_missing_sections(index, result.sections - 1, start);
            break;
        }

        std::uint32_t got = 0;
        const auto wanted = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, file_size - start));
        if (!read_fully(file, buffer, wanted, got)) {
            result.read_failed = true;
            result.failed_at = start;
            break;
        }
        // A file that shrinks while it is read ends where the reading did.
        if (got < wanted)
            file_size = start + got;
        result.bytes_read += got;

        if (got < length || std::memcmp(expected, buffer, got) != 0) {
            const auto at = static_cast<std::uint32_t>(first_difference(expected, buffer, got));
            const Difference difference{start + at, index, static_cast<unsigned char>(expected[at]),
                                        at < got ? buffer[at] : END_OF_FILE};
            note(difference);
            if (list_all)
                list_damaged_section(difference, start, expected, buffer, got, length);
        }
        show_progress(progress, start + got);
    }

    if (!result.read_failed && file_size > expected_size) {
        result.extra_bytes = file_size - expected_size;
        if (!result.has_difference) {
            // Every section is right; the first byte past them is not.
            std::uint32_t got = 0;
            if (read_fully(file, buffer, 1, got) && got == 1) {
                result.has_difference = true;
                result.first = {expected_size, result.sections, END_OF_FILE, buffer[0]};
            }
        }
    }

    result.seconds = end_progress(progress);
    end_expected_sections();
    platform::release_pages(buffer, buffer_bytes);
    return result;
}
