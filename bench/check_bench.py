#!/usr/bin/env python3
"""Read speed of filegen-check against cmp, on files in the page cache.

Builds Release binaries, writes one file per fill mode with the real program
(driven through a pseudo-terminal) and a copy of each, reads them all once so
that they sit in the page cache, then times in alternating rounds
`filegen-check FILE` against `cmp FILE COPY`: the checker reads one file
where cmp must read two. Prints the medians, the ratio of cmp's time to the
checker's against the target, the checker's peak resident memory, and one
summary line.

    python3 bench/check_bench.py                    # 2 GB files, 9 rounds
    python3 bench/check_bench.py --size 500000000 --rounds 15
"""

import argparse
import collections
import os
import shutil
import statistics
import sys
import time

from pty_runs import Usage, read_probe, run_session
from run_bench import build_release

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# cmp's time over the checker's on the same cached file: at least this.
RATIO_TARGET = 1.5

Tools = collections.namedtuple("Tools", "program checker probe")
# answers: the keys after the size line (and the alignment offer), up to the
# summary.
Mode = collections.namedtuple("Mode", "name answers")

MODES = [
    Mode("zero, checkpoints", [b"1", b"N"]),
    Mode("alphabet, period 10000", [b"2", b"N"]),
    Mode("alphabet, period 1", [b"2", b"Y", b"1\n"]),
    Mode("character 42, no checkpoints", [b"3", b"42\n", b"Y", b"Y"]),
]


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--size", type=int, default=2000000000, help="bytes per file (default 2 GB)")
    parser.add_argument("--rounds", type=int, default=9, help="alternating rounds (default 9)")
    parser.add_argument("--dir", default="/tmp/filegen-check-bench", help="where the files are written")
    parser.add_argument("--build-dir", default=os.path.join(REPO, "build-bench"))
    return parser.parse_args()


def build(build_dir):
    build_release(build_dir, ["filegen", "filegen-check", "resource_probe"])
    return Tools(os.path.join(build_dir, "filegen"), os.path.join(build_dir, "filegen-check"),
                 os.path.join(build_dir, "bench", "resource_probe"))


def make_files(tools, directory, size):
    """One file per mode and its copy, both read once into the page cache."""
    os.makedirs(directory, exist_ok=True)
    free = shutil.disk_usage(directory).free
    if free < 2 * len(MODES) * size + 1024**3:
        sys.exit(f"{directory} has {free:,} bytes free; {2 * len(MODES) * size:,} needed")
    files = []
    for index, mode in enumerate(MODES):
        path = os.path.join(directory, f"mode{index}.dat")
        usage = run_session(tools.probe, tools.program, path, size, mode.answers, stdout_to_terminal=False)
        if usage.status != 0 or os.stat(path).st_size != size:
            sys.exit(f"{mode.name}: filegen ended with status {usage.status}")
        shutil.copyfile(path, path + ".copy")
        files.append(path)
    for path in files:
        for name in (path, path + ".copy"):
            with open(name, "rb") as cached:
                while cached.read(1 << 24):
                    pass
    return files


def timed(probe, argv, path):
    """Runs `argv` under the resource probe with its output on /dev/null,
    timed from start to exit."""
    probe_file = path + ".usage"
    start = time.perf_counter()
    pid = os.posix_spawn(probe, [probe, probe_file] + argv, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    _, status = os.waitpid(pid, 0)
    seconds = time.perf_counter() - start
    usage = Usage(seconds, os.waitstatus_to_exitcode(status), *read_probe(probe_file))
    if usage.status != 0:
        sys.exit(f"{' '.join(argv)}: exit status {usage.status}")
    return usage


def measure(tools, files, rounds):
    """Seconds of every run and the checker's peak, per mode."""
    checker = {path: [] for path in files}
    cmp = {path: [] for path in files}
    peaks = collections.defaultdict(int)
    cmp_binary = shutil.which("cmp")
    for round_number in range(rounds):
        for path in files:
            sides = [("check", [tools.checker, path]), ("cmp", [cmp_binary, path, path + ".copy"])]
            # Each side goes first every other round.
            if round_number % 2:
                sides.reverse()
            for side, argv in sides:
                usage = timed(tools.probe, argv, path + ".probe")
                if side == "check":
                    checker[path].append(usage.seconds)
                    peaks[path] = max(peaks[path], usage.peak_kib)
                else:
                    cmp[path].append(usage.seconds)
        print(f"round {round_number + 1}/{rounds} done", file=sys.stderr)
    return checker, cmp, peaks


def report(files, size, checker, cmp, peaks):
    missed = []
    print(f"{'mode':32} {'check MB/s':>11} {'cmp MB/s':>9} {'ratio':>6}  {'peak':>8}")
    for mode, path in zip(MODES, files):
        check_seconds = statistics.median(checker[path])
        cmp_seconds = statistics.median(cmp[path])
        ratio = cmp_seconds / check_seconds
        print(f"{mode.name:32} {size / check_seconds / 1e6:11.0f} {size / cmp_seconds / 1e6:9.0f} "
              f"{ratio:6.2f}  {peaks[path]:5} KiB")
        if ratio < RATIO_TARGET:
            missed.append(f"{mode.name}: {ratio:.2f} x cmp, target {RATIO_TARGET}")
    print()
    if missed:
        print(f"SUMMARY: {len(missed)} target(s) missed: " + "; ".join(missed))
    else:
        print(f"SUMMARY: every target met (the checker at least {RATIO_TARGET} x as fast as cmp)")
    return not missed


def main():
    args = parse_arguments()
    tools = build(args.build_dir)
    print(f"{args.size:,}-byte files, cached, {args.rounds} rounds; {os.cpu_count()} processors; "
          f"load average {os.getloadavg()[0]:.2f} at start")
    files = []
    try:
        files = make_files(tools, args.dir, args.size)
        checker, cmp, peaks = measure(tools, files, args.rounds)
        met = report(files, args.size, checker, cmp, peaks)
    finally:
        shutil.rmtree(args.dir, ignore_errors=True)
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
