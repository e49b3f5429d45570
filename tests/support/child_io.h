// What a test hands a child process it starts: pipes and a pseudo-terminal
// for its standard streams, and its environment.
#pragma once

#include <map>
#include <string>
#include <vector>

struct PipeEnds {
    int read = -1;
    int write = -1;
};

// A new pipe, both ends closed on exec; -1 for both, with a test failure
// recorded, when there is none to be had.
PipeEnds make_pipe();

// Opens a pseudo-terminal; both sides stay out of this process's own
// session and out of the child's other descriptors. False, with a test
// failure recorded, when there is none to be had.
bool open_terminal(int& master, int& slave);

void close_if_open(int descriptor);

// The environment as the NAME=value entries a child is started with.
std::vector<std::string> environment_entries(const std::map<std::string, std::string>& environment);
