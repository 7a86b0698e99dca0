#!/usr/bin/env python3
"""Times korbisto-cli on 3^13 rows beside a yardstick run in turn with it.

The commands that pass rows through stand beside `cat` of the slip; winplan,
chances and generate beside the straightforward programs of their algorithms
in cli_baseline (built beside the tool, in build/bench). Each pair runs five
times in turn after a warm-up, with the output going to /dev/null; the
figures are medians of the wall time and the peak resident memory of each
run, and the ratio to the yardstick is taken pair by pair. With --before, an
older korbisto-cli runs in the same turns, for the figures before a change.

    bench/cli_scale.py [build/cli/korbisto-cli] [FOLDER] [--before OLD_CLI]

The files go to a temporary folder below FOLDER (default: the system's). A slip
written with --out is synced to the disk before it replaces the old one, which
cat does not do; below /dev/shm the sync costs nothing.
"""
import argparse
import hashlib
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

ALL = ",".join(["102"] * 13)
EVERY_OUTCOME = ",".join(["111"] * 13)
RUNS = 5
ROWS = 1594323
MEMORY_GOAL_MIB = 64


def run(argv):
    """One run: wall seconds and peak resident MiB of the process."""
    with open(os.devnull, "wb") as sink:
        start = time.perf_counter()
        child = subprocess.Popen(argv, stdout=sink, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(argv)}")
    return wall, usage.ru_maxrss / 1024.0


def in_turn(commands):
    """Each command once as a warm-up, then RUNS rounds of all in turn: per
    command the wall seconds and peaks of its runs, in round order."""
    for argv in commands:
        run(argv)
    walls = [[] for _ in commands]
    peaks = [[] for _ in commands]
    for _ in range(RUNS):
        for i, argv in enumerate(commands):
            wall, peak = run(argv)
            walls[i].append(wall)
            peaks[i].append(peak)
    return walls, peaks


def ratio(walls, yardstick):
    return statistics.median(a / b for a, b in zip(walls, yardstick))


def random_slip(path, rows, seed):
    """`rows` records, each match's tip drawn at random (duplicates and all),
    written a part at a time: a child's peak memory counts this process's
    own at the fork, so it stays small."""
    draw = random.Random(seed)
    # A byte per row and match, its remainder by 3 the column; 255 is read as
    # 0, a bias of one in 256 that no figure here notices.
    tables = [bytes(1 if (b % 255) % 3 == column else 0 for b in range(256)) for column in range(3)]
    with open(path, "wb") as out:
        for first in range(0, rows, 65536):
            part = min(65536, rows - first)
            records = bytearray(40 * part)
            for m in range(13):
                picks = draw.randbytes(part)
                for column in range(3):
                    records[1 + 3 * m + column::40] = picks.translate(tables[column])
            out.write(records)


def output_digest(argv):
    """The SHA-256 of what a command prints, read as it comes."""
    digest = hashlib.sha256()
    with subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL) as child:
        for block in iter(lambda: child.stdout.read(1 << 16), b""):
            digest.update(block)
    if child.returncode != 0:
        sys.exit(f"failed: {' '.join(argv)}")
    return digest.digest()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli", nargs="?", default="build/cli/korbisto-cli")
    parser.add_argument("below", nargs="?", default=None)
    parser.add_argument("--before", help="an older korbisto-cli, run in the same turns")
    args = parser.parse_args()
    cli = args.cli
    baseline = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(cli))), "bench", "cli_baseline")
    if not os.access(baseline, os.X_OK):
        sys.exit(f"no yardstick at {baseline}: build the target cli_baseline")

    with tempfile.TemporaryDirectory(dir=args.below) as folder:
        slip = os.path.join(folder, "alle.krsc")
        out = os.path.join(folder, "neu.krsc")
        randoms = os.path.join(folder, "zufall.krsc")
        first96000 = os.path.join(folder, "zufall96000.krsc")
        subprocess.run([cli, "full", "--crosses", ALL, "--out", slip], check=True)
        random_slip(randoms, ROWS, 13)
        random_slip(first96000, 96000, 13)

        # A child's peak counts this script's memory at the fork: nothing reads below it.
        floor = max(run(["true"])[1] for _ in range(3))
        print(f"peak floor (this script's own memory): {floor:.1f} MiB\n")
        cat = ["cat", slip]
        passing = [
            ("slip", [cli, "slip", slip]),
            ("evaluate", [cli, "evaluate", "--slip", slip, "--result", "1021021021021"]),
            ("evaluate --json", [cli, "evaluate", "--slip", slip, "--result", "1021021021021", "--json"]),
            ("evaluate --sort hits", [cli, "evaluate", "--slip", slip, "--result", "1021021021021", "--sort", "hits"]),
            ("full --out", [cli, "full", "--crosses", ALL, "--out", out]),
        ]
        print(f"{'command on 1,594,323 rows':<24} {'wall ms':>8} {'cat ms':>7} {'ratio':>6} {'peak MiB':>9}")
        for name, argv in passing:
            walls, peaks = in_turn([argv, cat])
            print(f"{name:<24} {statistics.median(walls[0]) * 1000:8.1f} {statistics.median(walls[1]) * 1000:7.1f} "
                  f"{ratio(walls[0], walls[1]):6.1f} {statistics.median(peaks[0]):9.1f}")

        # (work, the tool's arguments after its path, the yardstick's, a memory goal)
        analysis = [
            ("winplan, 1,594,323 random rows", ["winplan", "--slip", randoms, "--crosses", ALL],
             ["winplan", randoms], None),
            ("winplan, all 3^13 rows", ["winplan", "--slip", slip, "--crosses", ALL], ["winplan", slip],
             MEMORY_GOAL_MIB),
            ("chances, 1,594,323 rows, 5 open", ["chances", "--slip", randoms, "--result", "10210102-----"],
             ["chances", randoms, "10210102-----"], MEMORY_GOAL_MIB),
            ("chances, 96,000 rows, 5 open", ["chances", "--slip", first96000, "--result", "10210102-----"],
             ["chances", first96000, "10210102-----"], None),
            ("generate until 3^13 drawn", ["generate", "--pattern", EVERY_OUTCOME, "--count", "0", "--seed", "1"],
             ["generate", "1"], None),
        ]
        print()
        before = " before ms  before/yard" if args.before else ""
        print(f"{'work':<34} {'now ms':>8} {'yard ms':>8} {'ratio':>6} {'peak MiB':>9}{before}")
        for name, tool, yard, goal in analysis:
            # The same work: the yardstick prints the tool's very bytes.
            if output_digest([cli] + tool) != output_digest([baseline] + yard):
                sys.exit(f"{name}: the yardstick's output differs from the tool's")
            commands = [[cli] + tool, [baseline] + yard] + ([[args.before] + tool] if args.before else [])
            walls, peaks = in_turn(commands)
            peak = statistics.median(peaks[0])
            line = (f"{name:<34} {statistics.median(walls[0]) * 1000:8.1f} {statistics.median(walls[1]) * 1000:8.1f} "
                    f"{ratio(walls[0], walls[1]):6.2f} {peak:9.1f}")
            if args.before:
                line += f" {statistics.median(walls[2]) * 1000:10.1f} {ratio(walls[2], walls[1]):12.2f}"
            if goal is not None:
                line += f"  (memory goal < {goal} MiB: {'met' if peak < goal else 'MISSED'})"
            print(line)


if __name__ == "__main__":
    main()
