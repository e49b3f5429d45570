#include <cstdio>

#include "platform/platform.h"

// The C library keeps an end of file in force once seen, so the end of
// input is final for the run.
namespace platform {

int read_input_byte()
{
    return std::getc(stdin);
}

void unread_input_byte(int byte)
{
    std::ungetc(byte, stdin);
}

} // namespace platform
