"""Runs on a pseudo-terminal, under the resource probe (bench/resource_probe.cpp).

run_session: the real program, answered key by key. Every key is sent only
once the program sits blocked reading its console or standard input, after
it has taken the key before, so that no answer is typed ahead and dropped by
the program's flushing of pending input.

run_with_terminal_output: a plain command whose standard output is the
terminal.
"""

import collections
import os
import pty
import threading
import time

ALIGNMENT_UNIT = 65536
WAIT_LIMIT_SECONDS = 30
# How often the terminal's output is collected, as a terminal drawing at its
# frame rate would: a reader woken for every progress line would take turns
# with the program on the processor and slow it down by its own wake-ups.
# What the program writes in the meantime stays in the terminal's buffers.
DRAIN_INTERVAL_SECONDS = 0.01


# Wall seconds, exit status, peak resident KiB, processor seconds.
Usage = collections.namedtuple("Usage", "seconds status peak_kib cpu_seconds")


class SessionError(RuntimeError):
    pass


def read_probe(result_file):
    """Peak KiB and processor seconds as the resource probe recorded them."""
    with open(result_file) as result:
        peak, cpu = result.read().split()
    os.unlink(result_file)
    return int(peak), float(cpu)


def _cpu_seconds(pid):
    """Processor time of the main thread so far, to the nanosecond."""
    with open(f"/proc/{pid}/task/{pid}/schedstat") as schedstat:
        return int(schedstat.read().split()[0]) / 1e9


def _read_syscalls(pid):
    with open(f"/proc/{pid}/io") as io:
        for line in io:
            if line.startswith("syscr:"):
                return int(line.split()[1])
    raise SessionError("no syscr in /proc/PID/io")


def _blocked_reading(pid):
    """True while the main thread sleeps inside read(2)."""
    with open(f"/proc/{pid}/task/{pid}/syscall") as syscall:
        number = syscall.read().split(" ", 1)[0]
    with open(f"/proc/{pid}/task/{pid}/stat") as stat:
        state = stat.read().rsplit(")", 1)[1].split()[0]
    return number == "0" and state == "S"


class _Drain(threading.Thread):
    """Reads the terminal's output so the program never blocks writing it."""

    def __init__(self, master):
        super().__init__(daemon=True)
        self.master = master
        self.tail = bytearray()

    def run(self):
        while True:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            self.tail += chunk
            del self.tail[:-4096]
            time.sleep(DRAIN_INTERVAL_SECONDS)


def run_with_terminal_output(probe, argv, path):
    """Runs `argv` with its standard output on a terminal, timed from start
    to exit."""
    probe_file = path + ".usage"
    master, slave = os.openpty()
    drain = _Drain(master)
    drain.start()
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(probe, [probe, probe_file] + argv, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, slave, 1)])
        os.close(slave)
        _, status = os.waitpid(pid, 0)
        seconds = time.perf_counter() - start
    finally:
        drain.join(timeout=5)
        os.close(master)
    return Usage(seconds, os.waitstatus_to_exitcode(status), *read_probe(probe_file))


def answers_for(size, fill_answers):
    """The keys and lines of one run after the size line, confirmation last."""
    keys = []
    if size % ALIGNMENT_UNIT:
        keys.append(b"Y")  # keep the size at the alignment offer
    keys.extend(fill_answers)
    keys.append(b"Y")  # the summary
    return keys


def run_session(probe, binary, path, size, fill_answers, stdout_to_terminal=True):
    """Runs the program under the resource probe to write `size` bytes into
    `path`. Times and processor use count from the confirming key press.
    """
    env = {k: v for k, v in os.environ.items() if k != "OS"}
    probe_file = path + ".usage"
    launcher, master = pty.fork()
    if launcher == 0:
        try:
            if not stdout_to_terminal:
                null = os.open(os.devnull, os.O_WRONLY)
                os.dup2(null, 1)
                os.close(null)
            os.execve(probe, [probe, probe_file, binary, path], env)
        finally:
            os._exit(127)

    drain = _Drain(master)
    drain.start()
    program = None
    try:
        program = _child_of(launcher, drain)
        keys = [str(size).encode() + b"\n"] + answers_for(size, fill_answers)
        reads_before = -1
        for index, key in enumerate(keys):
            _wait_for_read(program, reads_before, drain)
            reads_before = _read_syscalls(program)
            if index == len(keys) - 1:
                cpu_before = _cpu_seconds(program)
                start = time.perf_counter()
            os.write(master, key)
        _, status, _ = os.wait4(launcher, 0)
        seconds = time.perf_counter() - start
    except BaseException:
        if program is not None:
            _kill(program)
        _kill(launcher)
        os.waitpid(launcher, 0)
        raise
    finally:
        drain.join(timeout=5)
        os.close(master)
    peak, cpu = read_probe(probe_file)
    return Usage(seconds, os.waitstatus_to_exitcode(status), peak, cpu - cpu_before)


def _child_of(launcher, drain):
    deadline = time.monotonic() + WAIT_LIMIT_SECONDS
    while time.monotonic() < deadline:
        with open(f"/proc/{launcher}/task/{launcher}/children") as children:
            pids = children.read().split()
        if pids:
            return int(pids[0])
        time.sleep(0.0005)
    raise SessionError("the program did not start; output:\n" + drain.tail.decode(errors="replace"))


def _wait_for_read(pid, reads_before, drain):
    deadline = time.monotonic() + WAIT_LIMIT_SECONDS
    while time.monotonic() < deadline:
        try:
            if _read_syscalls(pid) > reads_before and _blocked_reading(pid):
                return
        except FileNotFoundError:
            break
        time.sleep(0.0005)
    raise SessionError("program not waiting for input; last output:\n" + drain.tail.decode(errors="replace"))


def _kill(pid):
    try:
        os.kill(pid, 9)
    except ProcessLookupError:
        pass
