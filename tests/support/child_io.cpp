#include "tests/support/child_io.h"

#include <cerrno>
#include <cstdlib>
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

bool open_terminal(int& master, int& slave)
{
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
        ADD_FAILURE() << "cannot open a pseudo-terminal: " << std::strerror(errno);
        return false;
    }
    slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        ADD_FAILURE() << "cannot open " << name << ": " << std::strerror(errno);
        return false;
    }
    return true;
}

void close_if_open(int descriptor)
{
    if (descriptor >= 0)
        close(descriptor);
}

std::vector<std::string> environment_entries(const std::map<std::string, std::string>& environment)
{
    std::vector<std::string> entries;
    for (const auto& [name, value] : environment)
        entries.push_back(name + "=" + value);
    return entries;
}
