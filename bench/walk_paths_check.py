#!/usr/bin/env python3
"""Checks that a scan of a real tree lists every regular file that bfs lists,
under the same path.

Runs folivar_walk ROOT --mask '*' (the search component as a scan sets it up,
regular files only) and `bfs ROOT -type f`, then compares the paths:
- every path bfs lists must be a row, and no row may repeat;
- a row bfs does not list must be explained: a symbolic link to a regular file
  (bfs -type f does not follow links; the scan does), or a file reached through
  a link that leads out of ROOT (followed once, by design).
Exit status 1 when something is missing, repeated or unexplained.
"""

import argparse
import os
import shutil
import subprocess
import sys
from pathlib import Path


def parse_args():
    here = Path(__file__).resolve().parent
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("root", nargs="?", default="/usr", help="tree to scan (default: %(default)s)")
    p.add_argument("--folivar-walk", type=Path,
                   default=here.parent / "build-bench" / "bench" / "folivar_walk")
    p.add_argument("--bfs", default=shutil.which("bfs") or "bfs")
    return p.parse_args()


def scan_rows(walker, root):
    out = subprocess.run([str(walker), root, "--mask", "*"], capture_output=True, check=False)
    if out.returncode not in (0, 1):  # 1: some folder could not be listed
        sys.exit(f"folivar_walk failed: {out.stderr.decode(errors='replace').strip()}")
    # "<path> <size> <date> <time>": the path is all but the last three fields.
    return [line.rsplit(b" ", 3)[0] for line in out.stdout.splitlines()]


def bfs_files(bfs, root):
    out = subprocess.run([bfs, root, "-type", "f", "-print0"], capture_output=True, check=False)
    return [p for p in out.stdout.split(b"\0") if p]


def leads_out(path, root):
    """The first folder of path below root that is a link leading out of root."""
    real_root = os.path.realpath(root)
    parts = os.path.relpath(path, root).split(os.sep)[:-1]
    folder = root
    for part in parts:
        folder = os.path.join(folder, part)
        if os.path.islink(folder):
            target = os.path.realpath(folder)
            inside = target == real_root or target.startswith(real_root.rstrip("/") + "/")
            return None if inside else folder
    return None


def main():
    args = parse_args()
    if not args.folivar_walk.is_file():
        sys.exit(f"missing {args.folivar_walk}: build with -DFOLIVAR_BUILD_BENCH=ON first")
    root = os.path.normpath(os.path.abspath(args.root))
    rows = scan_rows(args.folivar_walk, root)
    theirs = bfs_files(args.bfs, root)
    if any(b"\n" in p for p in theirs):
        print("note: names holding a line break cannot be compared; they are left out")
        theirs = [p for p in theirs if b"\n" not in p]

    ours = set(rows)
    repeated = len(rows) - len(ours)
    missing = sorted(set(theirs) - ours)
    extra = sorted(ours - set(theirs))
    links_to_files, through_links, unexplained = 0, {}, []
    for raw in extra:
        path = os.fsdecode(raw)
        if os.path.islink(path) and os.path.isfile(path):
            links_to_files += 1
            continue
        route = leads_out(path, root)
        if route is None:
            unexplained.append(path)
        else:
            through_links[route] = through_links.get(route, 0) + 1

    print(f"scan of {root}: {len(rows)} rows; bfs -type f: {len(theirs)} files")
    print(f"  every bfs file a row under the same path: "
          f"{'yes' if not missing else f'NO, {len(missing)} missing'}")
    print(f"  rows repeated: {repeated}")
    print(f"  rows bfs does not list: {len(extra)} = {links_to_files} links to regular files"
          f" + {sum(through_links.values())} through {len(through_links)} links leading out"
          f" + {len(unexplained)} unexplained")
    for route, count in sorted(through_links.items()):
        print(f"    {route} -> {os.path.realpath(route)}: {count}")
    for label, paths in (("missing", missing), ("unexplained", unexplained)):
        for p in paths[:10]:
            print(f"  {label}: {os.fsdecode(p) if isinstance(p, bytes) else p}")
    ok = not missing and not repeated and not unexplained
    print("check: " + ("passed" if ok else "FAILED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
