#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"

namespace {

const char* last_read_failure = "";

} // namespace

namespace platform {

FileHandle open_file_for_reading(const char* path, std::uint64_t& size)
{
    // Non-blocking, so that a fifo named by mistake is refused rather than
    // waited on.
    int descriptor = open(path, O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        last_read_failure = std::strerror(errno);
        return INVALID_HANDLE_VALUE;
    }
    struct stat status;
    if (fstat(descriptor, &status) != 0) {
        last_read_failure = std::strerror(errno);
        close(descriptor);
        return INVALID_HANDLE_VALUE;
    }
    if (!S_ISREG(status.st_mode)) {
        last_read_failure = S_ISDIR(status.st_mode) ? "Is a directory" : "Not a regular file";
        close(descriptor);
        return INVALID_HANDLE_VALUE;
    }
    // The file is read once from start to end: let the kernel read ahead
    // far and drop what was read.
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    size = static_cast<std::uint64_t>(status.st_size);
    return descriptor;
}

bool read_file(FileHandle file, void* data, std::uint32_t length, std::uint32_t& got)
{
    ssize_t count;
    do
        count = read(static_cast<int>(file), data, length);
    while (count < 0 && errno == EINTR);
    if (count < 0) {
        last_read_failure = std::strerror(errno);
        return false;
    }
    got = static_cast<std::uint32_t>(count);
    return true;
}

bool rewind_file(FileHandle file)
{
    if (lseek(static_cast<int>(file), 0, SEEK_SET) != 0) {
        last_read_failure = std::strerror(errno);
        return false;
    }
    return true;
}

const char* read_failure()
{
    return last_read_failure;
}

double monotonic_seconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

bool error_stream_is_console()
{
    return isatty(STDERR_FILENO) == 1;
}

} // namespace platform
