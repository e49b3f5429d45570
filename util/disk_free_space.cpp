#include "util/disk_free_space.h"

#include <cstdio>

#include "platform/platform.h"
#include "run/abort_run.h"

std::uint64_t disk_free_space(const char* path)
{
    std::uint64_t free_bytes = 0;
    if (!platform::volume_free_space(path, free_bytes)) {
        std::fprintf(stderr, "can't get disk free space\n");
        abort_run(3);
    }
    return free_bytes;
}
