#include "dialogue/console.h"

#include <cctype>
#include <cstdio>

#include "platform/platform.h"
#include "run/abort_run.h"

namespace {

class StandardInput final : public ByteSource {
public:
    int read_byte() override { return platform::read_input_byte(); }
    void unread_byte(int byte) override { platform::unread_input_byte(byte); }
};

ScanResult read_signed(std::int64_t minimum, std::int64_t maximum, std::int64_t& value)
{
    StandardInput input;
    return scan_integer(input, minimum, maximum, value);
}

} // namespace

int read_key_upper()
{
    int key = platform::read_key();
    return key < 0 ? key : std::toupper(key);
}

int read_key_or_give_up()
{
    int key = platform::read_key();
    if (key < 0)
        give_up_for_lack_of_input();
    return key;
}

int read_key_upper_or_give_up()
{
    return std::toupper(read_key_or_give_up());
}

void echo_key(int key)
{
    std::fprintf(stderr, "%c\b", key);
}

void beep()
{
    std::fprintf(stderr, "%c", 7);
}

bool read_token(char* buffer, std::size_t size)
{
    StandardInput input;
    return scan_word(input, buffer, size) == ScanResult::value;
}

ScanResult read_number(std::uint64_t& target)
{
    std::int64_t value = 0;
    ScanResult result = read_signed(INT64_MIN, INT64_MAX, value);
    if (result == ScanResult::value)
        target = static_cast<std::uint64_t>(value);
    return result;
}

ScanResult read_number(std::uint32_t& target)
{
    std::int64_t value = 0;
    ScanResult result = read_signed(INT32_MIN, INT32_MAX, value);
    if (result == ScanResult::value)
        target = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    return result;
}

void skip_rest_of_line()
{
    int byte;
    do
        byte = platform::read_input_byte();
    while (byte >= 0 && byte != '\n');
}

void wait_for_return()
{
    platform::read_input_byte();
}

void give_up_for_lack_of_input()
{
    std::fprintf(stderr, "\nNo more input: run abandoned.\n");
    abort_run(2);
}
