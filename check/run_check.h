#pragma once

// The checker from its command line to its exit status: 0 intact, 1
// damaged or truncated, 2 unreadable, not a file the program writes, or a
// mistake on the command line.
int run_check(int argc, char** argv);
