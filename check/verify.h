// Reads the file section by section and compares every byte with the
// section the writer would have made.
#pragma once

#include <cstdint>

#include "check/check_settings.h"
#include "platform/platform.h"

// Stands for the end of the file where a byte was expected or found.
inline constexpr int END_OF_FILE = -1;

struct Difference {
    std::uint64_t offset = 0;
    // The section's place in the file, counted from 0.
    std::uint64_t section = 0;
    int expected = END_OF_FILE;
    int found = END_OF_FILE;
};

struct VerifyResult {
    // The sections the file should have, and how many of them differ
    // (missing ones included).
    std::uint64_t sections = 0;
    std::uint64_t damaged_sections = 0;
    bool has_difference = false;
    Difference first;
    // Bytes the file holds past the size it should have.
    std::uint64_t extra_bytes = 0;
    std::uint64_t bytes_read = 0;
    double seconds = 0;
    // A read failed at `failed_at`; the check stopped there.
    bool read_failed = false;
    std::uint64_t failed_at = 0;
    // No memory for the buffers.
    bool out_of_memory = false;
};

// Checks the open file of `file_size` bytes against `layout`; with
// `list_all`, every damaged section is reported as it is met.
VerifyResult verify_file(FileHandle file, std::uint64_t file_size, const FileLayout& layout, bool list_all);
