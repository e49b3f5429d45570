// Ahead of every other header, for the reason given in windows_api.h.
#include "platform/windows/windows_api.h"

#include <cstdlib>

namespace platform {

std::size_t path_limit()
{
    return _MAX_PATH;
}

void full_path(const char* name, char* result, std::size_t result_size)
{
    // The run-time may leave part of a path that does not fit.
    if (_fullpath(result, name, result_size) == nullptr)
        result[0] = '\0';
}

} // namespace platform
