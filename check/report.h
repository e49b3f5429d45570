// The checker's report on standard output: the file, the settings it was
// checked against, and what was found.
#pragma once

#include <cstdint>

#include "check/check_settings.h"
#include "check/inference.h"
#include "check/verify.h"

void report_file(const char* path, std::uint64_t file_size);

// The settings, which of them were stated and which inferred, and another
// reading of the same bytes when there is one.
void report_settings(const Inference& inference, const StatedSettings& stated, std::uint64_t file_size);

// One line of the list of damaged sections.
void report_damaged_section(const Difference& difference, std::uint64_t section_start, std::uint64_t differing,
                            bool names_other_section, std::int32_t named_section);
void report_missing_sections(std::uint64_t first, std::uint64_t last, std::uint64_t offset);

// Intact, or the first difference and how many sections differ; then the
// bytes read and the average read speed.
void report_outcome(const VerifyResult& result, const FileLayout& layout, std::uint64_t file_size);
