#include "tests/support/terminal_mode.h"

#include <algorithm>
#include <ios>

std::optional<TerminalMode> read_terminal_mode(int descriptor)
{
    termios attributes{};
    if (tcgetattr(descriptor, &attributes) != 0)
        return std::nullopt;
    TerminalMode mode;
    mode.input = attributes.c_iflag;
    mode.output = attributes.c_oflag;
    mode.control = attributes.c_cflag;
    mode.local = attributes.c_lflag;
    std::copy(std::begin(attributes.c_cc), std::end(attributes.c_cc), mode.characters.begin());
    return mode;
}

std::ostream& operator<<(std::ostream& stream, const TerminalMode& mode)
{
    const auto flags = stream.flags();
    stream << std::hex << "{iflag 0x" << mode.input << ", oflag 0x" << mode.output << ", cflag 0x" << mode.control
           << ", lflag 0x" << mode.local << ", cc";
    for (cc_t character : mode.characters)
        stream << ' ' << static_cast<unsigned>(character);
    stream << '}';
    stream.flags(flags);
    return stream;
}
