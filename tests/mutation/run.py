#!/usr/bin/env python3
"""Mutation testing of the simulation: plants one fault at a time into
src/core and src/communities of a fixed source snapshot, rebuilds the unit
tests of a given tests tree and reports how many faults they catch.

  python3 tests/mutation/run.py --tests tests --work /tmp/mut-new
  python3 tests/mutation/run.py --tests /tmp/old/tests --work /tmp/mut-old

The sample depends only on --rev, --seed and --sample, so two tests trees
face the very same mutants. A mutant that does not compile is discarded.
Results go to WORK/results.tsv; a rerun resumes where it stopped.
"""
import argparse, json, os, random, re, shutil, signal, subprocess, sys, time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
UNIT_DIRS = ("tests/core/", "tests/communities/", "tests/saver/")

# (name, pattern, replacement): each match on a line is one mutant.
OPERATORS = [
    ("flip", r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)",
     lambda m: {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}[m[1]]),
    ("arith", r"(?<=\s)([-+*/%]|&&|\|\||&|\||\^|<<|>>)(?=\s)",
     lambda m: {"+": "-", "-": "+", "*": "/", "/": "*", "%": "*", "&&": "||", "||": "&&",
                "&": "|", "|": "&", "^": "&", "<<": ">>", ">>": "<<"}[m[1]]),
    ("const", r"(?<![\w.])(\d+)(?![\w.'])", lambda m: str(int(m[1]) + 1)),
    ("swap", r"([\w.\[\]]+) (-|/|%|<|<=|<<|>>) ([\w.\[\]]+)", lambda m: f"{m[3]} {m[2]} {m[1]}"),
]


def candidates(src):
    """Every mutant of the tree, in a fixed order."""
    out = []
    for sub in ("src/core", "src/communities"):
        for name in sorted(os.listdir(os.path.join(src, sub))):
            if not name.endswith((".cpp", ".h")):
                continue
            path = f"{sub}/{name}"
            with open(os.path.join(src, path)) as f:
                lines = f.read().split("\n")
            for no, line in enumerate(lines):
                code = line.split("//")[0]
                stripped = code.strip()
                if not stripped or stripped.startswith(("#", "*", "/*", "static_assert")):
                    continue
                for op, pattern, repl in OPERATORS:
                    for m in re.finditer(pattern, code):
                        new = code[:m.start()] + repl(m) + code[m.end():]
                        if new != code:
                            out.append((path, no, line, new + line[len(code):], op))
                # Drop a statement: an expression statement or a break / continue.
                if re.match(r"^[\w.\[\]()>*+=-]+.*;$", stripped) and not re.match(
                        r"^(return|const|constexpr|static|using|typedef|int|uint|auto|bool|float|"
                        r"size_t|struct|class|enum|std::)", stripped) or stripped in ("break;", "continue;"):
                    out.append((path, no, line, line[:len(line) - len(line.lstrip())] + ";", "drop"))
    return out


def sh(cmd, cwd, timeout=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=timeout, text=True)
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired:
        return "timeout", ""


def verdicts(results):
    with open(results) as f:
        return {int(r[0]): r[1] for r in (line.split("\t") for line in f if line.strip())}


def compare(mine, theirs):
    """Kill ratios of two runs over the mutants that both have judged and
    that compiled."""
    a, b = verdicts(mine), verdicts(theirs)
    common = sorted(i for i in a.keys() & b.keys() if "uncompilable" not in (a[i], b[i]))
    for name, v in ((mine, a), (theirs, b)):
        killed = sum(v[i] == "killed" for i in common)
        print(f"{name}: killed {killed} of {len(common)} ({100.0 * killed / max(len(common), 1):.1f} %)")
    for i in common:
        if a[i] != b[i]:
            print(f"mutant {i}: {a[i]} here, {b[i]} there")


def main():
    # A termination restores the mutated file like an interruption does.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--tests", required=True, help="the tests tree to judge")
    ap.add_argument("--work", required=True, help="scratch folder (source copy, build, results)")
    ap.add_argument("--rev", default="4fe447a", help="source snapshot (git revision)")
    ap.add_argument("--seed", type=int, default=20261207)
    ap.add_argument("--sample", type=int, default=150, help="mutants, shared equally by the five kinds")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--nice", type=int, default=19, help="niceness of builds and tests")
    ap.add_argument("--against", help="another WORK: compare the mutants both have judged")
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    a = ap.parse_args()

    work = os.path.abspath(a.work)
    if a.against:
        compare(os.path.join(work, "results.tsv"), os.path.join(a.against, "results.tsv"))
        return
    src = os.path.join(work, "src-tree")
    if not os.path.isdir(src):
        os.makedirs(src)
        subprocess.run(f"git -C {ROOT} archive {a.rev} CMakeLists.txt cmake src | tar -x -C {src}",
                       shell=True, check=True)
        shutil.copytree(os.path.abspath(a.tests), os.path.join(src, "tests"))
    # A run killed in the middle of a mutant leaves it planted: put back the
    # snapshot's content of every file that differs from it.
    for sub in ("src/core", "src/communities"):
        for name in os.listdir(os.path.join(src, sub)):
            path = f"{sub}/{name}"
            snapshot = subprocess.run(["git", "-C", ROOT, "show", f"{a.rev}:{path}"],
                                      stdout=subprocess.PIPE, check=True).stdout
            with open(os.path.join(src, path), "rb") as f:
                if f.read() != snapshot:
                    with open(os.path.join(src, path), "wb") as out:
                        out.write(snapshot)
    everything = candidates(src)
    # The same number of mutants of each kind, so that the many constants of
    # the preset tables do not crowd out comparisons and dropped statements.
    rng = random.Random(a.seed)
    sample = []
    for op in ("flip", "arith", "const", "swap", "drop"):
        group = [c for c in everything if c[4] == op]
        sample += rng.sample(group, min(a.sample // 5, len(group)))
    if a.list:
        for i, (path, no, old, new, op) in enumerate(sample):
            print(f"{i}\t{op}\t{path}:{no + 1}\t{new.strip()}")
        return

    build = os.path.join(work, "build")
    # ccache makes the rebuild that restores a mutated file a cache hit.
    flags = ["-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_CXX_FLAGS_RELEASE=-O0", "-DTINTWALK_BENCH=OFF",
             "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"]
    if not os.path.isdir(build):
        subprocess.run(["cmake", "-S", src, "-B", build, "-G", "Ninja"] + flags, check=True,
                       stdout=subprocess.DEVNULL)
    info = json.loads(subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True,
                                     stdout=subprocess.PIPE).stdout)
    # The unit tests are those added by the list files of UNIT_DIRS; each is
    # a binary of the test's name in the matching build folder.
    graph = info["backtraceGraph"]
    units = []
    for t in info["tests"]:
        node = t.get("backtrace")
        while node is not None:
            file = graph["files"][graph["nodes"][node]["file"]]
            unit = [d for d in UNIT_DIRS if file.endswith(d + "CMakeLists.txt")]
            if unit:
                units.append(os.path.join(build, unit[0], t["name"]))
                break
            node = graph["nodes"][node].get("parent")
    if not units:
        sys.exit("no unit test binaries found")
    targets = [os.path.basename(u) for u in units]
    ninja = ["nice", "-n", str(a.nice), "ninja", f"-j{a.jobs}"] + targets

    rc, out = sh(ninja, build)
    if rc != 0:
        sys.exit("the unmutated tree does not build:\n" + out)
    base = {}
    for u in units:
        t = time.time()
        rc, out = sh(["nice", "-n", str(a.nice), u], build)
        base[u] = time.time() - t
        if rc != 0:
            sys.exit(f"{u} fails on the unmutated tree:\n{out[-3000:]}")
    units.sort(key=lambda u: base[u])
    print(f"{len(everything)} candidates, {len(sample)} in the sample, {len(units)} test binaries "
          f"({sum(base.values()):.1f} s)", flush=True)

    results = os.path.join(work, "results.tsv")
    done = set()
    if os.path.exists(results):
        with open(results) as f:
            done = {int(line.split("\t")[0]) for line in f if line.strip()}
    # In sample order, so that a run cut short has judged a fair part of it.
    for i, (path, no, old, new, op) in enumerate(sample):
        if i in done:
            continue
        file = os.path.join(src, path)
        with open(file) as f:
            original = f.read()
        lines = original.split("\n")
        assert lines[no] == old
        lines[no] = new
        with open(file, "w") as f:
            f.write("\n".join(lines))
        t = time.time()
        try:
            rc, _ = sh(ninja, build, timeout=900)
            if rc != 0:
                verdict, by = "uncompilable", ""
            else:
                verdict, by = "survived", ""
                for u in units:
                    rc, _ = sh(["nice", "-n", str(a.nice), u, "--gtest_brief=1"], build,
                               timeout=max(30, 10 * base[u]))
                    if rc != 0:
                        verdict, by = "killed", f"{os.path.basename(u)}:{rc}"
                        break
        finally:
            with open(file, "w") as f:
                f.write(original)
        line = f"{i}\t{verdict}\t{op}\t{path}:{no + 1}\t{new.strip()}\t{by}\t{time.time() - t:.0f}s"
        print(line, flush=True)
        with open(results, "a") as f:
            f.write(line + "\n")

    with open(results) as f:
        rows = [line.split("\t") for line in f if line.strip()]
    killed = sum(r[1] == "killed" for r in rows)
    compiled = sum(r[1] != "uncompilable" for r in rows)
    print(f"killed {killed} of {compiled} compiled mutants "
          f"({100.0 * killed / max(compiled, 1):.1f} %); {len(rows) - compiled} did not compile")


if __name__ == "__main__":
    main()
