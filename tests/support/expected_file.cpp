#include "tests/support/expected_file.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint64_t SECTION_SIZE = 1000000;
constexpr int LETTERS = 52;

char letter(int index)
{
    return static_cast<char>(index < 26 ? 'A' + index : 'a' + (index - 26));
}

// The checkpoint with its terminating zero byte.
std::string checkpoint(std::uint64_t section_number, std::uint64_t section_size)
{
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%10s X %llu  ", std::to_string(section_number).c_str(),
                                     static_cast<unsigned long long>(section_size));
    return std::string(text, static_cast<std::size_t>(length) + 1);
}

std::string visible(const std::string& bytes, std::size_t from)
{
    std::string shown;
    for (std::size_t i = from; i < std::min(bytes.size(), from + 24); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char text[8];
        std::snprintf(text, sizeof text, byte >= 32 && byte < 127 ? "%c" : "\\x%02x", byte);
        shown += text;
    }
    return shown;
}

} // namespace

std::string expected_file(std::uint64_t file_size, const FillChoice& choice)
{
    const std::uint64_t section_size = std::min(file_size, SECTION_SIZE);
    std::string file;
    file.reserve(file_size);
    int current_letter = 0;

    for (std::uint64_t section = 0; file.size() < file_size; ++section) {
        const std::uint64_t length = std::min(section_size, file_size - file.size());
        // One byte past the section: its letter is never written, but the
        // advance due there carries into the next section.
        std::string bytes(length + 1, '\0');
        if (choice.kind == FillKind::character)
            std::fill_n(bytes.begin(), length, static_cast<char>(choice.byte));
        if (choice.kind == FillKind::alphabet) {
            for (std::uint64_t i = 0; i <= length; ++i) {
                if (i > 0 && i % choice.letter_period == 0)
                    current_letter = (current_letter + 1) % LETTERS;
                bytes[i] = letter(current_letter);
            }
        }
        if (choice.checkpoints) {
            const std::string head = checkpoint(section, section_size);
            std::copy_n(head.begin(), std::min(head.size(), bytes.size()), bytes.begin());
        }
        file.append(bytes, 0, length);
    }
    return file;
}

testing::AssertionResult same_bytes(const std::string& actual, const std::string& expected)
{
    const auto difference = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (difference.first == actual.end() && difference.second == expected.end())
        return testing::AssertionSuccess();
    const auto offset = static_cast<std::size_t>(difference.first - actual.begin());
    return testing::AssertionFailure() << "the file holds " << actual.size() << " bytes, " << expected.size()
                                       << " expected; first difference at offset " << offset << ":\n  actual   \""
                                       << visible(actual, offset) << "\"\n  expected \"" << visible(expected, offset)
                                       << "\"";
}
