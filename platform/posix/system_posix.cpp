#include <cstdlib>
#include <sys/mman.h>

#include "platform/platform.h"

namespace platform {

const char* os_variable()
{
    return std::getenv("OS");
}

bool large_files_without_os()
{
    return true;
}

void* allocate_pages(std::size_t length)
{
    void* pages = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}

void release_pages(void* pages, std::size_t length)
{
    munmap(pages, length);
}

} // namespace platform
