#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "platform/platform.h"
#include "platform/posix/process_state.h"

namespace {

// Only a regular file will do: opening never blocks on a device or a fifo,
// and none of them is truncated or written.
bool is_regular_file(int descriptor)
{
    struct stat status;
    return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

bool make_blocking(int descriptor)
{
    int flags = fcntl(descriptor, F_GETFL);
    return flags != -1 && fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

} // namespace

namespace platform {

FileHandle create_file(const char* path)
{
    int descriptor = open(path, O_RDWR | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return INVALID_HANDLE_VALUE;
    // Locked before it is emptied: a file another run is writing stays as
    // it is.
    if (!is_regular_file(descriptor) || !make_blocking(descriptor) || flock(descriptor, LOCK_EX | LOCK_NB) != 0 ||
        ftruncate(descriptor, 0) != 0) {
        close(descriptor);
        return INVALID_HANDLE_VALUE;
    }
    return descriptor;
}

bool file_size(const char* path, std::uint64_t& size)
{
    struct stat status;
    if (stat(path, &status) != 0)
        return false;
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

bool write_file(FileHandle file, const void* data, std::uint32_t length, std::uint32_t& written)
{
    ssize_t count;
    do
        count = write(static_cast<int>(file), data, length);
    while (count < 0 && errno == EINTR);
    if (count < 0) {
        posix::wait_if_ending_elsewhere();
        return false;
    }
    written = static_cast<std::uint32_t>(count);
    return true;
}

void close_file(FileHandle file)
{
    close(static_cast<int>(file));
}

void remove_file(const char* path)
{
    std::remove(path);
}

bool volume_free_space(const char* path, std::uint64_t& free_bytes)
{
    struct statvfs volume;
    if (statvfs(path, &volume) != 0)
        return false;
    free_bytes = static_cast<std::uint64_t>(volume.f_bfree) * volume.f_frsize;
    return true;
}

} // namespace platform
