#!/usr/bin/env python3
"""Drives a console program in a pseudo-terminal, the way a user at the
console would: waits for each expected text on the screen, then types the
keys that go with it, and ends with the program's exit status.

    console_session.py SECONDS [EXPECT KEYS]... -- COMMAND [ARGUMENT]...

EXPECT is compared with escape sequences and white space left out of both
sides, since a console may draw each character with sequences of its own.
The keys are typed once the screen has been still for a moment: keys that
come before the program reads may meet a terminal not yet set up. KEYS takes backslash escapes (\\r for Enter, \\x03 for Ctrl+C). The whole
session is bounded by SECONDS; past it the program is killed and the status
is 124.
"""
import os
import pty
import re
import select
import signal
import sys
import time

ESCAPE_SEQUENCE = re.compile(rb"\x1b(\[[0-?]*[ -/]*[@-~]|\][^\x07]*\x07|[@-Z\\-_])")
WHITE_SPACE = re.compile(rb"\s+")
TIMED_OUT = 124
SETTLE_SECONDS = 0.5


def visible(screen):
    return WHITE_SPACE.sub(b"", ESCAPE_SEQUENCE.sub(b"", screen))


def main(arguments):
    if "--" not in arguments[1:]:
        sys.exit(__doc__)
    separator = arguments.index("--", 1)
    seconds = float(arguments[0])
    steps = arguments[1:separator]
    command = arguments[separator + 1:]
    if len(steps) % 2 != 0 or not command:
        sys.exit(__doc__)

    deadline = time.monotonic() + seconds
    child, terminal = pty.fork()
    if child == 0:
        os.execvp(command[0], command)

    screen = b""
    seen = 0  # what the screen showed up to the last expected text

    def read_some(wait=0.05):
        nonlocal screen
        ready, _, _ = select.select([terminal], [], [], wait)
        if not ready:
            return True
        try:
            data = os.read(terminal, 65536)
        except OSError:  # the program has ended and the terminal is gone
            return False
        screen += data
        return bool(data)

    def settle():
        length = -1
        while length != len(screen) and time.monotonic() < deadline:
            length = len(screen)
            read_some(SETTLE_SECONDS)

    def give_up(reason):
        os.kill(child, signal.SIGKILL)
        os.waitpid(child, 0)
        tail = visible(screen)[-400:].decode("latin-1")
        sys.stderr.write(f"console_session: {reason}; screen ends with: {tail}\n")
        sys.exit(TIMED_OUT)

    for expected, keys in zip(steps[0::2], steps[1::2]):
        wanted = visible(expected.encode("latin-1"))
        while True:
            found = visible(screen).find(wanted, seen)
            if found >= 0:
                seen = found + len(wanted)
                break
            if time.monotonic() > deadline:
                give_up(f"no {expected!r} in time")
            if not read_some():
                give_up(f"the program ended before {expected!r}")
        settle()
        os.write(terminal, keys.encode("latin-1").decode("unicode_escape").encode("latin-1"))

    while time.monotonic() < deadline:
        ended, status = os.waitpid(child, os.WNOHANG)
        if ended:
            sys.exit(os.waitstatus_to_exitcode(status))
        read_some()
    give_up("the program did not end in time")


if __name__ == "__main__":
    main(sys.argv[1:])
