#pragma once

#include <cstdint>

#include "platform/platform.h"

// Reads until `length` bytes have come or the file ends, however few each
// request brings; `got` says how many came. False on a failure.
bool read_fully(FileHandle file, unsigned char* buffer, std::uint32_t length, std::uint32_t& got);
