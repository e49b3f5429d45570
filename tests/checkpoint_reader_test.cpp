#include "check/checkpoint_reader.h"
#include "generate/checkpoint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace std::string_literals;

bool read(const std::string& bytes, std::int32_t& number, std::uint32_t& size)
{
    return read_checkpoint(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), number, size);
}

struct Record {
    std::string bytes; // with the terminating zero
    std::int32_t number;
    std::uint32_t size;
};

// Written out by hand, as the writer lays them over a section's head.
const Record RECORDS[] = {
    {"         0 X 1000000  \0"s, 0, 1000000},
    {"         2 X 1000000  \0"s, 2, 1000000},
    {"         7 X 999999  \0"s, 7, 999999},
    {"         0 X 65536  \0"s, 0, 65536},
    {"         0 X 1  \0"s, 0, 1},
    {"        -1 X 1000000  \0"s, -1, 1000000},
    {"2147483647 X 1000000  \0"s, 2147483647, 1000000},
    {"-999999999 X 1000000  \0"s, -999999999, 1000000},
    // Wider than the number's field of ten: the record grows.
    {"-1000000000 X 1000000  \0"s, -1000000000, 1000000},
    {"-2147483648 X 1000000  \0"s, -2147483647 - 1, 1000000},
};

TEST(ReadCheckpoint, ReadsTheNumberAndSizeOfEveryRecordTheWriterMakes)
{
    for (const Record& record : RECORDS) {
        SCOPED_TRACE(testing::PrintToString(record.bytes));
        for (const std::string& tail : {""s, "AAAAAAAAAA"s, "\0\0\0"s, "         1 X 1000000  \0"s}) {
            std::int32_t number = 12345;
            std::uint32_t size = 12345;
            EXPECT_TRUE(read(record.bytes + tail, number, size)) << "followed by " << testing::PrintToString(tail);
            EXPECT_EQ(number, record.number);
            EXPECT_EQ(size, record.size);
        }
    }
}

TEST(ReadCheckpoint, RefusesATruncatedRecord)
{
    for (const Record& record : RECORDS) {
        for (std::size_t length = 0; length < record.bytes.size(); ++length) {
            std::int32_t number = 0;
            std::uint32_t size = 0;
            EXPECT_FALSE(read(record.bytes.substr(0, length), number, size))
                << testing::PrintToString(record.bytes.substr(0, length));
        }
    }
}

// A record with one byte changed is no record, or another record (a digit
// for a blank or a digit): never the bytes taken for what they are not.
TEST(ReadCheckpoint, RefusesARecordWithOneWrongByte)
{
    for (const Record& record : RECORDS) {
        for (std::size_t at = 0; at < record.bytes.size(); ++at) {
            for (const char wrong : {'#', 'X', ' ', '\0', '-', '5'}) {
                std::string bytes = record.bytes;
                if (bytes[at] == wrong)
                    continue;
                bytes[at] = wrong;
                std::int32_t number = 0;
                std::uint32_t size = 0;
                if (!read(bytes, number, size))
                    continue;
                EXPECT_NE(std::make_pair(number, size), std::make_pair(record.number, record.size))
                    << testing::PrintToString(bytes) << " read as the record it was made from";
                std::string written(CHECKPOINT_RECORD_MAX, '#');
                written.resize(write_checkpoint(written.data(), number, size) + 1);
                EXPECT_EQ(bytes.substr(0, written.size()), written) << "taken for a record";
            }
        }
    }
}

TEST(ReadCheckpoint, RefusesWhatTheWriterNeverFormats)
{
    const std::string cases[] = {
        "         2 X 1000000  A"s,   // no terminating zero
        "         2 X 1000000 \0"s,   // one blank short
        "         2 X 1000000   \0"s, // one blank too many
        "0000000002 X 1000000  \0"s,  // leading zeros in the number
        "         2 X 01000000  \0"s, // and in the size
        "        +2 X 1000000  \0"s,
        "2          X 1000000  \0"s,  // the number on the left
        "          X 1000000  \0"s,   // no number at all
        "         2 X   \0"s,         // no size
        "         2 x 1000000  \0"s,
        "2147483648 X 1000000  \0"s,  // past the largest section number
        "4294967296 X 1000000  \0"s,
        "         2 X 2147483648  \0"s,
        "         2 X 1001000000  \0"s,  // longer than the writer has room for
        "-2147483648 X 2147483647  \0"s,
        "         2 X -1000000  \0"s,
        "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"s,
        "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"s,
    };
    for (const std::string& bytes : cases) {
        std::int32_t number = 0;
        std::uint32_t size = 0;
        EXPECT_FALSE(read(bytes, number, size)) << testing::PrintToString(bytes);
    }
}

} // namespace
