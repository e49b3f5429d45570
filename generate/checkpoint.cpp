#include "generate/checkpoint.h"

#include <cinttypes>
#include <cstdio>

std::size_t write_checkpoint(char* buffer, std::int32_t section_number, std::uint32_t section_size)
{
    char number_text[16];
    std::snprintf(number_text, sizeof number_text, "%" PRId32, section_number);
    int length = std::snprintf(buffer, CHECKPOINT_RECORD_MAX, "%10s X %" PRId32 "  ", number_text,
                               static_cast<std::int32_t>(section_size));
    return static_cast<std::size_t>(length);
}
