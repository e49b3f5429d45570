#include "check/report.h"

#include <cstdio>
#include <string>

#include "check/progress.h"
#include "util/format_thousands.h"

namespace {

std::string thousands(std::uint64_t value)
{
    return format_thousands(value);
}

// "1 byte", "2 bytes", "1,000,000 bytes".
std::string byte_count(std::uint64_t count)
{
    return thousands(count) + (count == 1 ? " byte" : " bytes");
}

std::string describe_byte(int byte)
{
    if (byte == END_OF_FILE)
        return "the end of the file";
    char text[16];
    if (byte >= 0x20 && byte < 0x7f)
        std::snprintf(text, sizeof text, "0x%02x '%c'", byte, byte);
    else
        std::snprintf(text, sizeof text, "0x%02x", byte);
    return text;
}

std::string describe_fill(const FillSettings& fill)
{
    switch (fill.fill_mode) {
    case FILL_ALPHABET:
        if (fill.letter_period == LONGER_THAN_ANY_SECTION)
            return "alphabet fill, letter period longer than a section";
        return "alphabet fill, letter period " + thousands(fill.letter_period);
    case FILL_CHAR: {
        std::string text = "character " + std::to_string(fill.fill_byte);
        if (fill.fill_byte > 0x20 && fill.fill_byte < 0x7f)
            text += std::string(" '") + static_cast<char>(fill.fill_byte) + "'";
        return text;
    }
    default:
        return "zero fill";
    }
}

std::string describe_checkpoints(const FillSettings& fill)
{
    return fill.checkpoints ? "checkpoints on" : "checkpoints off";
}

// Which settings the user gave, for the note after the settings line.
std::string stated_list(const StatedSettings& stated)
{
    std::string list;
    const auto add = [&list](bool given, const char* name) {
        if (given)
            list += (list.empty() ? "" : ", ") + std::string(name);
    };
    add(stated.has_fill_mode, "fill");
    add(stated.has_letter_period, "period");
    add(stated.has_fill_byte, "character");
    add(stated.has_checkpoints, "checkpoints");
    add(stated.has_size, "size");
    return list;
}

std::string describe_bytes(const Difference& difference)
{
    return "expected " + describe_byte(difference.expected) + ", found " + describe_byte(difference.found);
}

std::string describe_difference(const Difference& difference, std::uint64_t sections)
{
    std::string where = "offset " + thousands(difference.offset);
    where += difference.section < sections ? " in section " + std::to_string(difference.section)
                                           : std::string(", past the last section");
    return where + ": " + describe_bytes(difference);
}

} // namespace

void report_file(const char* path, std::uint64_t file_size)
{
    std::printf("file:      %s, %s\n", path, byte_count(file_size).c_str());
}

void report_settings(const Inference& inference, const StatedSettings& stated, std::uint64_t file_size)
{
    const FileLayout& layout = inference.layout;
    if (file_size == 0 && !stated.has_size) {
        std::printf("settings:  none to infer: the file is empty\n");
        return;
    }
    const std::string stated_names = stated_list(stated);
    const char* source = stated_names.empty() ? "inferred from the file" : nullptr;
    std::printf("settings:  %s, %s, sections of %s (%s)\n", describe_fill(layout.fill).c_str(),
                describe_checkpoints(layout.fill).c_str(), byte_count(layout.section_size).c_str(),
                source ? source : (stated_names + " stated, the rest inferred").c_str());
    if (inference.has_alternative) {
        std::string alternative = describe_fill(inference.alternative);
        if (inference.alternative.checkpoints != layout.fill.checkpoints)
            alternative += " with " + describe_checkpoints(inference.alternative);
        std::printf("note:      %s gives the same bytes; read as %s\n", alternative.c_str(),
                    describe_fill(layout.fill).c_str());
    }
    if (stated.has_size || layout.expected_size != file_size) {
        std::printf("size:      %s%s bytes expected (%s)\n", layout.size_is_lower_bound ? "at least " : "",
                    thousands(layout.expected_size).c_str(),
                    stated.has_size ? "stated" : "from the checkpoint's section size");
    }
}

void report_damaged_section(const Difference& difference, std::uint64_t section_start, std::uint64_t differing,
                            bool names_other_section, std::int32_t named_section)
{
    std::printf("section %llu at offset %s: %s byte%s differ%s, the first at offset %s: %s\n",
                static_cast<unsigned long long>(difference.section), thousands(section_start).c_str(),
                thousands(differing).c_str(), differing == 1 ? "" : "s", differing == 1 ? "s" : "",
                thousands(difference.offset).c_str(), describe_bytes(difference).c_str());
    if (names_other_section)
        std::printf("  its checkpoint names section %d\n", static_cast<int>(named_section));
}

void report_missing_sections(std::uint64_t first, std::uint64_t last, std::uint64_t offset)
{
    if (first == last)
        std::printf("section %llu at offset %s: missing\n", static_cast<unsigned long long>(first),
                    thousands(offset).c_str());
    else
        std::printf("sections %llu to %llu from offset %s: missing\n", static_cast<unsigned long long>(first),
                    static_cast<unsigned long long>(last), thousands(offset).c_str());
}

void report_outcome(const VerifyResult& result, const FileLayout& layout, std::uint64_t file_size)
{
    if (!result.has_difference && result.extra_bytes == 0) {
        std::printf("intact:    %s in %s section%s\n", byte_count(file_size).c_str(),
                    thousands(result.sections).c_str(), result.sections == 1 ? "" : "s");
    } else {
        if (result.has_difference)
            std::printf("damaged:   first difference at %s\n",
                        describe_difference(result.first, result.sections).c_str());
        // Short of its size even when an earlier byte differs too.
        if (file_size < layout.expected_size || (result.has_difference && result.first.found == END_OF_FILE))
            std::printf("truncated: the file ends at %s; %s%s expected\n", byte_count(file_size).c_str(),
                        layout.size_is_lower_bound ? "at least " : "", thousands(layout.expected_size).c_str());
        if (result.damaged_sections > 0)
            std::printf("damaged:   %s of %s section%s differ%s\n", thousands(result.damaged_sections).c_str(),
                        thousands(result.sections).c_str(), result.sections == 1 ? "" : "s",
                        result.damaged_sections == 1 ? "s" : "");
        if (result.extra_bytes > 0)
            std::printf("damaged:   %s byte%s past the expected end at %s\n", thousands(result.extra_bytes).c_str(),
                        result.extra_bytes == 1 ? "" : "s", thousands(layout.expected_size).c_str());
    }
    char speed[64];
    format_speed(speed, sizeof speed, result.seconds > 0 ? static_cast<double>(result.bytes_read) / result.seconds : 0);
    std::printf("read:      %s in %.3f s, %s on average\n", byte_count(result.bytes_read).c_str(), result.seconds,
                speed);
}
