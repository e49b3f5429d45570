// A pipe for a child's standard stream, both ends closed on exec.
#pragma once

struct PipeEnds {
    int read = -1;
    int write = -1;
};

// A new pipe; both ends -1, with a test failure recorded, when there is
// none to be had.
PipeEnds make_pipe();
