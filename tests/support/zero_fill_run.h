// A whole run of the real binary that writes a zero-filled file, and what
// its report must say.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

#include "tests/support/expected_file.h"
#include "tests/support/terminal_session.h"

// Answers every question from the size to the summary: types `size`, keeps
// it at the 64 KiB offer, chooses the zero fill and keeps or drops the
// checkpoints. Returns with the program waiting at the summary; false (with
// a failure recorded) when a question did not come.
bool answer_up_to_summary(TerminalSession& session, std::uint64_t size, bool checkpoints);

// What such a run writes.
std::string zero_filled_file(std::uint64_t size, bool checkpoints);

// Checks that `report` starts with the start banner and puts what follows it
// into `rest`.
testing::AssertionResult after_start_banner(const std::string& report, std::string& rest);

// `value` in decimal with a comma between groups of three digits.
std::string with_digit_groups(std::uint64_t value);
