#!/usr/bin/env python3
"""Times korbisto-cli on the slip of all 3^13 rows beside `cat` of the same file.

Each command runs with its output going to /dev/null, five times after a warm-up;
the figures are medians of the wall time and the peak resident memory of each run,
and every command's time as a ratio to cat's, taken pair by pair.

    bench/cli_scale.py [build/cli/korbisto-cli] [FOLDER]

The files go to a temporary folder below FOLDER (default: the system's). A slip
written with --out is synced to the disk before it replaces the old one, which
cat does not do; below /dev/shm the sync costs nothing.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ALL = ",".join(["102"] * 13)
RUNS = 5


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


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else "build/cli/korbisto-cli"
    below = sys.argv[2] if len(sys.argv) > 2 else None
    with tempfile.TemporaryDirectory(dir=below) as folder:
        slip = os.path.join(folder, "alle.krsc")
        out = os.path.join(folder, "neu.krsc")
        subprocess.run([cli, "full", "--crosses", ALL, "--out", slip], check=True)
        cat = ["cat", slip]
        commands = [
            ("slip", [cli, "slip", slip]),
            ("evaluate", [cli, "evaluate", "--slip", slip, "--result", "1021021021021"]),
            ("evaluate --json", [cli, "evaluate", "--slip", slip, "--result", "1021021021021", "--json"]),
            ("evaluate --sort hits", [cli, "evaluate", "--slip", slip, "--result", "1021021021021", "--sort", "hits"]),
            ("full --out", [cli, "full", "--crosses", ALL, "--out", out]),
        ]
        print(f"{'command on 1,594,323 rows':<24} {'wall ms':>8} {'cat ms':>7} {'ratio':>6} {'peak MiB':>9}")
        for name, argv in commands:
            run(argv)
            run(cat)
            walls, cats, ratios, peaks = [], [], [], []
            for _ in range(RUNS):
                wall, peak = run(argv)
                cat_wall, _ = run(cat)
                walls.append(wall)
                cats.append(cat_wall)
                ratios.append(wall / cat_wall)
                peaks.append(peak)
            print(f"{name:<24} {statistics.median(walls) * 1000:8.1f} {statistics.median(cats) * 1000:7.1f} "
                  f"{statistics.median(ratios):6.1f} {statistics.median(peaks):9.1f}")


if __name__ == "__main__":
    main()
