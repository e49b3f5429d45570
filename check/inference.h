// Tells from a file's first sections how it was written: the fill, the
// letter period, the fill character, whether checkpoints head the sections,
// and the section size; what the user stated is taken as given.
#pragma once

#include <cstddef>
#include <cstdint>

#include "check/check_settings.h"

// How much of the file's head the inference reads: enough sections that a
// damaged one among them cannot decide it.
inline constexpr std::size_t INFERENCE_HEAD_BYTES = 8 * std::size_t{DEFAULT_SECTION_SIZE};

// The period that stands for every period longer than a section: with it
// the letter never advances.
inline constexpr std::uint32_t LONGER_THAN_ANY_SECTION = UINT32_MAX;

struct Inference {
    // False when no settings reproduce the head well enough for this to be
    // a file the program writes, or when the alphabet fill was stated and
    // its letters show no period; nothing else is then valid.
    bool recognised = false;
    FileLayout layout;
    // Other settings that give exactly the same bytes, when there are any.
    bool has_alternative = false;
    FillSettings alternative;
};

// `head` holds the first `head_length` bytes of the file of `file_size`
// bytes (all of it, or INFERENCE_HEAD_BYTES).
Inference infer_layout(const unsigned char* head, std::size_t head_length, std::uint64_t file_size,
                       const StatedSettings& stated);
