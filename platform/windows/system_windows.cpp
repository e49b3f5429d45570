// Ahead of every other header, for the reason given in windows_api.h.
#include "platform/windows/windows_api.h"

#include <cstdlib>

namespace platform {

const char* os_variable()
{
    return std::getenv("OS");
}

bool large_files_without_os()
{
    // Without OS nothing proves a file system for 4 GiB and more.
    return false;
}

void* allocate_pages(std::size_t length)
{
    // Fresh pages come zeroed.
    return VirtualAlloc(nullptr, length, MEM_COMMIT, PAGE_READWRITE);
}

void release_pages(void* pages, std::size_t)
{
    VirtualFree(pages, 0, MEM_RELEASE);
}

} // namespace platform
