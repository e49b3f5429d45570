// Ahead of every other header, for the reason given in windows_api.h.
#include "platform/windows/windows_api.h"

#include <cstdio>

#include "platform/windows/process_state.h"

namespace {

// The run-time would read the console again after a Ctrl+Z; the end of
// input is final for the run.
bool input_ended = false;

bool input_is_console()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

} // namespace

namespace platform {

int read_input_byte()
{
    if (input_ended)
        return -1;
    const int byte = std::getc(stdin);
    if (byte != EOF)
        return byte;
    // At the console Ctrl+C also cuts a line read short, just before its
    // handler starts ending the run on a thread of its own: no end of input.
    if (input_is_console())
        windows::wait_if_interrupt_follows();
    input_ended = true;
    return -1;
}

void unread_input_byte(int byte)
{
    std::ungetc(byte, stdin);
}

} // namespace platform
