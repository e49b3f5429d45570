#include "util/format_thousands.h"

#include <cstring>

#include "util/alloc_or_abort.h"

static constexpr std::size_t RESULT_BUFFER_BYTES = 264;

const char* format_thousands(std::uint64_t value)
{
    static char* result = nullptr;
    if (result == nullptr)
        result = static_cast<char*>(alloc_or_abort(RESULT_BUFFER_BYTES / 4));
    std::memset(result, 0, RESULT_BUFFER_BYTES);

    // Built from the right: at most 20 digits and 6 commas.
    char digits[32];
    char* cursor = digits + sizeof digits;
    *--cursor = '\0';
    int in_group = 0;
    do {
        if (in_group == 3) {
            *--cursor = ',';
            in_group = 0;
        }
        *--cursor = static_cast<char>('0' + value % 10);
        value /= 10;
        ++in_group;
    } while (value != 0);

    std::strcpy(result, cursor);
    return result;
}
