// Ahead of every other header, for the reason given in windows_api.h.
#include "platform/windows/windows_api.h"

#include <cstdio>
#include <io.h>

namespace {

char last_read_failure[256] = "";

void note_failure(DWORD error)
{
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        last_read_failure, sizeof last_read_failure, nullptr);
    if (length == 0) {
        std::snprintf(last_read_failure, sizeof last_read_failure, "Error %lu", static_cast<unsigned long>(error));
        return;
    }
    // The system's texts end with a line end; the message has its own.
    for (DWORD end = length; end > 0 && (last_read_failure[end - 1] == '\n' || last_read_failure[end - 1] == '\r' ||
                                         last_read_failure[end - 1] == '.');
         --end)
        last_read_failure[end - 1] = '\0';
}

} // namespace

namespace platform {

FileHandle open_file_for_reading(const char* path, std::uint64_t& size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A directory does not open without backup semantics, and the
        // system calls that a denied access.
        const DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            std::snprintf(last_read_failure, sizeof last_read_failure, "Is a directory");
        else
            note_failure(error);
        return reinterpret_cast<FileHandle>(file);
    }
    // Devices and pipes open too, and are refused here.
    LARGE_INTEGER length;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &length)) {
        std::snprintf(last_read_failure, sizeof last_read_failure, "Not a regular file");
        CloseHandle(file);
        return reinterpret_cast<FileHandle>(INVALID_HANDLE_VALUE);
    }
    size = static_cast<std::uint64_t>(length.QuadPart);
    return reinterpret_cast<FileHandle>(file);
}

bool read_file(FileHandle file, void* data, std::uint32_t length, std::uint32_t& got)
{
    DWORD count = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(file), data, length, &count, nullptr)) {
        note_failure(GetLastError());
        return false;
    }
    got = count;
    return true;
}

bool rewind_file(FileHandle file)
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(reinterpret_cast<HANDLE>(file), start, nullptr, FILE_BEGIN)) {
        note_failure(GetLastError());
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
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool error_stream_is_console()
{
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace platform
