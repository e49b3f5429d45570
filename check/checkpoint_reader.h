#pragma once

#include <cstddef>
#include <cstdint>

// Reads a checkpoint record at the head of `bytes` (`available` of them):
// the section number and section size it gives. False unless the bytes are
// exactly the record the writer formats for those two values, terminating
// zero included.
bool read_checkpoint(const unsigned char* bytes, std::size_t available, std::int32_t& section_number,
                     std::uint32_t& section_size);
