#pragma once

#include <cstddef>
#include <cstdint>

// The longest checkpoint record with its terminating zero: a section number
// of eleven characters ("-2147483648"), " X ", a section length of seven
// digits, two blanks and the zero byte.
inline constexpr std::size_t CHECKPOINT_RECORD_MAX = 11 + 3 + 7 + 2 + 1;

// Formats the checkpoint of section `section_number` over the head of
// `buffer`, terminating zero included; returns its length without the zero.
std::size_t write_checkpoint(char* buffer, std::int32_t section_number, std::uint32_t section_size);
