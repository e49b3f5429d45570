// Feeds arbitrary bytes to the readers of typed answers: every word must fit
// its buffer, every number its range, and the character value must agree
// with the C library's own conversion, held at the bounds of a 32-bit value.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dialogue/input_scan.h"

namespace {

class FuzzInput final : public ByteSource {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    int read_byte() override { return position_ < size_ ? data_[position_++] : -1; }

    void unread_byte(int byte) override
    {
        --position_;
        if (position_ >= size_ || data_[position_] != byte)
            std::abort();
    }

    bool exhausted() const { return position_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

bool is_white_space(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// With the buffers the questions read words into: the fill character's and
// the file name's.
template <std::size_t BufferSize>
void check_words(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    char word[BufferSize];
    while (scan_word(input, word, sizeof word) == ScanResult::value) {
        const std::string text(word);
        if (text.size() >= sizeof word || text.empty() != (word[0] == '\0'))
            std::abort();
        for (char byte : text) {
            if (is_white_space(byte))
                std::abort();
        }
    }
}

void check_numbers(const std::uint8_t* data, std::size_t size, std::int64_t minimum, std::int64_t maximum)
{
    FuzzInput input(data, size);
    while (!input.exhausted()) {
        std::int64_t value = 12345;
        switch (scan_integer(input, minimum, maximum, value)) {
        case ScanResult::value:
            if (value < minimum || value > maximum)
                std::abort();
            break;
        case ScanResult::not_a_number:
            if (value != 12345)
                std::abort();
            // Drop the byte that stopped the number, as the questions do
            // with the rest of the line.
            input.read_byte();
            break;
        case ScanResult::end_of_input:
            return;
        }
    }
}

// The way the letter period's question reads: a number, or else the rest of
// the line dropped and the question asked again, until the input ends.
void check_period_answers(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    while (true) {
        std::int64_t value = 0;
        switch (scan_integer(input, INT32_MIN, INT32_MAX, value)) {
        case ScanResult::value:
            if (value < INT32_MIN || value > INT32_MAX)
                std::abort();
            break;
        case ScanResult::not_a_number:
            for (int byte = input.read_byte(); byte >= 0 && byte != '\n'; byte = input.read_byte()) {
            }
            break;
        case ScanResult::end_of_input:
            return;
        }
    }
}

void check_character_value(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    errno = 0;
    long long expected = std::strtoll(text.c_str(), nullptr, 10);
    if (expected > INT32_MAX)
        expected = INT32_MAX;
    if (expected < INT32_MIN)
        expected = INT32_MIN;
    if (leading_integer(text.c_str()) != expected)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    check_words<20>(data, size);
    check_words<1040>(data, size);
    check_numbers(data, size, INT64_MIN, INT64_MAX);
    check_numbers(data, size, INT32_MIN, INT32_MAX);
    check_period_answers(data, size);
    check_character_value(data, size);
    return 0;
}
