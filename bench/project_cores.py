#!/usr/bin/env python3
"""Projects the parallel pass to more processors than this machine has.

Replays conflicts recorded by `tintwalk_parallel_steps ... --conflicts` (one
line per pass: the trail length, then for each bot the first step at which a
trial run from the pass's start meets a cell painted earlier in the pass)
with N simulated threads scheduled as core/parallel_step.cpp schedules them:
the stepping thread takes bots 0, N, 2N, ... itself and commits the others in
order; helper h tries bots h + 1, h + 1 + N, ... back to back from the start
of the pass. Costs are in bot steps: a run or trial step costs 1, checking
and painting a tried step costs COMMIT, a step run again after a conflict
costs 1 on the stepping thread, and a helper's taking up of another bot's
painted cell costs TAKEUP (done while it waits; what is left after the last
commit adds to the pass). Prints the projected speed-up over the plain pass.

  bench/project_cores.py CONFLICTS... [--commit 0.27] [--takeup 0.13]
"""
import argparse
import sys


def pass_time(trail, firsts, threads, commit, takeup):
    bots = len(firsts)
    if threads == 1:
        return bots * trail
    helper_free = [0.0] * (threads - 1)
    trial_done = {}
    for k in range(bots):
        if k % threads:
            h = k % threads - 1
            helper_free[h] += trail
            trial_done[k] = helper_free[h]
    now = 0.0
    for k in range(bots):
        if k in trial_done:
            now = max(now, trial_done[k])
            exact = firsts[k]
            now += exact * commit + (trail - exact)
        else:
            now += trail
    # After the last commit a helper still takes up the last bot's cells.
    return now + trail * takeup


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("conflicts", nargs="+")
    parser.add_argument("--commit", type=float, default=0.27)
    parser.add_argument("--takeup", type=float, default=0.13)
    parser.add_argument("--threads", default="1,2,4,8,16")
    args = parser.parse_args()
    counts = [int(t) for t in args.threads.split(",")]
    print("file rerun-share " + " ".join(f"x{n}" for n in counts))
    for name in args.conflicts:
        passes = [[int(v) for v in line.split()] for line in open(name) if line.strip()]
        plain = sum(p[0] * (len(p) - 1) for p in passes)
        # Steps run again if every bot but bot 0 were tried from the start.
        rerun = sum(p[0] - f for p in passes for f in p[2:])
        speedups = []
        for n in counts:
            total = sum(pass_time(p[0], p[1:], n, args.commit, args.takeup) for p in passes)
            speedups.append(plain / total)
        print(f"{name} {rerun / plain:.3f} " + " ".join(f"{s:.2f}" for s in speedups))
    return 0


if __name__ == "__main__":
    sys.exit(main())
