#include "generate/checkpoint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(Checkpoint, RecordBytesWithTheirZero)
{
    using namespace std::string_literals;
    const struct {
        std::int32_t section;
        std::uint32_t section_size;
        std::string record; // with its terminating zero
    } cases[] = {
        {0, 1000000, "         0 X 1000000  \0"s}, // 23 bytes
        {2, 1000000, "         2 X 1000000  \0"s},
        {2147483647, 1000000, "2147483647 X 1000000  \0"s},
        {-2147483647 - 1, 1000000, "-2147483648 X 1000000  \0"s},
        {0, 65536, "         0 X 65536  \0"s},
        {0, 1, "         0 X 1  \0"s},
        {7, 999999, "         7 X 999999  \0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "section " << c.section << " of " << c.section_size);
        std::string buffer(CHECKPOINT_RECORD_MAX + 8, '#');
        const std::size_t length = write_checkpoint(buffer.data(), c.section, c.section_size);
        EXPECT_EQ(length, c.record.size() - 1);
        EXPECT_EQ(buffer.substr(0, c.record.size()), c.record);
        EXPECT_LE(c.record.size(), CHECKPOINT_RECORD_MAX);
        EXPECT_EQ(buffer.substr(c.record.size()), std::string(buffer.size() - c.record.size(), '#'))
            << "written past the record";
    }
}

} // namespace
