// Ahead of every other header, for the reason given in windows_api.h.
#include "platform/windows/windows_api.h"

#include <conio.h>
#include <cstdio>
#include <cstdlib>

namespace {

// _getch reads the console whatever standard input is; without a console
// it could not tell that no key will ever come.
bool has_console()
{
    HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    const bool is_console = GetConsoleMode(console, &mode) != 0;
    CloseHandle(console);
    return is_console;
}

} // namespace

namespace platform {

void clear_screen()
{
    // The command writes to the same standard output: what was printed
    // before it comes first. A console that cannot be cleared still gets
    // its page, so the result does not matter.
    std::fflush(stdout);
    std::system("cls");
}

void discard_input()
{
    // The run-time defines this as dropping what the input buffer holds.
    std::fflush(stdin);
}

int read_key()
{
    static const bool console_present = has_console();
    if (!console_present)
        return -1;
    return _getch();
}

} // namespace platform
