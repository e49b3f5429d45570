// Ahead of every other header, for the reason given in windows_api.h.
#include "platform/windows/windows_api.h"

#include <cstdio>

#include "platform/windows/process_state.h"

namespace {

HANDLE handle_of(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

} // namespace

namespace platform {

FileHandle create_file(const char* path)
{
    // No sharing: no other opener while the run lasts. A failure gives the
    // API's INVALID_HANDLE_VALUE, all bits set, which is the program's too.
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return reinterpret_cast<FileHandle>(file);
}

bool file_size(const char* path, std::uint64_t& size)
{
    // Opened without any access, only to be asked for its size.
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const bool known = low != INVALID_FILE_SIZE || GetLastError() == NO_ERROR;
    CloseHandle(file);
    if (!known)
        return false;
    size = (std::uint64_t{high} << 32) | low;
    return true;
}

bool write_file(FileHandle file, const void* data, std::uint32_t length, std::uint32_t& written)
{
    DWORD count = 0;
    if (!WriteFile(handle_of(file), data, length, &count, nullptr)) {
        windows::wait_if_ending_elsewhere();
        return false;
    }
    written = count;
    return true;
}

void close_file(FileHandle file)
{
    CloseHandle(handle_of(file));
}

void remove_file(const char* path)
{
    std::remove(path);
}

bool volume_free_space(const char* path, std::uint64_t& free_bytes)
{
    // The root of the drive the path starts with, whatever its first
    // character is.
    const char root[] = {path[0], ':', '\\', '\0'};
    ULARGE_INTEGER available_to_caller;
    ULARGE_INTEGER total;
    ULARGE_INTEGER total_free;
    if (!GetDiskFreeSpaceExA(root, &available_to_caller, &total, &total_free))
        return false;
    free_bytes = total_free.QuadPart;
    return true;
}

} // namespace platform
