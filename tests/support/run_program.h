// Runs a program that needs no dialogue to its end as a plain child process,
// and keeps what it wrote.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/exit_status.h"

struct ProgramRun {
    std::string program;
    std::vector<std::string> arguments; // after the program's own name
    // stderr is a fresh pseudo-terminal in raw mode instead of a pipe, so
    // that the program takes it for a console and its bytes arrive as
    // written.
    bool error_on_terminal = false;
};

struct ProgramOutcome {
    ExitStatus status;
    std::string output; // stdout
    std::string error;  // stderr
};

// stdin is /dev/null. When the program outlives `limit` it is killed and a
// failure recorded.
ProgramOutcome run_program(const ProgramRun& run, std::chrono::milliseconds limit = std::chrono::seconds(60));
