#include "dialogue/fill_selection.h"

#include <cinttypes>
#include <cstdio>

#include "dialogue/console.h"
#include "platform/platform.h"
#include "run/run_state.h"
#include "util/alloc_or_abort.h"

namespace {

constexpr std::size_t FILL_CHAR_BYTES = 20;

void show_fill_menu()
{
    std::fprintf(stderr, "\n\n\n");
    std::fprintf(stderr, "You have chosen to write %s of %" PRId64 " bytes, \n\n", run_state.output_path,
                 static_cast<std::int64_t>(run_state.file_size));
    std::fprintf(stderr, "If the file is greater than 1 meg. then every 1,000,000 bytes will be\n");
    std::fprintf(stderr, "a text string indicicating how far from the front of the file in 1,000,000\n");
    std::fprintf(stderr, "byte increments. So at 2000000, the string would look like\n");
    std::fprintf(stderr, "     2 X 1000000 with leading blanks\n\n");
    std::fprintf(stderr, "The program will fill the rest of the space with fill data.\n");
    std::fprintf(stderr, "The fill data can be one of the following. \n\n");
    std::fprintf(stderr, "1.  Hex 00's\n");
    std::fprintf(stderr, "2.  The letters of the alphabet (see below)\n");
    std::fprintf(stderr, "3.  A character of your choosing\n\n");
    std::fprintf(stderr, "Letters of the alphabet means the characters A-Z, and a-z\n");
    std::fprintf(stderr, "Every %" PRId32 " bytes the letter will be increased by one. This is to allow\n",
                 static_cast<std::int32_t>(run_state.letter_period));
    std::fprintf(stderr, "you the capability of tracking the file contents easier\n\n");
    std::fprintf(stderr, "Enter a [1,2, or 3] for your choice. If you enter a 3, you will be\n");
    std::fprintf(stderr, "prompted for the character of your choice\n");
    std::fprintf(stderr, "[1,2 or 3]?   ");
}

// The menu key, '1', '2' or '3'; every other key beeps and is read again.
char read_menu_key()
{
    while (true) {
        platform::discard_input();
        int key = read_key_or_give_up();
        echo_key(key);
        const auto choice = static_cast<signed char>(key);
        if (choice > '0' && choice < '4')
            return choice;
        beep();
    }
}

void ask_about_checkpoints()
{
    platform::clear_screen();
    const unsigned fill_value =
        run_state.fill_mode == FILL_CHAR ? static_cast<unsigned char>(run_state.fill_char[0]) : 0;
    std::fprintf(stderr, "\n\n\n");
    std::fprintf(stderr, "Since you have chosen to fill the file with decimal ");
    std::fprintf(stderr, "%u\n", fill_value);
    std::fprintf(stderr, "You may now choose to eliminate the checkpoints that occur\n");
    std::fprintf(stderr, "every 1,000,000 bytes making the file a pure file.\n");
    std::fprintf(stderr, "Do you wish to eliminate the checkpoints?  [Y/N] ");

    while (true) {
        platform::discard_input();
        int key = read_key_upper_or_give_up();
        echo_key(key);
        if (key == 'Y') {
            run_state.checkpoints_enabled = 0;
            return;
        }
        if (key == 'N') {
            run_state.checkpoints_enabled = 1;
            return;
        }
    }
}

} // namespace

void select_fill()
{
    platform::clear_screen();
    platform::discard_input();
    show_fill_menu();

    switch (read_menu_key()) {
    case '1':
        run_state.fill_mode = FILL_ZERO;
        break;
    case '2':
        run_state.fill_mode = FILL_ALPHABET;
        select_letter_period();
        return;
    default:
        run_state.fill_mode = FILL_CHAR;
        select_fill_char();
        break;
    }
    ask_about_checkpoints();
}

void select_letter_period()
{
    platform::clear_screen();
    const auto period = static_cast<std::int32_t>(run_state.letter_period);
    std::fprintf(stderr, "\n\nYou have chosen to fill with the letters of the alphabet.\n");
    std::fprintf(stderr, "Currently, every %" PRId32 " characters the fill character will change.\n", period);
    std::fprintf(stderr, "If you wish, the change period of %" PRId32 " can be modified.\n\n", period);
    std::fprintf(stderr, "Do you wish to change it? Y/N ");

    platform::discard_input();
    if (read_key_upper() != 'Y')
        return;

    do {
        run_state.letter_period = 0;
        std::fprintf(stderr, "\n\nInput the new value. ");
        switch (read_number(run_state.letter_period)) {
        case ScanResult::end_of_input:
            give_up_for_lack_of_input();
        case ScanResult::not_a_number:
            // What was typed is no number; ask again on the next line.
            skip_rest_of_line();
            break;
        case ScanResult::value:
            break;
        }
    } while (run_state.letter_period == 0);
}

void select_fill_char()
{
    run_state.fill_char = static_cast<char*>(alloc_or_abort(FILL_CHAR_BYTES / 4));

    platform::clear_screen();
    std::fprintf(stderr, "\n\n\n\n\n");
    std::fprintf(stderr, "You have chosen not to use the default of hex 00 to fill the file\n\n");
    std::fprintf(stderr, "You can now enter the decimal value of the fill character\n");
    std::fprintf(stderr, "enter a number from 0-255 and hit return key: ");

    std::int32_t value = 0;
    while (true) {
        char token[FILL_CHAR_BYTES] = "";
        platform::discard_input();
        if (!read_token(token, sizeof token))
            give_up_for_lack_of_input();
        value = leading_integer(token);

        std::fprintf(stderr, "\n\nYou entered decimal %" PRId32 " which is character %c.\n", value, value);
        std::fprintf(stderr, "Is this correct [Y/N]?  ");
        platform::discard_input();
        if (read_key_upper_or_give_up() == 'Y')
            break;
        std::fprintf(stderr, "\n\nEnter the decimal value of the fill character\n");
        std::fprintf(stderr, "enter a number from 0-255 and hit return key: ");
    }

    run_state.fill_char[0] = static_cast<char>(value & 0xFF);
    run_state.fill_char[1] = '\0';
}
