#include "check/file_reading.h"

bool read_fully(FileHandle file, unsigned char* buffer, std::uint32_t length, std::uint32_t& got)
{
    got = 0;
    while (got < length) {
        std::uint32_t count = 0;
        if (!platform::read_file(file, buffer + got, length - got, count))
            return false;
        if (count == 0)
            break;
        got += count;
    }
    return true;
}
