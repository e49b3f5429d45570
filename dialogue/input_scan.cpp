#include "dialogue/input_scan.h"

namespace {

bool is_white_space(int byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

bool is_digit(int byte)
{
    return byte >= '0' && byte <= '9';
}

// Reads past white space; returns the first other byte, or -1.
int skip_white_space(ByteSource& source)
{
    int byte;
    do
        byte = source.read_byte();
    while (is_white_space(byte));
    return byte;
}

class TextSource final : public ByteSource {
public:
    explicit TextSource(const char* text) : cursor_(text) {}

    int read_byte() override
    {
        if (*cursor_ == '\0')
            return -1;
        return static_cast<unsigned char>(*cursor_++);
    }

    void unread_byte(int) override { --cursor_; }

private:
    const char* cursor_;
};

} // namespace

ScanResult scan_word(ByteSource& source, char* buffer, std::size_t size)
{
    int byte = skip_white_space(source);
    if (byte < 0)
        return ScanResult::end_of_input;

    std::size_t length = 0;
    while (true) {
        buffer[length++] = static_cast<char>(byte);
        if (length == size - 1)
            break;
        byte = source.read_byte();
        if (byte < 0)
            break;
        if (is_white_space(byte)) {
            source.unread_byte(byte);
            break;
        }
    }
    buffer[length] = '\0';
    return ScanResult::value;
}

ScanResult scan_integer(ByteSource& source, std::int64_t minimum, std::int64_t maximum,
                        std::int64_t& value)
{
    int byte = skip_white_space(source);
    if (byte < 0)
        return ScanResult::end_of_input;

    bool negative = byte == '-';
    if (byte == '-' || byte == '+')
        byte = source.read_byte();
    if (!is_digit(byte)) {
        if (byte >= 0)
            source.unread_byte(byte);
        return ScanResult::not_a_number;
    }

    // Accumulated as a magnitude that stops one past the bound on its side,
    // so no digit string can overflow it.
    const std::uint64_t limit = negative ? 0 - static_cast<std::uint64_t>(minimum)
                                         : static_cast<std::uint64_t>(maximum);
    std::uint64_t magnitude = 0;
    for (; is_digit(byte); byte = source.read_byte()) {
        const auto digit = static_cast<std::uint64_t>(byte - '0');
        if (magnitude > limit || magnitude > (limit - digit) / 10)
            magnitude = limit + 1;
        else
            magnitude = magnitude * 10 + digit;
    }
    if (byte >= 0)
        source.unread_byte(byte);

    if (magnitude > limit)
        magnitude = limit;
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return ScanResult::value;
}

std::int32_t leading_integer(const char* text)
{
    TextSource source(text);
    std::int64_t value = 0;
    scan_integer(source, INT32_MIN, INT32_MAX, value);
    return static_cast<std::int32_t>(value);
}
