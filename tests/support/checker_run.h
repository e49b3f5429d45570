// Runs the real filegen-check and reads its report.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tests/support/run_program.h"

// filegen-check with `arguments`, stdout and stderr pipes (or stderr a
// terminal).
ProgramOutcome run_checker(const std::vector<std::string>& arguments, bool error_on_terminal = false);

// The lines of a report but its last, the read line with its timing, which
// must be there and well formed; `lines` holds the others.
testing::AssertionResult report_without_timing(const std::string& report, std::vector<std::string>& lines);
