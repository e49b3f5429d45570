// What the checker knows or has inferred about how a file was written.
#pragma once

#include <cstdint>

#include "run/run_state.h"

// The fill of the sections and whether checkpoints head them.
struct FillSettings {
    std::int32_t fill_mode = FILL_ZERO;
    std::uint32_t letter_period = DEFAULT_LETTER_PERIOD;
    unsigned char fill_byte = 0;
    bool checkpoints = true;

    friend bool operator==(const FillSettings&, const FillSettings&) = default;
};

// The sections the file was cut into and the size it should have.
struct FileLayout {
    FillSettings fill;
    std::uint32_t section_size = DEFAULT_SECTION_SIZE;
    // The size the file should have; with `size_is_lower_bound` only the
    // least it could have had (the checkpoints tell that it was a file of
    // full sections, not how many).
    std::uint64_t expected_size = 0;
    bool size_is_lower_bound = false;
};

// What the user stated on the command line instead of leaving it to be
// inferred; a `has_` flag for each.
struct StatedSettings {
    bool has_fill_mode = false;
    std::int32_t fill_mode = FILL_ZERO;
    bool has_letter_period = false;
    std::uint32_t letter_period = 0;
    bool has_fill_byte = false;
    unsigned char fill_byte = 0;
    bool has_checkpoints = false;
    bool checkpoints = true;
    bool has_size = false;
    std::uint64_t size = 0;
};
