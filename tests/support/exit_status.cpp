#include "tests/support/exit_status.h"

#include <cstring>
#include <sys/wait.h>

ExitStatus ExitStatus::from_wait_status(int status)
{
    if (WIFSIGNALED(status))
        return killed_by(WTERMSIG(status));
    return exited(WEXITSTATUS(status));
}

std::ostream& operator<<(std::ostream& stream, const ExitStatus& status)
{
    if (status.signal != 0)
        return stream << "killed by signal " << status.signal << " (" << strsignal(status.signal) << ")";
    return stream << "exited with " << status.code;
}
