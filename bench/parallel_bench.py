#!/usr/bin/env python3
"""Steps a second of tintwalk-render with 1 and 2 threads (or others), per
community and size. Each figure is timed as the difference of two run
lengths, so that start-up and PNG writing cancel; the variants alternate and
each figure is the median of the repetitions. A benchmark, not a test.

  bench/parallel_bench.py RENDER [--sizes 1920x1080,3840x2160] [--threads 1,2]
                          [--repeats 3] [--communities 0-9]
"""
import argparse
import statistics
import subprocess
import sys
import time

# Extra ticks of the longer run, per size: about half a second of simulation.
EXTRA_TICKS = {1920 * 1080: 400, 3840 * 2160: 100, 7680 * 4320: 25}
NAMES = ["amorfwit", "paarsebergen", "somspaars", "fijnwerk", "geo&vlekkensnel", "fel",
         "rock", "zoetkoraal", "zwavelgrot", "tegelswitzwart"]


def run(render, community, size, ticks, threads):
    start = time.monotonic()
    subprocess.run([render, "--community", str(community), "--seed", "1", "--size", size,
                    "--ticks", str(ticks), "--threads", str(threads), "--quiet",
                    "--output", "/dev/null"], check=True)
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("render")
    parser.add_argument("--sizes", default="1920x1080,3840x2160,7680x4320")
    parser.add_argument("--threads", default="1,2")
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--communities", default="0-9")
    args = parser.parse_args()
    first, _, last = args.communities.partition("-")
    communities = range(int(first), int(last or first) + 1)
    thread_counts = [int(t) for t in args.threads.split(",")]
    print("size community " + " ".join(f"Msteps/s@{t}" for t in thread_counts) +
          (" ratio" if len(thread_counts) == 2 else ""))
    for size in args.sizes.split(","):
        width, height = (int(v) for v in size.split("x"))
        cells = width * height
        extra = EXTRA_TICKS.get(cells, max(1, 400 * 1920 * 1080 // cells))
        steps = extra * 2 * 8 * (cells // 1200)
        ratios = []
        for community in communities:
            seconds = {t: [] for t in thread_counts}
            for _ in range(args.repeats):
                for t in thread_counts:
                    short = run(args.render, community, size, 2, t)
                    long = run(args.render, community, size, 2 + extra, t)
                    seconds[t].append(max(long - short, 1e-6))
            rates = [steps / statistics.median(seconds[t]) / 1e6 for t in thread_counts]
            line = f"{size} {NAMES[community]} " + " ".join(f"{r:.1f}" for r in rates)
            if len(rates) == 2:
                ratios.append(rates[1] / rates[0])
                line += f" {ratios[-1]:.2f}"
            print(line, flush=True)
        if ratios:
            print(f"{size} median-ratio {statistics.median(ratios):.2f}", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
