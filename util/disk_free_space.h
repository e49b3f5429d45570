#pragma once

#include <cstdint>

// The total free bytes of the volume that holds `path`; ends the run with
// status 3 when they cannot be told.
std::uint64_t disk_free_space(const char* path);
