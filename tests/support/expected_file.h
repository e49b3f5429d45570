// What an output file must hold, worked out byte by byte from the file's
// layout, independently of how the program fills its buffer.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

enum class FillKind { zero, alphabet, character };

struct FillChoice {
    FillKind kind = FillKind::zero;
    std::uint32_t letter_period = 0; // alphabet only
    unsigned char byte = 0;          // character only
    bool checkpoints = true;
};

std::string expected_file(std::uint64_t file_size, const FillChoice& choice);

// Equal byte for byte; a failure names the first offset that differs
// instead of printing megabytes.
testing::AssertionResult same_bytes(const std::string& actual, const std::string& expected);
