// Starts a child process in a session of its own, with the standard
// descriptors, terminal, directory and limits it is given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct ChildPlan {
    std::string program;
    std::vector<std::string> arguments; // after the program's own name
    std::vector<std::string> environment; // NAME=value
    std::string directory; // empty: the parent's
    // The terminal's slave side, made the child's controlling terminal; -1
    // for a child without one.
    int terminal = -1;
    // What becomes descriptor 0, 1 and 2; -1 leaves that one closed.
    std::array<int, 3> standard{-1, -1, -1};
    // RLIMIT_FSIZE in bytes, with SIGXFSZ ignored so that a write beyond it
    // fails instead of killing the child.
    std::optional<std::uint64_t> file_size_limit;
};

// The child's process id once it runs the program; -1 (with a test failure
// recorded) when it could not be started.
pid_t spawn(const ChildPlan& plan);
