#!/usr/bin/env python3
"""Times the folder walker against bfs, fd, find and a minimal getdents64 walker.

Every tool lists the regular files named *.jpg (any ASCII case) below the same
tree and prints "<path> <size> YYYY-MM-DD hh:mm:ss" per file (fd: the path,
after reading each file's status for its size filter) into a file of its own in
one scratch folder. The tree is made once (make_walk_tree); warm: the caches are
warmed once; --cold: the page cache is dropped before every run (root only).
Every tool runs --runs times, interleaved, and each run's output is checked
against the others. See README.md.
"""

import argparse
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from benchinfo import cpu_model, first_line

FORMAT = "%p %s %TY-%Tm-%Td %TH:%TM:%TS\\n"
OURS = "folivar_walk"
# ours / peer at most
WARM_GOALS = [("bfs", 0.9), ("fd", None), ("find", 0.6), ("floor_walk", 1.3)]
COLD_GOALS = [("bfs", 0.7), ("fd", 1.1)]
DROP_CACHES = Path("/proc/sys/vm/drop_caches")


def parse_args():
    here = Path(__file__).resolve().parent
    default_build = here.parent / "build-bench" / "bench"
    scratch = Path(os.environ.get("TMPDIR", "/tmp"))
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--tree", type=Path, default=scratch / "folivar-walk-tree",
                   help="tree to list; made there when missing (default: %(default)s)")
    p.add_argument("--runs", type=int, default=7, help="timed runs per tool (default 7)")
    p.add_argument("--folivar-walk", type=Path, default=default_build / "folivar_walk")
    p.add_argument("--floor-walk", type=Path, default=default_build / "floor_walk")
    p.add_argument("--make-tree", type=Path, default=default_build / "make_walk_tree")
    p.add_argument("--bfs", default=shutil.which("bfs") or "bfs")
    p.add_argument("--fd", default=shutil.which("fdfind") or shutil.which("fd") or "fdfind")
    p.add_argument("--cold", action="store_true",
                   help="drop the page cache before every run (as root; skipped otherwise)")
    p.add_argument("--requests", default="",
                   help="also time the walker with these requests in flight, e.g. 1,2,4,8,16")
    p.add_argument("--find", default=shutil.which("find") or "find")
    p.add_argument("--tree-args", default="",
                   help="extra make_walk_tree arguments, e.g. '--files 20000 --folders 1000'")
    p.add_argument("--keep-output", action="store_true",
                   help="keep the scratch folder with every tool's last output")
    return p.parse_args()



def read_stamp(tree):
    values = {}
    for line in (tree / ".walk-tree-stamp").read_text().splitlines():
        key, _, value = line.partition(" ")
        values[key] = value
    return values



def drop_caches():
    """Writes back what is dirty, then drops the page, dentry and inode caches."""
    os.sync()
    DROP_CACHES.write_text("3\n")


def run(argv, out_path, err_path, env, cold=False):
    """One run: wall time and the child's own CPU time, in seconds."""
    if cold:
        drop_caches()
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        start = time.perf_counter()
        child = subprocess.Popen(argv, stdout=out, stderr=err, env=env)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        child.returncode = os.waitstatus_to_exitcode(status)
    return wall, usage.ru_utime, usage.ru_stime, child.returncode


FRACTION = re.compile(rb"(?m)(:\d\d)\.\d+$")


def canonical(path):
    """The output's lines, sorted, with fractions of seconds cut off."""
    return sorted(FRACTION.sub(rb"\1", Path(path).read_bytes()).splitlines())


def paths_of(lines):
    """"<path> <size> <date> <time>" lines: the paths."""
    return sorted(line.rsplit(b" ", 3)[0] for line in lines)


def describe_difference(name, lines, ref_name, ref_lines, limit=5):
    mine, theirs = set(lines), set(ref_lines)
    text = [f"FAIL: {name} lists {len(lines)} lines, {ref_name} {len(ref_lines)}"]
    for label, extra in ((f"only in {name}", mine - theirs), (f"only in {ref_name}", theirs - mine)):
        if extra:
            text.append(f"  {label}: {len(extra)}, e.g.")
            text += ["    " + l.decode(errors="replace") for l in sorted(extra)[:limit]]
    if len(lines) != len(mine):
        text.append(f"  {name} repeats {len(lines) - len(mine)} lines")
    return "\n".join(text)


def main():
    args = parse_args()
    tree = Path(os.path.normpath(os.path.abspath(args.tree)))
    for tool in (args.folivar_walk, args.floor_walk, args.make_tree):
        if not tool.is_file():
            sys.exit(f"missing {tool}: build with -DFOLIVAR_BUILD_BENCH=ON first")
    for tool in (args.bfs, args.find, args.fd):
        if not shutil.which(tool):
            sys.exit(f"missing {tool} (scripts/setup-debian.sh installs it)")
    if args.cold and (os.geteuid() != 0 or not os.access(DROP_CACHES, os.W_OK)):
        print(f"--cold skipped: dropping the page cache needs root ({DROP_CACHES})")
        return 0

    made = subprocess.run([str(args.make_tree), str(tree)] + args.tree_args.split(),
                          capture_output=True, text=True, check=False)
    if made.returncode != 0:
        sys.exit(made.stderr.strip() or "make_walk_tree failed")
    if not made.stdout.startswith(f"{tree} is already there"):
        print(made.stdout.splitlines()[0])
    stamp = read_stamp(tree)
    expected = int(stamp["matching"])

    ours = {OURS: [str(args.folivar_walk), str(tree)]}
    for n in [int(x) for x in args.requests.split(",") if x.strip()]:
        ours[f"{OURS} -r{n}"] = [str(args.folivar_walk), str(tree), "--requests", str(n)]
    peers = {
        "bfs": [args.bfs, str(tree), "-iname", "*.jpg", "-type", "f", "-printf", FORMAT],
        # -S: a status per file, as the others read one for the size they print
        "fd": [args.fd, "-u", "-t", "f", "-i", "-g", "*.jpg", "-S", "-1t", str(tree)],
        "find": [args.find, str(tree), "-iname", "*.jpg", "-type", "f", "-printf", FORMAT],
        "floor_walk": [str(args.floor_walk), str(tree)],
    }
    goals = COLD_GOALS if args.cold else WARM_GOALS
    tools = dict(ours, **{name: peers[name] for name, _ in goals})
    path_only = {"fd"}
    # find's and bfs's -iname follow the locale; C is their quickest.
    env = dict(os.environ, LC_ALL="C")
    scratch = Path(tempfile.mkdtemp(prefix="walk-bench-"))
    failures = []

    def check(name, rc, out, err, ref):
        if rc != 0:
            failures.append(f"FAIL: {name} exited with {rc}: "
                            + Path(err).read_text(errors="replace").strip()[:500])
        lines = canonical(out)
        if len(lines) != expected:
            failures.append(f"FAIL: {name} lists {len(lines)} files, the tree holds {expected}")
        if ref is not None:
            theirs = paths_of(ref[1]) if name in path_only else ref[1]
            if lines != theirs:
                failures.append(describe_difference(name, lines, ref[0], theirs))
        return lines

    # Warm the dentry and inode caches for every entry, then one untimed round
    # whose outputs are the reference for every timed run.
    if not args.cold:
        subprocess.run([args.find, str(tree), "-printf", "%s\n"], stdout=subprocess.DEVNULL,
                       check=False, env=env)
    reference = None
    for name, argv in tools.items():
        out, err = scratch / f"{name}.out", scratch / f"{name}.err"
        *_, rc = run(argv, out, err, env)
        lines = check(name, rc, out, err, reference)
        if reference is None:
            reference = (name, lines)

    names = list(tools)
    samples = {name: [] for name in names}
    counts = {}
    for r in range(args.runs):
        for name in names[r % len(names):] + names[:r % len(names)]:
            out, err = scratch / f"{name}.out", scratch / f"{name}.err"
            wall, user, system, rc = run(tools[name], out, err, env, cold=args.cold)
            samples[name].append((wall, user, system))
            counts[name] = len(check(name, rc, out, err, reference))

    ms = lambda s: f"{s * 1000:8.1f}"
    print(f"date      {time.strftime('%Y-%m-%d %H:%M:%S %Z')}")
    print(f"machine   {cpu_model()}, {os.cpu_count()} cpus, Linux {platform.release()}, "
          f"load {os.getloadavg()[0]:.2f}")
    print(f"tree      {tree}: {stamp.get('regular')} files, {stamp.get('folders')} folders, "
          f"{expected} *.jpg, largest folder {stamp.get('largest-folder')} files, "
          f"{stamp.get('symlinks')} links")
    print(f"tools     {first_line([args.bfs, '--version'])}; {first_line([args.fd, '--version'])}; "
          f"{first_line([args.find, '--version'])}; LC_ALL=C")
    cache = "page cache dropped before every run" if args.cold else "after one warm-up round"
    print(f"runs      {args.runs} per tool, interleaved, {cache}; "
          f"output to files in {scratch.parent}")
    print()
    print(f"{'tool':<20}{'median ms':>10}{'min':>9}{'max':>9}{'user ms':>10}{'sys ms':>9}"
          f"{'lines':>8}")
    medians, minima, cpu = {}, {}, {}
    for name in names:
        walls = [s[0] for s in samples[name]]
        medians[name] = statistics.median(walls)
        minima[name] = min(walls)
        user = statistics.median(s[1] for s in samples[name])
        system = statistics.median(s[2] for s in samples[name])
        cpu[name] = statistics.median(s[1] + s[2] for s in samples[name])
        print(f"{name:<20}{ms(medians[name]):>10}{ms(minima[name]):>9}{ms(max(walls)):>9}"
              f"{ms(user):>10}{ms(system):>9}{counts[name]:>8}")
    print()
    # The goals are on the medians; the fastest run and the CPU time (user + sys)
    # show how much of a ratio is noise from whatever else the machine runs.
    print(f"{'ratio':<24}{'median':>7}{'min':>7}{'cpu':>7}   goal")
    for mine in ours:
        label = "ours" + mine[len(OURS):]
        for peer, goal in goals:
            ratio = medians[mine] / medians[peer]
            if goal is None:
                wanted = "  -"
            else:
                verdict = ("met" if ratio <= goal else "MISSED") if mine == OURS else ""
                wanted = f"<= {goal:.1f}  {verdict}"
            print(f"{label + '/' + peer:<24}{ratio:7.2f}{minima[mine] / minima[peer]:7.2f}"
                  f"{cpu[mine] / cpu[peer]:7.2f}   {wanted}")
    print()
    if failures:
        print("\n".join(dict.fromkeys(failures)))  # each distinct failure once
        print(f"outputs kept in {scratch}")
        return 1
    print(f"output check: all {len(names)} tools list the same {expected} lines in every run")
    if args.keep_output:
        print(f"outputs kept in {scratch}")
    else:
        shutil.rmtree(scratch)
    return 0


if __name__ == "__main__":
    sys.exit(main())
