#!/usr/bin/env python3
"""Plants one fault at a time into src/core and src/communities of a source
snapshot, rebuilds the unit tests of a tests tree against it and counts the
faults they catch. The sample depends only on --rev, --seed and --sample.
Results go to WORK/results.tsv; a rerun resumes where the last one stopped."""
import argparse, os, random, re, shutil, signal, subprocess, sys, time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SOURCES = ("src/core", "src/communities")
UNIT_DIRS = ("tests/core", "tests/communities", "tests/saver")
FLIP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITH = {"+": "-", "-": "+", "*": "/", "/": "*", "%": "*", "&&": "||", "||": "&&",
         "&": "|", "|": "&", "^": "&", "<<": ">>", ">>": "<<"}
# (name, pattern, replacement): each match on a line is one mutant.
OPERATORS = [
    ("flip", r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", lambda m: FLIP[m[1]]),
    ("arith", r"(?<=\s)([-+*/%]|&&|\|\||&|\||\^|<<|>>)(?=\s)", lambda m: ARITH[m[1]]),
    ("const", r"(?<![\w.])(\d+)(?![\w.'])", lambda m: str(int(m[1]) + 1)),
    ("swap", r"([\w.\[\]]+) (-|/|%|<|<=|<<|>>) ([\w.\[\]]+)", lambda m: f"{m[3]} {m[2]} {m[1]}"),
]
# Dropped statements: expression statements, break and continue.
STATEMENT = r"^[\w.\[\]()>*+=-]+.*;$"
DECLARATION = (r"^(return|const|constexpr|static|using|typedef|int|uint|auto|bool|float|"
               r"size_t|struct|class|enum|std::)")


def candidates(src):
    """Every mutant of the tree, in a fixed order."""
    out = []
    for sub in SOURCES:
        for name in sorted(os.listdir(Path(src, sub))):
            if not name.endswith((".cpp", ".h")):
                continue
            path = f"{sub}/{name}"
            for no, line in enumerate(Path(src, path).read_text().split("\n")):
                code = line.split("//")[0]
                s = code.strip()
                if not s or s.startswith(("#", "*", "/*", "static_assert")):
                    continue
                for op, pattern, repl in OPERATORS:
                    for m in re.finditer(pattern, code):
                        new = code[:m.start()] + repl(m) + code[m.end():]
                        if new != code:
                            out.append((path, no, line, new + line[len(code):], op))
                if (re.match(STATEMENT, s) and not re.match(DECLARATION, s)
                        or s in ("break;", "continue;")):
                    indent = line[:len(line) - len(line.lstrip())]
                    out.append((path, no, line, indent + ";", "drop"))
    return out


def sh(cmd, cwd, timeout=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=timeout, text=True)
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired:
        return "timeout", ""


def rows(results):
    lines = Path(results).read_text().splitlines() if os.path.exists(results) else []
    return [line.split("\t") for line in lines if line.strip()]


def compare(mine, theirs):
    """Kill ratios over the mutants that both runs judged and compiled."""
    a, b = ({int(r[0]): r[1] for r in rows(x)} for x in (mine, theirs))
    common = sorted(i for i in a.keys() & b.keys() if "uncompilable" not in (a[i], b[i]))
    for name, v in ((mine, a), (theirs, b)):
        killed = sum(v[i] == "killed" for i in common)
        print(f"{name}: killed {killed} of {len(common)} "
              f"({100.0 * killed / max(len(common), 1):.1f} %)")
    for i in common:
        if a[i] != b[i]:
            print(f"mutant {i}: {a[i]} here, {b[i]} there")


def main():
    # A termination restores the mutated file like an interruption does.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--tests", required=True, help="the tests tree to judge")
    ap.add_argument("--work", required=True, help="scratch folder (source copy, build, results)")
    ap.add_argument("--rev", default="4fe447a", help="source snapshot (git revision)")
    ap.add_argument("--seed", type=int, default=20261207)
    ap.add_argument("--sample", type=int, default=150, help="mutants, as many of each kind")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--nice", type=int, default=19, help="niceness of builds and tests")
    ap.add_argument("--against", help="another WORK: compare the mutants both have judged")
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    a = ap.parse_args()
    work = Path(a.work).resolve()
    results, src, build = work / "results.tsv", work / "src-tree", work / "build"
    if a.against:
        return compare(results, Path(a.against, "results.tsv"))
    if not src.is_dir():
        src.mkdir(parents=True)
        subprocess.run(f"git -C {ROOT} archive {a.rev} CMakeLists.txt cmake src | tar -x -C {src}",
                       shell=True, check=True)
        shutil.copytree(Path(a.tests).resolve(), src / "tests")
    # A run killed in the middle of a mutant leaves it planted: restore the
    # snapshot's content of every file that differs from it.
    for sub in SOURCES:
        for name in os.listdir(Path(src, sub)):
            snapshot = subprocess.run(["git", "-C", ROOT, "show", f"{a.rev}:{sub}/{name}"],
                                      stdout=subprocess.PIPE, check=True).stdout
            if Path(src, sub, name).read_bytes() != snapshot:
                Path(src, sub, name).write_bytes(snapshot)
    everything = candidates(src)
    # As many mutants of each kind, so that the many constants of the preset
    # tables do not crowd out the rest.
    rng = random.Random(a.seed)
    sample = []
    for op in ("flip", "arith", "const", "swap", "drop"):
        group = [c for c in everything if c[4] == op]
        sample += rng.sample(group, min(a.sample // 5, len(group)))
    if a.list:
        for i, (path, no, old, new, op) in enumerate(sample):
            print(f"{i}\t{op}\t{path}:{no + 1}\t{new.strip()}")
        return

    if not build.is_dir():
        # ccache makes the rebuild that restores a mutated file a cache hit.
        subprocess.run(["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DTINTWALK_BENCH=OFF",
                        "-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_CXX_FLAGS_RELEASE=-O0",
                        "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"], check=True,
                       stdout=subprocess.DEVNULL)
    # The unit tests are the programs that the list files of UNIT_DIRS build.
    # One of code newer than the snapshot does not build, and is left out.
    nice = ["nice", "-n", str(a.nice)]
    sh(["ninja", "build.ninja"], build)  # regenerated first if the tests tree changed
    targets = subprocess.run(["ninja", "-t", "targets", "all"], cwd=build, check=True,
                             stdout=subprocess.PIPE, text=True).stdout.splitlines()
    units = [t.split(":")[0] for t in targets if "EXECUTABLE_LINKER" in t
             and os.path.dirname(t.split(":")[0]) in UNIT_DIRS]
    built = [u for u in units if sh(nice + ["ninja", f"-j{a.jobs}", u], build)[0] == 0]
    if built != units:
        print(f"left out, as they do not build against {a.rev}:", *sorted(set(units) - set(built)))
    units = built
    ninja = nice + ["ninja", f"-j{a.jobs}"] + units
    base = {}
    for u in units:
        t = time.time()
        rc, out = sh(nice + [build / u], build)
        if rc != 0:
            sys.exit(f"{u} fails on the unmutated tree:\n{out[-3000:]}")
        base[u] = time.time() - t
    if not units:
        sys.exit("no unit test builds")
    units.sort(key=lambda u: base[u])
    print(f"{len(everything)} candidates, {len(sample)} in the sample, {len(units)} test binaries "
          f"({sum(base.values()):.1f} s)", flush=True)

    done = {int(r[0]) for r in rows(results)}
    # In sample order, so that a run cut short has judged a fair part of it.
    for i, (path, no, old, new, op) in enumerate(sample):
        if i in done:
            continue
        file = src / path
        original = file.read_text()
        lines = original.split("\n")
        assert lines[no] == old
        lines[no] = new
        t = time.time()
        try:
            file.write_text("\n".join(lines))
            verdict, by = "survived", ""
            if sh(ninja, build, timeout=900)[0] != 0:
                verdict = "uncompilable"
            for u in units if verdict == "survived" else []:
                limit = max(30, 10 * base[u])
                rc, _ = sh(nice + [build / u, "--gtest_brief=1"], build, timeout=limit)
                if rc != 0:
                    verdict, by = "killed", f"{os.path.basename(u)}:{rc}"
                    break
        finally:
            file.write_text(original)
        line = f"{i}\t{verdict}\t{op}\t{path}:{no + 1}\t{new.strip()}\t{by}\t{time.time() - t:.0f}s"
        print(line, flush=True)
        with open(results, "a") as f:
            f.write(line + "\n")

    judged = rows(results)
    killed = sum(r[1] == "killed" for r in judged)
    compiled = sum(r[1] != "uncompilable" for r in judged)
    print(f"killed {killed} of {compiled} compiled mutants "
          f"({100.0 * killed / max(compiled, 1):.1f} %); {len(judged) - compiled} did not compile")


if __name__ == "__main__":
    main()
