#!/usr/bin/env python3
"""Write speed and memory of filegen against dd and a minimal writer.

Builds a Release binary, mounts a tmpfs (so the disk does not hide the
program's own cost), then times every fill mode of the real program, driven
through a pseudo-terminal, in alternation with `dd` and the write floor
(bench/write_floor.cpp). Each mode runs twice: with its standard output (the
progress line) on the terminal, as a user sees it, and on /dev/null. Prints
median throughputs, the ratios against their targets, the peak resident
memory, and one summary line.

The targets against dd and the floor take the runs with standard output on
/dev/null: neither of those prints anything per write. The runs on the
terminal are compared with the floor printing the same kind of progress
line there, and the progress line's own cost is the terminal run against the
/dev/null one.

    python3 bench/run_bench.py                 # 1 GB files, 15 rounds
    python3 bench/run_bench.py --size 200000000 --rounds 25
"""

import argparse
import collections
import os
import shutil
import statistics
import subprocess
import sys
import time

from pty_runs import Usage, read_probe, run_session, run_with_terminal_output

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SECTION = 1000000
RSS_LIMIT_KIB = 4 * 1024
# The largest growth of the peak allowed between a small and a large file:
# a few pages of noise, nothing that grows with the size.
RSS_GROWTH_LIMIT_KIB = 64
# The progress line on a terminal against the same run with standard output
# on /dev/null: no more apart than the noise of the medians.
PROGRESS_TARGET = 0.97

Tools = collections.namedtuple("Tools", "program floor probe")
# answers: the keys after the size line (and the alignment offer), up to the
# summary; targets: least throughput as a share of dd's and of the floor's.
Mode = collections.namedtuple("Mode", "name answers dd_target floor_target")

MODES = [
    Mode("zero, checkpoints", [b"1", b"N"], 1.05, 0.95),
    Mode("zero, no checkpoints", [b"1", b"Y"], 1.05, 0.95),
    Mode("alphabet, period 10000", [b"2", b"N"], 1.0, 0.85),
    Mode("alphabet, period 1", [b"2", b"Y", b"1\n"], 1.0, 0.85),
    Mode("character 42", [b"3", b"42\n", b"Y", b"N"], 1.0, 0.85),
]
NULL = ", stdout null"
DD = "dd"
FLOOR = "write floor"
FLOOR_ON_TERMINAL = "write floor, progress on terminal"
# The mode whose peak the large file's run is held against.
LARGE_RUN_MODE = MODES[2]


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--size", type=int, default=1000000000, help="bytes per timed file (default 1 GB)")
    parser.add_argument("--rounds", type=int, default=15, help="alternating rounds (default 15)")
    parser.add_argument("--dir", default="/tmp/filegen-bench", help="tmpfs mount point for the timed files")
    parser.add_argument("--tmpfs-options", default="huge=always",
                        help="extra tmpfs mount options (default huge=always: the fewest kernel costs per byte, "
                             "so the program's own show; '' for plain pages)")
    parser.add_argument("--build-dir", default=os.path.join(REPO, "build-bench"))
    parser.add_argument("--big-size", type=int, default=20000000000, help="bytes of the peak-memory run on disk")
    parser.add_argument("--big-dir", default="/tmp/filegen-bench-disk", help="directory on a real disk")
    parser.add_argument("--no-big", action="store_true", help="skip the large peak-memory run")
    parser.add_argument("--show-runs", action="store_true", help="list every run's MB/s, slowest first")
    return parser.parse_args()


def build_release(build_dir, targets):
    """Builds `targets` optimised, without the tests, in `build_dir`."""
    subprocess.run(["cmake", "-S", REPO, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DFILEGEN_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "--target", *targets], check=True, stdout=subprocess.DEVNULL)


def build(build_dir):
    build_release(build_dir, ["filegen", "write_floor", "resource_probe"])
    tools = os.path.join(build_dir, "bench")
    return Tools(os.path.join(build_dir, "filegen"), os.path.join(tools, "write_floor"),
                 os.path.join(tools, "resource_probe"))


def mount_tmpfs(directory, size, extra_options):
    """Mounts a tmpfs at `directory` unless something is mounted there;
    True if mounted here."""
    os.makedirs(directory, exist_ok=True)
    if os.path.ismount(directory):
        return False
    room = f"size={size * 3 // 2 // 1048576 + 64}m"
    # Plain pages when the kernel refuses the extra options.
    attempts = [f"{room},{extra_options}", room] if extra_options else [room]
    for options in attempts:
        result = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", directory],
                                stderr=subprocess.PIPE, text=True)
        if result.returncode == 0:
            return True
        print(f"note: mount -t tmpfs -o {options} failed: {result.stderr.strip()}")
    print(f"note: timing on the filesystem that holds {directory}")
    return False


def filesystem_of(directory):
    """The type and options of the filesystem holding `directory`."""
    best = ("", "?")
    with open("/proc/mounts") as mounts:
        for line in mounts:
            _, point, kind, options = line.split()[:4]
            if (directory + "/").startswith(point.rstrip("/") + "/") and len(point) >= len(best[0]):
                best = (point, f"{kind} ({options})")
    return best[1]


def run_command(probe, argv, path):
    """Runs `argv` under the resource probe, timed from start to exit."""
    probe_file = path + ".usage"
    start = time.perf_counter()
    pid = os.posix_spawn(probe, [probe, probe_file] + argv, os.environ)
    _, status = os.waitpid(pid, 0)
    seconds = time.perf_counter() - start
    return Usage(seconds, os.waitstatus_to_exitcode(status), *read_probe(probe_file))


class Entry:
    """One side of the comparison and every run of it."""

    def __init__(self, name, run):
        self.name, self.run = name, run
        self.runs = []

    def measure(self, path, size):
        usage = self.run(path)
        written = os.stat(path).st_size
        os.unlink(path)
        if usage.status != 0 or written != size:
            sys.exit(f"{self.name}: exit status {usage.status}, {written:,} bytes written instead of {size:,}")
        self.runs.append(usage)

    def throughput(self, size, of="seconds"):
        """Median MB/s, by wall time or by processor time."""
        return size / statistics.median(getattr(run, of) for run in self.runs) / 1e6

    def peak(self):
        return max(run.peak_kib for run in self.runs)


def make_entries(tools, size):
    dd = shutil.which("dd")
    entries = [
        Entry(DD, lambda path: run_command(tools.probe, [dd, "if=/dev/zero", f"of={path}", f"bs={SECTION}",
                                                         f"count={size // SECTION}", "status=none"], path)),
        Entry(FLOOR, lambda path: run_command(tools.probe, [tools.floor, path, str(size)], path)),
        Entry(FLOOR_ON_TERMINAL, lambda path: run_with_terminal_output(
            tools.probe, [tools.floor, path, str(size), "progress"], path)),
    ]
    for mode in MODES:
        for suffix, on_terminal in (("", True), (NULL, False)):
            entries.append(Entry(mode.name + suffix, lambda path, a=mode.answers, t=on_terminal:
                                 run_session(tools.probe, tools.program, path, size, a, t)))
    return entries


def measure_rounds(entries, directory, size, rounds):
    path = os.path.join(directory, "timed.dat")
    for round_number in range(rounds):
        # Each round starts with a different entry so that no side always
        # follows the same neighbour.
        shift = round_number % len(entries)
        for entry in entries[shift:] + entries[:shift]:
            entry.measure(path, size)
        print(f"round {round_number + 1}/{rounds} done", file=sys.stderr)


def big_run(tools, directory, size):
    """The peak of the largest file that the disk has room for, or None."""
    os.makedirs(directory, exist_ok=True)
    free = shutil.disk_usage(directory).free
    if free < size + 2 * 1024**3:
        print(f"note: {directory} has {free:,} bytes free; peak-memory run of {size:,} bytes skipped")
        return None
    path = os.path.join(directory, "big.dat")
    try:
        usage = run_session(tools.probe, tools.program, path, size, LARGE_RUN_MODE.answers)
        if usage.status != 0 or os.stat(path).st_size != size:
            sys.exit(f"large run: exit status {usage.status}")
    finally:
        if os.path.exists(path):
            os.unlink(path)
    print(f"large run: {size:,} bytes, {LARGE_RUN_MODE.name}, on {filesystem_of(directory)}: "
          f"{size / usage.seconds / 1e6:.0f} MB/s, peak {usage.peak_kib} KiB")
    return usage.peak_kib


class Checks:
    """Prints each target with its verdict and keeps the ones missed."""

    def __init__(self):
        self.missed = []

    def at_least(self, label, value, target):
        self._show(label, value, f">= {target}", value >= target)

    def at_most(self, label, value, target):
        self._show(label, value, f"<= {target}", value <= target)

    def _show(self, label, value, target, met):
        print(f"{label:58} {value:8.3f}   target {target:<7} {'PASS' if met else 'FAIL'}")
        if not met:
            self.missed.append(label)


def show_runs(entries, size):
    print()
    for entry in entries:
        speeds = sorted(size / run.seconds / 1e6 for run in entry.runs)
        print(f"{entry.name:40} " + " ".join(f"{speed:.0f}" for speed in speeds))


def report(entries, size, big_peak):
    by_name = {entry.name: entry for entry in entries}
    # MB/s by the median wall time (what the targets take), the slowest and
    # the fastest run, and by the median processor time, which other load on
    # the machine moves less.
    print(f"\n{'run':40} {'MB/s':>7} {'slowest':>8} {'fastest':>8} {'CPU MB/s':>9} {'peak KiB':>9}")
    for entry in entries:
        seconds = [run.seconds for run in entry.runs]
        print(f"{entry.name:40} {entry.throughput(size):7.0f} {size / max(seconds) / 1e6:8.0f} "
              f"{size / min(seconds) / 1e6:8.0f} {entry.throughput(size, 'cpu_seconds'):9.0f} {entry.peak():9}")

    def ratio(name, other):
        return by_name[name].throughput(size) / by_name[other].throughput(size)

    checks = Checks()
    print()
    for mode in MODES:
        checks.at_least(f"{mode.name}{NULL} / {DD}", ratio(mode.name + NULL, DD), mode.dd_target)
        checks.at_least(f"{mode.name}{NULL} / {FLOOR}", ratio(mode.name + NULL, FLOOR), mode.floor_target)
        checks.at_least(f"{mode.name} / {FLOOR_ON_TERMINAL}", ratio(mode.name, FLOOR_ON_TERMINAL),
                        mode.floor_target)
    print()
    for mode in MODES:
        checks.at_least(f"progress line, {mode.name}: terminal / null", ratio(mode.name, mode.name + NULL),
                        PROGRESS_TARGET)
    print(f"{'(for comparison) write floor: progress on terminal / none':58} {ratio(FLOOR_ON_TERMINAL, FLOOR):8.3f}")
    print()
    program_peak = max(by_name[name].peak() for mode in MODES for name in (mode.name, mode.name + NULL))
    checks.at_most("peak resident KiB, any mode", program_peak, RSS_LIMIT_KIB)
    if big_peak is not None:
        checks.at_most("peak KiB growth, large file over small", big_peak - by_name[LARGE_RUN_MODE.name].peak(),
                       RSS_GROWTH_LIMIT_KIB)

    print()
    if checks.missed:
        print(f"SUMMARY: {len(checks.missed)} target(s) missed: " + "; ".join(checks.missed))
    else:
        print("SUMMARY: every target met")
    return not checks.missed


def main():
    args = parse_arguments()
    tools = build(args.build_dir)
    mounted = mount_tmpfs(args.dir, args.size, args.tmpfs_options)
    try:
        print(f"{args.size:,}-byte files at {args.dir} on {filesystem_of(args.dir)}, {args.rounds} rounds; "
              f"load average {os.getloadavg()[0]:.2f} at start")
        entries = make_entries(tools, args.size)
        measure_rounds(entries, args.dir, args.size, args.rounds)
        print(f"load average {os.getloadavg()[0]:.2f} at end")
    finally:
        if mounted:
            subprocess.run(["umount", args.dir], check=False)
    big_peak = None if args.no_big else big_run(tools, args.big_dir, args.big_size)
    if args.show_runs:
        show_runs(entries, args.size)
    return 0 if report(entries, args.size, big_peak) else 1


if __name__ == "__main__":
    sys.exit(main())
