#include "tests/support/pipe_ends.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

PipeEnds make_pipe()
{
    int ends[2] = {-1, -1};
    if (pipe2(ends, O_CLOEXEC) != 0)
        ADD_FAILURE() << "pipe2: " << std::strerror(errno);
    return {ends[0], ends[1]};
}
