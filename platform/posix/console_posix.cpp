#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <stdio_ext.h>
#include <termios.h>
#include <unistd.h>

#include "platform/platform.h"
#include "platform/posix/process_state.h"

namespace {

// The code a special key gives after its 0xE0, for the escape sequences the
// terminals send.
constexpr int SPECIAL_KEY_PREFIX = 0xE0;
constexpr int UNKNOWN_SPECIAL_KEY = 0;
constexpr int ESCAPE = 27;
// How long the rest of an escape sequence may take to follow its Esc.
constexpr int ESCAPE_SEQUENCE_WAIT_MS = 50;

int console = -2; // -2: not opened yet; -1: there is none
termios mode_before_key;
// The interrupt ends the process on another thread while the main flow goes
// on: once the end has put the terminal back, no key read may take it raw
// again.
std::mutex key_mode_lock;
bool key_mode_active = false;
bool key_mode_closed = false;
int pending_special_code = -1;

int open_console()
{
    if (console == -2)
        console = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    return console;
}

// One byte from the console; -1 at its end or on an error.
int read_console_byte()
{
    unsigned char byte = 0;
    ssize_t count;
    do
        count = read(console, &byte, 1);
    while (count < 0 && errno == EINTR);
    return count == 1 ? byte : -1;
}

bool more_follows()
{
    pollfd waiting{console, POLLIN, 0};
    return poll(&waiting, 1, ESCAPE_SEQUENCE_WAIT_MS) == 1 && (waiting.revents & POLLIN);
}

int code_for_final(char final_byte)
{
    switch (final_byte) {
    case 'A': return 72;
    case 'B': return 80;
    case 'C': return 77;
    case 'D': return 75;
    case 'H': return 71;
    case 'F': return 79;
    default: return UNKNOWN_SPECIAL_KEY;
    }
}

int code_for_number(const char* number)
{
    if (!std::strcmp(number, "1") || !std::strcmp(number, "7"))
        return 71;
    if (!std::strcmp(number, "4") || !std::strcmp(number, "8"))
        return 79;
    if (!std::strcmp(number, "5"))
        return 73;
    if (!std::strcmp(number, "6"))
        return 81;
    if (!std::strcmp(number, "2"))
        return 82;
    if (!std::strcmp(number, "3"))
        return 83;
    return UNKNOWN_SPECIAL_KEY;
}

// Reads the rest of an escape sequence whose Esc was read already and gives
// the code of its key; a lone Esc gives -1.
int read_escape_sequence()
{
    if (!more_follows())
        return -1;
    int introducer = read_console_byte();
    if (introducer != '[' && introducer != 'O')
        return UNKNOWN_SPECIAL_KEY;

    // Parameter bytes, then one final byte in '@'..'~'.
    char parameters[16] = "";
    std::size_t length = 0;
    int byte;
    while ((byte = read_console_byte()) >= 0 && (byte < '@' || byte > '~')) {
        if (length + 1 < sizeof parameters)
            parameters[length++] = static_cast<char>(byte);
    }
    parameters[length] = '\0';
    if (byte == '~')
        return code_for_number(parameters);
    if (length == 0 || introducer == '[')
        return code_for_final(static_cast<char>(byte));
    return UNKNOWN_SPECIAL_KEY;
}

bool enter_key_mode()
{
    std::unique_lock lock(key_mode_lock);
    if (key_mode_closed) {
        lock.unlock();
        platform::posix::wait_if_ending_elsewhere();
        return false;
    }
    if (tcgetattr(console, &mode_before_key) != 0)
        return false;
    termios raw = mode_before_key;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    raw.c_iflag &= static_cast<tcflag_t>(~(ICRNL | INLCR | IGNCR | IXON | ISTRIP));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    key_mode_active = tcsetattr(console, TCSANOW, &raw) == 0;
    return key_mode_active;
}

// The caller holds key_mode_lock.
void put_mode_back()
{
    if (key_mode_active)
        tcsetattr(console, TCSANOW, &mode_before_key);
    key_mode_active = false;
}

void leave_key_mode()
{
    std::lock_guard lock(key_mode_lock);
    put_mode_back();
}

} // namespace

namespace platform {

void clear_screen()
{
    if (open_console() < 0)
        return;
    static const char clear[] = "\033[H\033[2J";
    ssize_t ignored = write(console, clear, sizeof clear - 1);
    (void)ignored;
}

void discard_input()
{
    __fpurge(stdin);
    if (isatty(STDIN_FILENO))
        tcflush(STDIN_FILENO, TCIFLUSH);
}

int read_key()
{
    if (pending_special_code >= 0) {
        int code = pending_special_code;
        pending_special_code = -1;
        return code;
    }
    if (open_console() < 0 || !enter_key_mode())
        return -1;

    int key = read_console_byte();
    if (key == ESCAPE) {
        int code = read_escape_sequence();
        if (code >= 0) {
            pending_special_code = code;
            key = SPECIAL_KEY_PREFIX;
        }
    }
    leave_key_mode();
    return key;
}

} // namespace platform

namespace platform::posix {

void restore_terminal()
{
    std::lock_guard lock(key_mode_lock);
    put_mode_back();
    key_mode_closed = true;
}

} // namespace platform::posix
