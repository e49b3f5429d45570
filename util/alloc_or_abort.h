#pragma once

#include <cstddef>

// A block of `count` four-byte units; ends the run with status 7 when memory
// is short.
void* alloc_or_abort(std::size_t count);
