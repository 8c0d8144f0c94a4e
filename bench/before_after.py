#!/usr/bin/env python3
"""Times scan, RENAME and FIND DUPL of two builds on the same data, in turns.

For a change that must leave the speed alone (say, Stop): the bench programs
of a "before" and an "after" build folder run one after the other, the order
swapped every round, on the same tree (make_walk_tree), the same fresh folders
of files (rename_bench, one round per run) and the same duplicate corpus
(dupes_bench.py's, warm). Both builds must list the same files and find the
same sets. Prints the medians and after/before. See README.md.
"""

import argparse
import collections
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

from dupes_bench import blank_line_sets, ensure_corpus, run, warm

WORK = ("scan", "rename", "dupes")
# the lines of rename_bench's table that are ours, not its peers'
RENAME_ROWS = ("engine", "engine+journal", "undo of it")


def parse_args():
    scratch = Path(os.environ.get("TMPDIR", "/tmp"))
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--before", type=Path, required=True, help="the build folder before")
    p.add_argument("--after", type=Path, required=True, help="the build folder after")
    p.add_argument("--runs", type=int, default=7, help="timed runs per build (default 7)")
    p.add_argument("--only", default=",".join(WORK), help="some of: %(default)s")
    p.add_argument("--data", type=Path, default=scratch / "folivar-before-after",
                   help="where the tree and the corpus are made (default: %(default)s)")
    p.add_argument("--tree-args", default="", help="make_walk_tree's, e.g. '--files 20000'")
    p.add_argument("--rename-files", type=int, default=50000)
    p.add_argument("--small-files", type=int, default=20000, help="the corpus' small files")
    p.add_argument("--keep", action="store_true", help="keep the tree and the corpus")
    return p.parse_args()


def program(build, name):
    path = build / "bench" / name
    if not path.is_file():
        sys.exit(f"missing {path}: cmake --build {build} -t {name}")
    return str(path)


def alternate(runs, step):
    """step(side, round) for both sides, the order swapped every round."""
    for r in range(runs):
        for side in (("before", "after") if r % 2 == 0 else ("after", "before")):
            step(side, r)


def both_alike(args, scratch, times, work, name, data, result_of):
    """Runs the bench program name of both builds over data, in turns, timed
    under work; each build must give the same result in every run, and both
    the same one. Returns it."""
    results = {}

    def step(side, r):
        out = scratch / f"{name}-{side}.txt"
        wall, cpu, _ = run([program(getattr(args, side), name), str(data)], out)
        if r >= 0:
            times[work, "wall"][side].append(wall * 1000)
            times[work, "cpu"][side].append(cpu * 1000)
        result = result_of(out)
        if results.setdefault(side, result) != result:
            sys.exit(f"FAIL: the {side} {work} gave another result in round {r}")

    step("before", -1)
    step("after", -1)
    if results["before"] != results["after"]:
        sys.exit(f"FAIL: the two builds' {work} give other results")
    alternate(args.runs, step)
    return results["after"]


def scan(args, scratch, times):
    tree = args.data / "tree"
    subprocess.run([program(args.after, "make_walk_tree"), str(tree), *args.tree_args.split()],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["find", str(tree), "-printf", "%s\n"], check=True, stdout=subprocess.DEVNULL)
    listed = both_alike(args, scratch, times, "scan", "folivar_walk", tree,
                        lambda out: sorted(out.read_bytes().splitlines()))
    return f"scan      {tree}: {len(listed)} *.jpg listed by both builds in every run"


def rename(args, scratch, times):
    # on a tmpfs of its own when root: the disk's writeback is no part of it
    where = ["--tmpfs"] if os.geteuid() == 0 else []

    def step(side, _):
        done = subprocess.run([program(getattr(args, side), "rename_bench"), *where,
                               str(args.rename_files), "1"],
                              capture_output=True, text=True, check=False)
        if done.returncode != 0:
            sys.exit(f"FAIL: {side} rename_bench: {(done.stdout + done.stderr)[-500:]}")
        for line in done.stdout.splitlines():
            # "<tool>  <median ms>  <min>  <max>"; one round: the median is the run
            words = line.split()
            if " ".join(words[:-3]) in RENAME_ROWS:
                times["rename", " ".join(words[:-3])][side].append(float(words[-3]))

    alternate(args.runs, step)
    return (f"rename    {args.rename_files} files in one folder on "
            f"{'a tmpfs' if where else 'the disk'}, a fresh folder "
            "each run, every file checked under its new name")


def dupes(args, scratch, times):
    corpus = args.data / "corpus"
    ensure_corpus(corpus, 20240611, args.small_files, 12288)
    warm(corpus)
    found = both_alike(args, scratch, times, "SCAN+FIND DUPL", "folivar_dupes", corpus,
                       lambda out: {frozenset(s) for s in blank_line_sets(out)})
    files = sum(1 for _, _, names in os.walk(corpus) for _ in names) - 1
    return (f"FIND DUPL {corpus}: {files} files, warm; both builds find the same "
            f"{len(found)} sets in every run")


def main():
    args = parse_args()
    args.data = Path(os.path.abspath(args.data))
    args.data.mkdir(parents=True, exist_ok=True)
    only = args.only.split(",")
    times = collections.defaultdict(lambda: {"before": [], "after": []})
    scratch = Path(tempfile.mkdtemp(prefix="before-after-"))
    notes = []
    try:
        for work in WORK:
            if work in only:
                notes.append(globals()[work](args, scratch, times))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
        if not args.keep:
            shutil.rmtree(args.data, ignore_errors=True)
    print(f"builds    before {args.before}, after {args.after}")
    print(f"runs      {args.runs} per build, in turns, the order swapped every round")
    print(*notes, sep="\n")
    print(f"load      {' '.join(Path('/proc/loadavg').read_text().split()[:3])} at the end")
    print(f"\n{'median (fastest)':<24} {'before ms':>17} {'after ms':>17} {'after/before':>13}")
    for (work, what), sides in times.items():
        before, after = (statistics.median(sides[s]) for s in ("before", "after"))
        fast_before, fast_after = (min(sides[s]) for s in ("before", "after"))
        print(f"{work + ' ' + what:<24} {before:8.1f} ({fast_before:6.1f}) "
              f"{after:8.1f} ({fast_after:6.1f}) "
              f"{after / before:6.2f} ({fast_after / fast_before:4.2f})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
