#include "util/format_thousands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(FormatThousands, GroupsDigitsInThrees)
{
    const struct {
        std::uint64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {65536, "65,536"},
        {1000000, "1,000,000"},
        {4294967295, "4,294,967,295"},
        {18446744073709551615u, "18,446,744,073,709,551,615"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(format_thousands(c.value)), c.text) << c.value;
}
