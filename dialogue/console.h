// The console primitives the pages are made of, over the platform's console
// and standard input. Pages and echoes go to standard error.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dialogue/input_scan.h"

// A key as the platform reads it, with a..z folded to A..Z.
int read_key_upper();
// For a question that repeats until it gets its answer: the key, or the end
// of the run when no key can come.
int read_key_or_give_up();
int read_key_upper_or_give_up();

// Writes the key and a backspace, so that the next echo overwrites it.
void echo_key(int key);
void beep();

// One word of standard input into `buffer`; false at the end of input.
bool read_token(char* buffer, std::size_t size);
// One number of standard input, read as a signed 64-bit or 32-bit number and
// stored with its bits unchanged. The target keeps its value unless a
// number was read.
ScanResult read_number(std::uint64_t& target);
ScanResult read_number(std::uint32_t& target);
// Skips what is left of the current input line.
void skip_rest_of_line();
// Reads and drops one byte of standard input: at a console, waits for Enter.
void wait_for_return();

// Ends the run, for a question that can get no further answer.
[[noreturn]] void give_up_for_lack_of_input();
