#!/usr/bin/env python3
"""Times SCAN + FIND DUPL against jdupes, rdfind and fdupes on one corpus.

Makes a mixed corpus (small files with copies, many different files of one
size, large pairs that differ late, large copies, hard links). Warm: warms the
page cache and runs every tool --runs times, interleaved; --cold: drops the
page cache before every run (as root) and runs ours and jdupes, whole run
against whole run. Checks that every run finds the same sets of identical
contents, and prints wall times, ratios and the bytes each tool read, next to
the bytes any exact method must read. Warm, it then times our search alone on
100 to 3,000 different files of one size. See README.md.
"""

import argparse
import collections
import os
import platform
import random
import shutil
import stat
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from benchinfo import cpu_model, first_line

OURS = "folivar_dupes"
STAMP = ".dupes-corpus-stamp"
CORPUS_VERSION = "1"
MIB = 1 << 20
DROP_CACHES = Path("/proc/sys/vm/drop_caches")
# ours / jdupes at most, whole run against whole run
GOALS = {"warm": 0.6, "cold": 0.45}


def parse_args():
    here = Path(__file__).resolve().parent
    scratch = Path(os.environ.get("TMPDIR", "/tmp"))
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--corpus", type=Path, default=scratch / "folivar-dupes-corpus",
                   help="where the corpus is made (default: %(default)s)")
    p.add_argument("--runs", type=int, default=5, help="timed runs per tool (default 5)")
    p.add_argument("--cold", action="store_true",
                   help="drop the page cache before every run (as root; skipped otherwise)")
    p.add_argument("--requests", default="",
                   help="also time ours with these runs sorted at once, e.g. 1,2,4,8,16")
    p.add_argument("--seed", type=int, default=20240611)
    p.add_argument("--small-files", type=int, default=20000)
    p.add_argument("--small-max", type=int, default=12288,
                   help="largest small file in bytes (default %(default)s; 204800 makes "
                        "the 2.9 GB corpus of a photo archive's first scan)")
    p.add_argument("--scale", default="100,300,1000,3000",
                   help="counts of different 1 MiB files of one size for the growth check")
    p.add_argument("--keep", action="store_true", help="keep the corpus afterwards")
    p.add_argument("--before", type=Path,
                   help="also time this other build of folivar_dupes (say, of main) as 'before'")
    p.add_argument("--folivar-dupes", type=Path,
                   default=here.parent / "build-bench" / "bench" / "folivar_dupes")
    return p.parse_args()


# ---------------------------------------------------------------- the corpus

def write(path, data, size=None):
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
        if size is not None:
            f.truncate(size)  # the rest is a hole: costs no disk


def flipped(data, at):
    return data[:at] + bytes([data[at] ^ 0xFF]) + data[at + 1:]


def make_corpus(root, seed, small_files, small_max):
    rng = random.Random(seed)
    header = rng.randbytes(256)
    sizes = [rng.randint(64, small_max) for _ in range(2500)]
    originals = []
    copies = small_files * 3 // 10
    for i in range(small_files - copies):
        size = rng.choice(sizes)
        # half of them start alike, as files of one format do
        data = (header + rng.randbytes(max(0, size - 256)))[:size] if i % 2 else rng.randbytes(size)
        path = root / "small" / f"d{i % 200:03}" / f"f{i:05}.bin"
        write(path, data)
        originals.append(path)
    for i in range(copies):
        path = root / "small" / f"d{rng.randrange(200):03}" / f"copy{i:05}.bin"
        path.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(rng.choice(originals), path)
    make_one_size(root / "onesize", 500, rng)
    for size in (8 * MIB, 16 * MIB):
        for where, at in (("last", size - 1), ("middle", size // 2)):
            data = rng.randbytes(size)
            write(root / "pairs" / f"{size // MIB}m-{where}-a", data)
            write(root / "pairs" / f"{size // MIB}m-{where}-b", flipped(data, at))
    data = rng.randbytes(64 * MIB)
    for i in range(3):
        write(root / "big" / f"copy{i}", data)
    for name in ("solo", "shared"):
        write(root / "links" / name, rng.randbytes(100 * 1024))
        os.link(root / "links" / name, root / "links" / f"{name}-link")
    shutil.copyfile(root / "links" / "shared", root / "links" / "shared-copy")
    for i in range(3):
        write(root / "empty" / f"e{i}", b"")


def make_one_size(folder, count, rng):
    """count different files of 1 MiB: 16 KiB of their own, then a hole."""
    for i in range(count):
        write(folder / f"m{i:05}", rng.randbytes(16 * 1024), MIB)


def ensure_corpus(root, seed, small_files, small_max):
    wanted = f"version {CORPUS_VERSION} seed {seed} small {small_files} up to {small_max}\n"
    stamp = root / STAMP
    if stamp.is_file() and stamp.read_text() == wanted:
        return False
    if root.exists():
        shutil.rmtree(root)
    make_corpus(root, seed, small_files, small_max)
    stamp.write_text(wanted)
    return True


# ---------------------------------------------------------------- what must be read

def regular_files(root):
    """(path, stat) of every regular file below root but the stamp."""
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            if stat.S_ISREG(st.st_mode) and name != STAMP:
                yield path, st


def common_prefix(a, b):
    if a == b:
        return len(a)
    lo, hi = 0, min(len(a), len(b))  # a[:lo] == b[:lo], a[:hi] != b[:hi]
    ma, mb = memoryview(a), memoryview(b)
    while hi - lo > 1:
        mid = (lo + hi) // 2
        if ma[:mid] == mb[:mid]:
            lo = mid
        else:
            hi = mid
    return lo


def read_bounds(root):
    """Bytes an exact method must read, counting each physical file once.

    prefix: reading files from their start, a file that shares its size with
    another must be read up to its first byte that differs from every other
    file of that size, and a file with a copy to its end.
    floor: in any order, a file with a copy is read whole and any other file
    of a shared size at least one byte.
    """
    by_size = collections.defaultdict(dict)
    for path, st in regular_files(root):
        by_size[st.st_size].setdefault((st.st_dev, st.st_ino), path)
    prefix = floor = 0
    for size, files in by_size.items():
        if size == 0 or len(files) < 2:
            continue
        data = [Path(p).read_bytes() for p in files.values()]
        order = sorted(range(len(data)), key=data.__getitem__)
        shared = [0] * len(data)
        for a, b in zip(order, order[1:]):
            common = common_prefix(data[a], data[b])
            shared[a] = max(shared[a], common)
            shared[b] = max(shared[b], common)
        prefix += sum(min(size, s + 1) for s in shared)
        floor += sum(size if s == size else 1 for s in shared)
    return prefix, floor


# ---------------------------------------------------------------- the tools

def rchar():
    with open("/proc/self/io") as f:
        for line in f:
            if line.startswith("rchar:"):
                return int(line.split()[1])
    return 0


def drop_caches():
    """Writes back what is dirty, then drops the page, dentry and inode caches."""
    os.sync()
    DROP_CACHES.write_text("3\n")


def run(argv, out_path, cold=False):
    """Wall seconds, the child's user + system seconds, and the bytes it read
    (its rchar, added to ours when it is reaped)."""
    if cold:
        drop_caches()
    err_path = out_path.with_suffix(".stderr")
    before = rchar()
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        start = time.perf_counter()
        child = subprocess.Popen(argv, stdout=out, stderr=err)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit(f"{argv[0]} exited with {code}: {err_path.read_text(errors='replace')[:500]}")
    return wall, usage.ru_utime + usage.ru_stime, rchar() - before


def blank_line_sets(path):
    sets, current = [], []
    for line in Path(path).read_text(errors="surrogateescape").splitlines():
        if line:
            current.append(line)
        elif current:
            sets.append(current)
            current = []
    if current:
        sets.append(current)
    return sets


def rdfind_sets(path):
    """rdfind lists each set as a first occurrence followed by its others."""
    sets = []
    for line in Path(path).read_text(errors="surrogateescape").splitlines():
        if line.startswith("#") or not line.strip():
            continue
        kind, *_, name = line.split(" ", 7)
        if kind == "DUPTYPE_FIRST_OCCURRENCE":
            sets.append([name])
        else:
            sets[-1].append(name)
    return sets


def contents_sets(sets):
    """The sets as physical files: hard links count once, empty files are
    left out (jdupes and rdfind skip them by default), and a set left with
    fewer than two physical files is no set of identical contents."""
    out = set()
    for paths in sets:
        inodes = set()
        for p in paths:
            st = os.stat(p)
            if st.st_size > 0:
                inodes.add((st.st_dev, st.st_ino))
        if len(inodes) >= 2:
            out.add(frozenset(inodes))
    return out




def warm(root):
    for path, _ in regular_files(root):
        with open(path, "rb") as f:
            while f.read(MIB):
                pass


def main():
    args = parse_args()
    if not args.folivar_dupes.is_file():
        sys.exit(f"missing {args.folivar_dupes}: build with -DFOLIVAR_BUILD_BENCH=ON first")
    for tool in ("jdupes", "rdfind", "fdupes"):
        if not shutil.which(tool):
            sys.exit(f"missing {tool} (scripts/setup-debian.sh installs it)")
    if args.cold and (os.geteuid() != 0 or not os.access(DROP_CACHES, os.W_OK)):
        print(f"--cold skipped: dropping the page cache needs root ({DROP_CACHES})")
        return 0
    corpus = Path(os.path.abspath(args.corpus))
    scratch = Path(tempfile.mkdtemp(prefix="dupes-bench-"))
    try:
        made = ensure_corpus(corpus, args.seed, args.small_files, args.small_max)
        return report(args, corpus, scratch, made)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
        if not args.keep:
            shutil.rmtree(corpus, ignore_errors=True)


def report(args, corpus, scratch, made):
    files = list(regular_files(corpus))
    disk = sum(st.st_blocks * 512 for _, st in files)
    prefix_bound, floor_bound = read_bounds(corpus)
    rdfind_out = scratch / "rdfind.results"
    ours = {OURS: ([str(args.folivar_dupes), str(corpus)], blank_line_sets, None)}
    for n in [int(x) for x in args.requests.split(",") if x.strip()]:
        ours[f"{OURS} -r{n}"] = ([str(args.folivar_dupes), str(corpus), "--requests", str(n)],
                                 blank_line_sets, None)
    if args.before:
        ours["before"] = ([str(args.before), str(corpus)], blank_line_sets, None)
    peers = {
        "jdupes": (["jdupes", "-r", "-q", str(corpus)], blank_line_sets, None),
        "rdfind": (["rdfind", "-outputname", str(rdfind_out), str(corpus)], rdfind_sets, rdfind_out),
        "fdupes": (["fdupes", "-r", "-q", str(corpus)], blank_line_sets, None),
    }
    if args.cold:  # the others take many times as long from a cold cache
        peers = {"jdupes": peers["jdupes"]}
    tools = dict(ours, **peers)
    names = list(tools)
    mode = "cold" if args.cold else "warm"
    if not args.cold:
        warm(corpus)
    samples = {name: [] for name in names}
    cpu = {name: [] for name in names}
    reads = {name: [] for name in names}
    reference = None
    failures = []
    for r in range(args.runs + 1):  # the first round warms up and is not counted
        for name in names[r % len(names):] + names[:r % len(names)]:
            argv, parse, result = tools[name]
            stdout = scratch / f"{name}.stdout"
            wall, used, read = run(argv, stdout, cold=args.cold and r > 0)
            found = contents_sets(parse(result or stdout))
            if reference is None:
                reference = found
            elif found != reference:
                failures.append(f"FAIL: {name} in round {r}: {len(found - reference)} sets "
                                f"more, {len(reference - found)} fewer than {OURS}")
            if r > 0:
                samples[name].append(wall)
                cpu[name].append(used)
                reads[name].append(read)

    print(f"date      {time.strftime('%Y-%m-%d %H:%M:%S %Z')}")
    print(f"machine   {cpu_model()}, {os.cpu_count()} cpus, Linux {platform.release()}, "
          f"load {os.getloadavg()[0]:.2f}")
    print(f"corpus    {corpus}{' (made now)' if made else ''}: {len(files)} files, "
          f"{sum(st.st_size for _, st in files) / MIB:.0f} MiB, {disk / MIB:.0f} MiB on disk, "
          f"{len(reference)} sets of copies")
    print(f"tools     {first_line(['jdupes', '--version'])}; {first_line(['rdfind', '-v'])}; "
          f"{first_line(['fdupes', '--version'])}")
    cache = ("page cache dropped before every run" if args.cold
             else "after one warm-up round; warm page cache")
    print(f"runs      {args.runs} per tool, interleaved, {cache}; ours: SCAN + FIND DUPL")
    print(f"must read {prefix_bound / MIB:.1f} MiB reading from the start of each file; "
          f"{floor_bound / MIB:.1f} MiB in any order")
    print()
    print(f"{'tool':<20}{'median ms':>10}{'min':>9}{'max':>9}{'cpu ms':>9}{'read MiB':>10}"
          f"{'/bound':>8}")
    medians = {}
    for name in names:
        medians[name] = statistics.median(samples[name])
        read = statistics.median(reads[name])
        print(f"{name:<20}{medians[name] * 1000:10.1f}{min(samples[name]) * 1000:9.1f}"
              f"{max(samples[name]) * 1000:9.1f}{statistics.median(cpu[name]) * 1000:9.1f}"
              f"{read / MIB:10.1f}{read / prefix_bound:8.2f}")
    print()
    for mine in ours:
        label = "ours" + mine[len(OURS):] if mine.startswith(OURS) else mine
        for peer in peers:
            ratio = medians[mine] / medians[peer]
            goal = ""
            if peer == "jdupes":
                goal = f"   goal <= {GOALS[mode]:.2f}"
                if mine == OURS:
                    goal += " met" if ratio <= GOALS[mode] else " MISSED"
            print(f"{label + '/' + peer:<24}{ratio:6.2f}{goal}")
    ours_read = statistics.median(reads[OURS]) / prefix_bound
    print(f"{'ours read':<24}{ours_read:6.2f} x the bound   goal <= 1.10 "
          + ("met" if ours_read <= 1.1 else "MISSED"))
    if f"{OURS} -r1" in ours:
        single = medians[f"{OURS} -r1"]
        print(f"{'speed-up over -r1':<24}" + "  ".join(
            f"{name[len(OURS) + 1:]} {single / medians[name]:.2f}" for name in ours
            if name.startswith(OURS + " ")))
    if args.before:
        print(f"{'ours/before':<24}{medians[OURS] / medians['before']:6.2f}")
    print("sets      " + ("every run of every tool finds the same sets of identical contents"
                          if not failures else "\n".join(dict.fromkeys(failures))))

    if not args.cold:
        print()
        print(f"{'one size':<14}{'files':>6}{'median ms':>11}{'us/file':>9}{'read KiB':>10}")
        rng = random.Random(args.seed + 1)
        for count in (int(c) for c in args.scale.split(",")):
            folder = scratch / f"onesize-{count}"
            make_one_size(folder, count, rng)
            warm(folder)
            runs = [run([str(args.folivar_dupes), str(folder)], scratch / "scale.out")
                    for _ in range(3)]
            wall = statistics.median(w for w, _, _ in runs)
            read = statistics.median(r for _, _, r in runs)
            print(f"{OURS:<14}{count:6}{wall * 1000:11.1f}{wall * 1e6 / count:9.0f}"
                  f"{read / 1024:10.0f}")
            shutil.rmtree(folder)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
