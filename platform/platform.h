// The thin layer between the program and its operating system: the console,
// standard input at byte level, the output file, the free-space query, page
// allocation, the interrupt and the two ways of ending the process.
//
// One implementation per platform (platform/posix, platform/windows); the
// rest of the program sees nothing but these plain functions.
#pragma once

#include <cstddef>
#include <cstdint>

// The platform's file handle, widened to an integer so that the run state can
// hold it atomically. All bits set means that no file is open.
using FileHandle = std::intptr_t;
inline constexpr FileHandle INVALID_HANDLE_VALUE = -1;

namespace platform {

// Process set-up, before anything else runs: reopens closed standard
// descriptors on the null device and ignores a broken pipe.
void prepare_process();

// Calls `handler(2)` on a thread of its own when the interrupt (Ctrl+C)
// arrives; a second interrupt then ends the process by default handling.
void hook_interrupt(void (*handler)(int));

// Claims the end of the process for the calling thread. A thread that comes
// second (the main flow while the interrupt is ending the run, say) never
// returns from here; the first one may call it again.
void claim_process_end();

// Ends the process with `status` after flushing both standard streams and
// restoring the terminal: at once, or through the orderly exit.
[[noreturn]] void end_at_once(int status);
[[noreturn]] void end_orderly(int status);

// Console.
void clear_screen();
// Drops what standard input holds buffered and, at a terminal, what was typed
// ahead; an end of input stays in force.
void discard_input();
// One key straight from the console, without echo or Enter; Ctrl+C is 3.
// A special key gives 0xE0 and then its code on the next call. -1 when no
// key can come (no console, or the console reported end of input).
int read_key();

// Standard input a byte at a time: the next byte (0..255), or -1 at the end
// of input, after which every further call returns -1 at once.
int read_input_byte();
// Puts the last byte read back, so that the next read returns it again.
void unread_input_byte(int byte);

// The longest full path the platform allows, terminator included.
std::size_t path_limit();
// Makes `name` an absolute path in `result` (of `result_size` bytes); leaves
// `result` empty when the path does not fit.
void full_path(const char* name, char* result, std::size_t result_size);

// Creates the file, or empties it if it exists, for exclusive use by this run.
FileHandle create_file(const char* path);
// The size of the file at `path`; false when it cannot be told.
bool file_size(const char* path, std::uint64_t& size);
// Writes up to `length` bytes from `data` with one synchronous request.
// Returns false on failure; otherwise `written` holds what was accepted.
bool write_file(FileHandle file, const void* data, std::uint32_t length, std::uint32_t& written);
void close_file(FileHandle file);
void remove_file(const char* path);

// Opens an existing regular file for reading and tells its size. On failure
// INVALID_HANDLE_VALUE, and read_failure() says why.
FileHandle open_file_for_reading(const char* path, std::uint64_t& size);
// Reads up to `length` bytes with one request; false on failure (see
// read_failure()), otherwise `got` holds what came, 0 at the end of the file.
bool read_file(FileHandle file, void* data, std::uint32_t length, std::uint32_t& got);
// Goes back to the start of a file opened for reading; false on failure
// (see read_failure()).
bool rewind_file(FileHandle file);
// Why the last open_file_for_reading, read_file or rewind_file failed, in a
// few words.
const char* read_failure();

// Seconds on a clock that only goes forward, from an arbitrary start.
double monotonic_seconds();
// Whether standard error is a console, where a line rewritten in place is
// worth showing.
bool error_stream_is_console();

// The total free bytes of the volume holding `path`; false on failure.
bool volume_free_space(const char* path, std::uint64_t& free_bytes);

// The value of the environment variable OS, or null when it is absent.
const char* os_variable();
// Whether this platform, when OS is absent, counts as a family whose files
// may reach 4 GiB and more.
bool large_files_without_os();

// Committed, zeroed, read-write pages of at least `length` bytes; null on
// failure.
void* allocate_pages(std::size_t length);
void release_pages(void* pages, std::size_t length);

} // namespace platform
