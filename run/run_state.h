// The one record of a run: every stage reads and fills it in, and the
// interrupt reads the output file's handle and path from it.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/platform.h"

enum FillMode : std::int32_t {
    FILL_ZERO = 1,
    FILL_ALPHABET = 2,
    FILL_CHAR = 3,
};

inline constexpr std::uint32_t DEFAULT_SECTION_SIZE = 1000000;
inline constexpr std::uint32_t DEFAULT_LETTER_PERIOD = 10000;

struct RunState {
    // Full path of the output file; set once, before the handle.
    char* output_path = nullptr;
    // Taken (exchanged for INVALID_HANDLE_VALUE) by whoever closes the file,
    // so that it is closed exactly once even when the interrupt races the
    // main flow.
    std::atomic<FileHandle> output_handle{INVALID_HANDLE_VALUE};
    std::uint64_t file_size = 0;
    std::uint64_t free_space = 0;
    std::uint32_t section_size = 0;
    std::int32_t fill_mode = FILL_ZERO;
    std::int32_t checkpoints_enabled = 1;
    std::uint32_t letter_period = DEFAULT_LETTER_PERIOD;
    char current_letter = 'A';
    // Byte 0 is the fill byte, byte 1 a terminating zero.
    char* fill_char = nullptr;
    // At least section_size + 1 bytes, and never less than a whole
    // checkpoint record.
    char* section_buffer = nullptr;
    std::size_t section_buffer_length = 0;
};

extern RunState run_state;

// Takes the output file's handle for closing; INVALID_HANDLE_VALUE when it
// has been taken already or was never opened.
FileHandle take_output_handle();
