#include "check/checkpoint_reader.h"

#include <cstring>

#include "generate/checkpoint.h"

namespace {

// The number field is ten characters wide, and wider only for a number
// that needs eleven ("-2147483648"); " X " follows it.
constexpr std::size_t NUMBER_FIELD = 10;
constexpr std::size_t WIDEST_NUMBER = 11;

bool is_digit(unsigned char byte)
{
    return byte >= '0' && byte <= '9';
}

// The decimal number in bytes[start, end), with an optional minus sign;
// false when it is no number or does not fit 32 bits.
bool parse_number(const unsigned char* bytes, std::size_t start, std::size_t end, std::int64_t& value)
{
    const bool negative = start < end && bytes[start] == '-';
    if (negative)
        ++start;
    if (start == end || end - start > 10)
        return false;
    value = 0;
    for (std::size_t i = start; i < end; ++i) {
        if (!is_digit(bytes[i]))
            return false;
        value = value * 10 + (bytes[i] - '0');
    }
    if (negative)
        value = -value;
    return value >= INT32_MIN && value <= UINT32_MAX;
}

} // namespace

bool read_checkpoint(const unsigned char* bytes, std::size_t available, std::int32_t& section_number,
                     std::uint32_t& section_size)
{
    const std::size_t number_end =
        available > NUMBER_FIELD && bytes[NUMBER_FIELD] != ' ' ? WIDEST_NUMBER : NUMBER_FIELD;
    const std::size_t size_start = number_end + 3;
    if (available < size_start + 1)
        return false;
    std::size_t number_start = 0;
    while (number_start < number_end && bytes[number_start] == ' ')
        ++number_start;
    std::size_t size_end = size_start;
    while (size_end < available && is_digit(bytes[size_end]))
        ++size_end;

    std::int64_t number = 0;
    std::int64_t size = 0;
    if (!parse_number(bytes, number_start, number_end, number) || number > INT32_MAX ||
        !parse_number(bytes, size_start, size_end, size) || size > INT32_MAX)
        return false;

    // Whatever was read, it counts only if the writer makes the same bytes
    // of it; a record longer than the writer's room for one (a section size
    // of ten digits) it never makes whole.
    char record[CHECKPOINT_RECORD_MAX];
    const std::size_t length = write_checkpoint(record, static_cast<std::int32_t>(number),
                                                static_cast<std::uint32_t>(size)) + 1;
    if (length > CHECKPOINT_RECORD_MAX || available < length || std::memcmp(record, bytes, length) != 0)
        return false;
    section_number = static_cast<std::int32_t>(number);
    section_size = static_cast<std::uint32_t>(size);
    return true;
}
