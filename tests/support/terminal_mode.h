#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <termios.h>

// The parts of a terminal's mode a program can change and must put back:
// the four flag words and the control characters.
struct TerminalMode {
    tcflag_t input = 0;
    tcflag_t output = 0;
    tcflag_t control = 0;
    tcflag_t local = 0;
    std::array<cc_t, NCCS> characters{};

    bool operator==(const TerminalMode&) const = default;
};

// The mode of the terminal open on `descriptor`; none when it cannot be
// read (a terminal that was hung up, say).
std::optional<TerminalMode> read_terminal_mode(int descriptor);

std::ostream& operator<<(std::ostream& stream, const TerminalMode& mode);
