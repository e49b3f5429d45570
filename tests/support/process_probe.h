// What /proc tells about the main thread of a running child: whether it sits
// waiting for input, and how often it has gone to sleep.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// True when the main thread sleeps (state S) in read, or in poll, ppoll,
// select or pselect6 without a time limit. A poll with a time limit is a
// pause on the way (waiting for the rest of an escape sequence, say), not a
// question.
bool waits_for_input(pid_t pid);

// The main thread's count of voluntary context switches: it grows each time
// the thread goes to sleep. None once the process is gone.
std::optional<long> voluntary_switches(pid_t pid);

// The main thread's state and current system call, for failure messages.
std::string describe_main_thread(pid_t pid);

// The descriptors of `pid` that are open on the file at `path`, in order.
std::vector<int> descriptors_open_on(pid_t pid, const std::string& path);
