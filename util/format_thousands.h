#pragma once

#include <cstdint>

// `value` in decimal digits with a comma between the groups of three.
// The text lives in one buffer that every call rewrites: hand it to one
// print call before calling again.
const char* format_thousands(std::uint64_t value);
