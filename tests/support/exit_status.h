#pragma once

#include <ostream>

// How a process ended: with an exit code, or by a signal.
struct ExitStatus {
    int code = -1;  // the exit code; -1 when a signal ended the process
    int signal = 0; // the signal that ended it; 0 when it exited

    static ExitStatus exited(int code) { return {code, 0}; }
    static ExitStatus killed_by(int signal) { return {-1, signal}; }
    // From a status that waitpid reported.
    static ExitStatus from_wait_status(int status);

    bool operator==(const ExitStatus&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const ExitStatus& status);
