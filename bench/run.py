#!/usr/bin/env python3
"""Runs listsift and the floor in turn on the same playlists and compares them.

For N = 1,000 and N = 1,000,000 entries: a warm-up run of each, then five runs
of each, interleaved; prints the median wall time of each, their ratio, and
the peak resident memory of each (from /usr/bin/time). Checks that both write
the same copy.

usage: run.py BUILD_FOLDER [N ...]
"""
import os
import statistics
import subprocess
import sys
import time

RUNS = 5
SIZES = (1000, 1000000)


def run(command):
    """Runs the command under /usr/bin/time; returns (seconds, peak KiB)."""
    start = time.perf_counter()
    done = subprocess.run(["/usr/bin/time", "-f", "%M"] + command,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    seconds = time.perf_counter() - start
    return seconds, int(done.stderr.split()[-1])


def main():
    build = os.path.abspath(sys.argv[1])
    data = os.path.join(build, "bench-data")
    here = os.path.dirname(os.path.abspath(__file__))
    listsift = os.path.join(build, "listsift")
    floor = os.path.join(build, "bench", "floor")
    print(f"{'entries':>9} {'listsift s':>11} {'floor s':>9} {'ratio':>6} "
          f"{'listsift KiB':>13} {'floor KiB':>10}")
    for size in [int(n) for n in sys.argv[2:]] or SIZES:
        subprocess.run([sys.executable, os.path.join(here, "generate.py"), data, str(size)],
                       check=True)
        playlist = os.path.join(data, f"list-{size}.m3u")
        commands = {
            "listsift": [listsift, playlist, "copy-listsift.m3u"],
            "floor": [floor, playlist, os.path.join(data, "copy-floor.m3u")],
        }
        times = {name: [] for name in commands}
        peaks = {name: [] for name in commands}
        for name, command in commands.items():
            run(command)  # warm-up: the tree and the playlist in the page cache
        for _ in range(RUNS):
            for name, command in commands.items():
                seconds, peak = run(command)
                times[name].append(seconds)
                peaks[name].append(peak)
        with open(os.path.join(data, "copy-listsift.m3u"), "rb") as ours, \
                open(os.path.join(data, "copy-floor.m3u"), "rb") as theirs:
            if ours.read() != theirs.read():
                sys.exit(f"the copies differ at {size} entries")
        ours, theirs = statistics.median(times["listsift"]), statistics.median(times["floor"])
        print(f"{size:>9} {ours:>11.4f} {theirs:>9.4f} {ours / theirs:>6.3f} "
              f"{max(peaks['listsift']):>13} {max(peaks['floor']):>10}")


if __name__ == "__main__":
    main()
