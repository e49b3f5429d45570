#include "dialogue/input_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace {

using namespace std::string_literals;

// Typed input held in a string, NUL bytes included, that tells what is
// left unread.
class StringSource final : public ByteSource {
public:
    explicit StringSource(std::string text) : text_(std::move(text)) {}

    int read_byte() override
    {
        if (position_ == text_.size())
            return -1;
        return static_cast<unsigned char>(text_[position_++]);
    }

    void unread_byte(int byte) override
    {
        ASSERT_GT(position_, 0u) << "nothing to put back";
        --position_;
        EXPECT_EQ(byte, static_cast<unsigned char>(text_[position_])) << "put back a byte that was not read";
    }

    std::string unread() const { return text_.substr(position_); }

private:
    std::string text_;
    std::size_t position_ = 0;
};

TEST(ScanWord, ReadsOneWord)
{
    const struct {
        std::string input;
        std::size_t size;
        ScanResult result;
        std::string word;
        std::string unread;
    } cases[] = {
        {"hello world", 20, ScanResult::value, "hello", " world"},
        {"  \n\n\t\r\v\f word\nnext", 20, ScanResult::value, "word", "\nnext"},
        {"last", 20, ScanResult::value, "last", ""},
        {"abcdefghijklmnopqrstuvwxyz rest", 20, ScanResult::value, "abcdefghijklmnopqrs", "tuvwxyz rest"},
        {"abcdefghijklmnopqrs rest", 20, ScanResult::value, "abcdefghijklmnopqrs", " rest"},
        {"ab", 2, ScanResult::value, "a", "b"},
        {"\xc3\xa9t\xc3\xa9\xa0x y", 20, ScanResult::value, "\xc3\xa9t\xc3\xa9\xa0x", " y"},
        {"a\0b c"s, 20, ScanResult::value, "a\0b"s, " c"},
        {"", 20, ScanResult::end_of_input, "", ""},
        {"  \n\n \t", 20, ScanResult::end_of_input, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "input \"" << c.input << "\", buffer of " << c.size);
        StringSource source(c.input);
        std::string buffer(c.size + 1, '#');
        EXPECT_EQ(scan_word(source, buffer.data(), c.size), c.result);
        if (c.result == ScanResult::value) {
            EXPECT_EQ(buffer.substr(0, c.word.size() + 1), c.word + '\0');
            EXPECT_EQ(buffer[c.size], '#') << "written past the buffer";
        }
        EXPECT_EQ(source.unread(), c.unread);
    }
}

constexpr std::int64_t UNTOUCHED = 777;

struct IntegerCase {
    std::string input;
    ScanResult result;
    std::int64_t value;
    std::string unread;
};

void expect_scan(const IntegerCase& c, std::int64_t minimum, std::int64_t maximum)
{
    SCOPED_TRACE(::testing::Message() << "input \"" << c.input << "\"");
    StringSource source(c.input);
    std::int64_t value = UNTOUCHED;
    EXPECT_EQ(scan_integer(source, minimum, maximum, value), c.result);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(source.unread(), c.unread);
}

TEST(ScanInteger, ReadsSignedDecimalNumbers)
{
    const IntegerCase cases[] = {
        {"42", ScanResult::value, 42, ""},
        {"  \n\n\t -17 x", ScanResult::value, -17, " x"},
        {"+5\n", ScanResult::value, 5, "\n"},
        {"-0", ScanResult::value, 0, ""},
        {"-1", ScanResult::value, -1, ""},
        {"000000000000000000000000000042", ScanResult::value, 42, ""},
        {"1,000,000", ScanResult::value, 1, ",000,000"},
        {"12abc", ScanResult::value, 12, "abc"},
        {"7\xb2", ScanResult::value, 7, "\xb2"},
        {"9\0"s, ScanResult::value, 9, "\0"s},
    };
    for (const auto& c : cases)
        expect_scan(c, INT64_MIN, INT64_MAX);
}

TEST(ScanInteger, NoNumberLeavesTheValueAndTheInput)
{
    const IntegerCase cases[] = {
        {"abc", ScanResult::not_a_number, UNTOUCHED, "abc"},
        {"  \nx1", ScanResult::not_a_number, UNTOUCHED, "x1"},
        {"\0 5"s, ScanResult::not_a_number, UNTOUCHED, "\0 5"s},
        {"\xb2", ScanResult::not_a_number, UNTOUCHED, "\xb2"},
        {"- 5", ScanResult::not_a_number, UNTOUCHED, " 5"},
        {"+x", ScanResult::not_a_number, UNTOUCHED, "x"},
        {"-", ScanResult::not_a_number, UNTOUCHED, ""},
        {"", ScanResult::end_of_input, UNTOUCHED, ""},
        {" \n\n\t", ScanResult::end_of_input, UNTOUCHED, ""},
    };
    for (const auto& c : cases)
        expect_scan(c, INT64_MIN, INT64_MAX);
}

TEST(ScanInteger, OverflowHoldsAtTheBoundsOfTheRange)
{
    const struct {
        std::int64_t minimum;
        std::int64_t maximum;
        IntegerCase c;
    } cases[] = {
        {INT64_MIN, INT64_MAX, {"9223372036854775807", ScanResult::value, INT64_MAX, ""}},
        {INT64_MIN, INT64_MAX, {"9223372036854775808", ScanResult::value, INT64_MAX, ""}},
        {INT64_MIN, INT64_MAX, {"99999999999999999999 ", ScanResult::value, INT64_MAX, " "}},
        {INT64_MIN, INT64_MAX, {"184467440737095516150", ScanResult::value, INT64_MAX, ""}},
        {INT64_MIN, INT64_MAX, {"-9223372036854775808", ScanResult::value, INT64_MIN, ""}},
        {INT64_MIN, INT64_MAX, {"-9223372036854775809", ScanResult::value, INT64_MIN, ""}},
        {INT64_MIN, INT64_MAX, {"-99999999999999999999x", ScanResult::value, INT64_MIN, "x"}},
        {INT32_MIN, INT32_MAX, {"2147483647", ScanResult::value, INT32_MAX, ""}},
        {INT32_MIN, INT32_MAX, {"2147483648", ScanResult::value, INT32_MAX, ""}},
        {INT32_MIN, INT32_MAX, {"4294967295", ScanResult::value, INT32_MAX, ""}},
        {INT32_MIN, INT32_MAX, {"99999999999999999999", ScanResult::value, INT32_MAX, ""}},
        {INT32_MIN, INT32_MAX, {"-2147483648", ScanResult::value, INT32_MIN, ""}},
        {INT32_MIN, INT32_MAX, {"-2147483649", ScanResult::value, INT32_MIN, ""}},
        {INT32_MIN, INT32_MAX, {"-99999999999999999999", ScanResult::value, INT32_MIN, ""}},
    };
    for (const auto& c : cases)
        expect_scan(c.c, c.minimum, c.maximum);
}

TEST(LeadingInteger, ReadsTheNumberAtTheStart)
{
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"300", 300},
        {"-1", -1},
        {"+7", 7},
        {" 65", 65},
        {"65x", 65},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leading_integer(c.text), c.value) << "text \"" << c.text << "\"";
}

} // namespace
