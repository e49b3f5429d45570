#pragma once

// Screens the argument, hooks the interrupt and runs the stages in their
// fixed order. Returns once the file has been written.
void run_program(int argc, char** argv);

// Prints the usage text and ends the process at once with status 1.
[[noreturn]] void show_usage();
