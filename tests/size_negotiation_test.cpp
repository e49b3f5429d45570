#include "dialogue/size_negotiation.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(LetterPeriodForSection, ShortSectionsTakeTheRungOfTheLadder)
{
    // 4321 stands for whatever period was set before: the ladder leaves it
    // where no rung applies.
    const struct {
        std::uint32_t section_size;
        std::uint32_t period;
    } cases[] = {
        {0, 10},          {1, 10},        {9999, 10},      {10000, 4321},    {10001, 100},
        {65536, 100},     {100000, 100},  {100001, 1000},  {500000, 1000},   {500001, 5000},
        {999999, 5000},   {1000000, 4321},
    };
    for (const auto& c : cases)
        EXPECT_EQ(letter_period_for_section(c.section_size, 4321), c.period) << "section of " << c.section_size;
}

} // namespace
