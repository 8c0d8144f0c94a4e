#!/usr/bin/env python3
"""Times SCAN + FIND DUPL + LINK DUPL against jdupes -B and duperemove on btrfs.

Puts the duplicate corpus of dupes_bench.py on a btrfs image once (the
pristine image). Every run gets a fresh copy of that image on a loop device,
so each tool finds every copy still holding its own data; the copy is made,
mounted and (warm) read through before the clock starts. Times the whole run
of each tool (its walk, its search, its sharing), and measures the space each
gave back with `btrfs filesystem du`: the data extents the corpus referenced
before the run less those it references after. Needs root. See README.md.
"""

import argparse
import hashlib
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from benchinfo import cpu_model, first_line
from dupes_bench import DROP_CACHES, MIB, make_corpus, regular_files

OURS = "folivar_linkdupl"
IMAGE_VERSION = "1"
GOAL = 0.6  # ours / jdupes -B at most, whole run against whole run


def parse_args():
    here = Path(__file__).resolve().parent
    scratch = Path(os.environ.get("TMPDIR", "/tmp"))
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--image", type=Path, default=scratch / "folivar-linkdupl-corpus.img",
                   help="the pristine btrfs image, made if missing (default: %(default)s)")
    p.add_argument("--runs", type=int, default=3, help="timed runs per tool (default 3)")
    p.add_argument("--cold", action="store_true",
                   help="drop the page cache before every run instead of reading it all first")
    p.add_argument("--seed", type=int, default=20240611)
    p.add_argument("--small-files", type=int, default=20000)
    p.add_argument("--small-max", type=int, default=204800,
                   help="largest small file (default %(default)s: the 2.9 GB corpus)")
    p.add_argument("--keep", action="store_true", help="keep the pristine image afterwards")
    p.add_argument("--folivar-linkdupl", type=Path,
                   default=here.parent / "build-bench" / "bench" / "folivar_linkdupl")
    return p.parse_args()


def sh(*argv):
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL)


def hashes(root):
    """Every regular file's contents hashed, by path relative to root."""
    out = {}
    for path, _ in regular_files(root):
        digest = hashlib.blake2b(digest_size=16)
        with open(path, "rb") as f:
            while chunk := f.read(4 * MIB):
                digest.update(chunk)
        out[os.path.relpath(path, root)] = digest.hexdigest()
    return out


def ensure_image(args, mnt):
    stamp = args.image.with_suffix(".stamp")
    wanted = (f"version {IMAGE_VERSION} seed {args.seed} small {args.small_files} "
              f"up to {args.small_max}\n")
    if args.image.is_file() and stamp.is_file() and stamp.read_text() == wanted:
        return False
    args.image.unlink(missing_ok=True)
    with open(args.image, "wb") as f:
        f.truncate(8 << 30)  # sparse
    sh("mkfs.btrfs", "-q", "-f", str(args.image))
    sh("mount", "-o", "loop", str(args.image), str(mnt))
    try:
        make_corpus(mnt / "corpus", args.seed, args.small_files, args.small_max)
        os.sync()
    finally:
        sh("umount", str(mnt))
    stamp.write_text(wanted)
    return True


def data_in_use(corpus):
    """Bytes of data extents the files below corpus reference, each extent once."""
    out = subprocess.run(["btrfs", "filesystem", "du", "-s", "--raw", str(corpus)],
                         check=True, capture_output=True, text=True).stdout.splitlines()
    _, exclusive, shared, _ = out[-1].split(None, 3)
    return int(exclusive) + int(shared)


def one_run(args, name, argv, work, mnt, reference):
    """Wall and cpu seconds of one run on a fresh copy, the bytes it gave back,
    and what it printed; checks every file afterwards when reference is given."""
    sh("cp", "--sparse=always", str(args.image), str(work))
    sh("mount", "-o", "loop", str(work), str(mnt))
    try:
        corpus = mnt / "corpus"
        before = data_in_use(corpus)
        if args.cold:
            os.sync()
            DROP_CACHES.write_text("3\n")
        else:
            for path, _ in regular_files(corpus):
                with open(path, "rb") as f:
                    while f.read(4 * MIB):
                        pass
        start = time.perf_counter()
        child = subprocess.Popen([a.replace("{}", str(corpus)) for a in argv],
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        output = child.stdout.read()
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"{name} failed: {output.decode(errors='replace')[-500:]}")
        os.sync()
        sh("btrfs", "filesystem", "sync", str(mnt))
        reclaimed = before - data_in_use(corpus)
        if reference is not None and hashes(corpus) != reference:
            sys.exit(f"FAIL: after {name} some file no longer reads what it read")
        return wall, usage.ru_utime + usage.ru_stime, reclaimed, output.decode(errors="replace")
    finally:
        sh("umount", str(mnt))
        work.unlink()


def main():
    args = parse_args()
    if os.geteuid() != 0:
        print("skipped: mounting loop devices needs root")
        return 0
    if not args.folivar_linkdupl.is_file():
        sys.exit(f"missing {args.folivar_linkdupl}: build with -DFOLIVAR_BUILD_BENCH=ON first")
    for tool in ("mkfs.btrfs", "btrfs", "jdupes"):
        if not shutil.which(tool):
            sys.exit(f"missing {tool} (scripts/setup-debian.sh installs it)")
    tools = {
        OURS: [str(args.folivar_linkdupl.resolve()), "{}"],
        "jdupes -B": ["jdupes", "-r", "-q", "-B", "{}"],
    }
    if shutil.which("duperemove"):
        tools["duperemove"] = ["duperemove", "-d", "-r", "-q", "{}"]
    scratch = Path(tempfile.mkdtemp(prefix="linkdupl-bench-", dir=args.image.parent))
    mnt = scratch / "mnt"
    mnt.mkdir()
    work = scratch / "work.img"
    try:
        made = ensure_image(args, mnt)
        sh("mount", "-o", "loop,ro", str(args.image), str(mnt))
        try:
            corpus = mnt / "corpus"
            files = list(regular_files(corpus))
            size = sum(st.st_size for _, st in files)
            reference = hashes(corpus)
        finally:
            sh("umount", str(mnt))
        names = list(tools)
        walls = {n: [] for n in names}
        cpus = {n: [] for n in names}
        given = {n: [] for n in names}
        said = {}
        phases = {"search ms": [], "link ms": []}
        for r in range(args.runs + 1):  # the first round checks every file and is not counted
            for name in names[r % len(names):] + names[:r % len(names)]:
                wall, cpu, reclaimed, output = one_run(args, name, tools[name], work, mnt,
                                                       reference if r == 0 else None)
                if r > 0:
                    walls[name].append(wall)
                    cpus[name].append(cpu)
                    given[name].append(reclaimed)
                if name == OURS:
                    said[name] = output.strip().splitlines()
                    for line in said[name]:
                        for phase, samples in phases.items():
                            if r > 0 and line.startswith(phase):
                                samples.append(float(line.split()[-1]))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
        if not args.keep:
            args.image.unlink(missing_ok=True)
            args.image.with_suffix(".stamp").unlink(missing_ok=True)

    mode = "page cache dropped before every run" if args.cold else "corpus read through first"
    print(f"date      {time.strftime('%Y-%m-%d %H:%M:%S %Z')}")
    print(f"machine   {cpu_model()}, {os.cpu_count()} cpus, Linux {platform.release()}, "
          f"load {os.getloadavg()[0]:.2f}")
    print(f"corpus    {len(files)} files, {size / MIB:.0f} MiB on a btrfs image"
          f"{' (made now)' if made else ''}")
    print(f"tools     {first_line(['jdupes', '--version'])}; "
          f"{first_line(['duperemove', '--version']) if 'duperemove' in tools else 'no duperemove'}")
    print(f"runs      {args.runs} per tool, interleaved, each on a fresh copy of the image, {mode}")
    print(f"ours      {said[OURS][0] if said.get(OURS) else '?'}")
    print()
    print(f"{'tool':<18}{'median ms':>10}{'min':>9}{'max':>9}{'cpu ms':>9}{'reclaimed MiB':>15}")
    medians = {}
    for name in names:
        medians[name] = statistics.median(walls[name])
        print(f"{name:<18}{medians[name] * 1000:10.1f}{min(walls[name]) * 1000:9.1f}"
              f"{max(walls[name]) * 1000:9.1f}{statistics.median(cpus[name]) * 1000:9.1f}"
              f"{statistics.median(given[name]) / MIB:15.1f}")
    print()
    ratio = medians[OURS] / medians["jdupes -B"]
    ours_given = statistics.median(given[OURS])
    peer_given = statistics.median(given["jdupes -B"])
    print(f"{'ours/jdupes -B':<24}{ratio:6.2f}   goal <= {GOAL:.2f} "
          + ("met" if ratio <= GOAL else "MISSED"))
    print(f"{'ours: search, sharing':<24}{statistics.median(phases['search ms']):.1f} ms + "
          f"{statistics.median(phases['link ms']):.1f} ms (medians)")
    print(f"{'reclaimed ours/jdupes':<24}{ours_given / peer_given if peer_given else 0:6.2f}")
    if "duperemove" in tools:
        print(f"{'ours/duperemove':<24}{medians[OURS] / medians['duperemove']:6.2f}")
    print("contents  every file reads what it read after the first run of every tool")
    return 0


if __name__ == "__main__":
    sys.exit(main())
