#!/usr/bin/env python3
"""Times the list commands on a 200,000-row list against shuf, awk and rm.

One list of "<size>\\t<path>" lines names files in a scratch folder. Shuffle
runs against `shuf`, sum against `awk`, delete files against `xargs rm` (the
files are made again, untimed, before every delete run). The tools run
--runs times each, interleaved, and every run's result is checked. See README.md.
"""

import argparse
import os
import platform
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from benchinfo import first_line

OURS = "folivar_listcmds"


def parse_args():
    here = Path(__file__).resolve().parent
    default_build = here.parent / "build-bench" / "bench"
    scratch = Path(os.environ.get("TMPDIR", "/tmp"))
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--dir", type=Path, default=scratch / "folivar-list-bench",
                   help="scratch folder, emptied first and removed after (default: %(default)s)")
    p.add_argument("--files", type=int, default=200000)
    p.add_argument("--folders", type=int, default=500)
    p.add_argument("--runs", type=int, default=5, help="timed runs per tool and command")
    p.add_argument("--folivar-listcmds", type=Path, default=default_build / OURS)
    p.add_argument("--shuf", default=shutil.which("shuf") or "shuf")
    p.add_argument("--awk", default=shutil.which("awk") or "awk")
    p.add_argument("--xargs", default=shutil.which("xargs") or "xargs")
    return p.parse_args()


def make_list(folder, files, folders):
    """Always the same list: sizes skewed towards small, a few past 4 GiB."""
    rng = random.Random(20240611)
    lines = []
    for i in range(files):
        roll = rng.random()
        if roll < 0.6:
            size = rng.randrange(0, 1 << 20)
        elif roll < 0.99:
            size = rng.randrange(1 << 20, 1 << 28)
        else:
            size = rng.randrange(1 << 32, 1 << 33)
        lines.append(f"{size}\t{folder}/d{i % folders:04d}/f{i:06d} {rng.randrange(10**6)}.jpg")
    return lines


def make_files(paths):
    for path in paths:
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb"):
            pass


def run(argv, out_path):
    """Wall time of one run in seconds, its exit code and its stderr."""
    with open(out_path, "wb") as out:
        start = time.perf_counter()
        done = subprocess.run(argv, stdout=out, stderr=subprocess.PIPE, check=False)
        wall = time.perf_counter() - start
    return wall, done.returncode, done.stderr.decode(errors="replace")



def main():
    args = parse_args()
    if not args.folivar_listcmds.is_file():
        sys.exit(f"missing {args.folivar_listcmds}: build with -DFOLIVAR_BUILD_BENCH=ON first")
    for tool in (args.shuf, args.awk, args.xargs):
        if not shutil.which(tool):
            sys.exit(f"missing {tool} (scripts/setup-debian.sh installs it)")

    root = Path(os.path.abspath(args.dir))
    shutil.rmtree(root, ignore_errors=True)
    files = root / "files"
    files.mkdir(parents=True)
    scratch = Path(tempfile.mkdtemp(prefix="list-bench-", dir=root))
    lines = make_list(str(files), args.files, args.folders)
    paths = [line.split("\t", 1)[1] for line in lines]
    listing = scratch / "list.tsv"
    listing.write_text("\n".join(lines) + "\n")
    path_list = scratch / "paths.txt"
    path_list.write_text("\n".join(paths) + "\n")
    total = sum(int(line.split("\t", 1)[0]) for line in lines)
    ours = str(args.folivar_listcmds)

    commands = {
        "shuffle": {OURS: [ours, "shuffle", str(listing)], "shuf": [args.shuf, str(listing)]},
        "sum": {OURS: [ours, "sum", str(listing)],
                "awk": [args.awk, "-F\t", '{s += $1; n++} END {printf "total %.0f %d\\n", s, n}',
                        str(listing)]},
        "delete": {OURS: [ours, "delete", str(listing)],
                   "rm": [args.xargs, "-d", "\\n", "-a", str(path_list), "rm", "-f", "--"]},
    }
    expected_lines = sorted(lines)
    failures = []

    def check(command, name, rc, err, out):
        if rc != 0:
            failures.append(f"FAIL: {name} {command} exited with {rc}: {err.strip()[:300]}")
            return
        text = out.read_text()
        if command == "shuffle":
            shown = text.splitlines()
            if sorted(shown) != expected_lines:
                failures.append(f"FAIL: {name} shuffle lost or doubled rows")
            elif shown == lines:
                failures.append(f"FAIL: {name} shuffle left the list in order")
        elif command == "sum":
            if not text.startswith(f"total {total} {len(lines)}\n"):
                failures.append(f"FAIL: {name} sum printed {text.splitlines()[:1]}, "
                                f"expected total {total} {len(lines)}")
        else:
            left = sum(len(os.listdir(d)) for d in files.iterdir())
            if left:
                failures.append(f"FAIL: {name} delete left {left} files")
            if name == OURS and text != f"0 files in list; Deleted - {len(lines)}\n":
                failures.append(f"FAIL: {name} delete status {text.strip()!r}")

    samples = {c: {n: [] for n in tools} for c, tools in commands.items()}
    inside = {c: [] for c in commands}
    for r in range(args.runs):
        for command, tools in commands.items():
            names = list(tools)
            for name in names[r % 2:] + names[:r % 2]:
                if command == "delete":
                    make_files(paths)
                    os.sync()
                out = scratch / f"{command}-{name}.out"
                wall, rc, err = run(tools[name], out)
                samples[command][name].append(wall)
                check(command, name, rc, err, out)
                if name == OURS and err.startswith("command "):
                    inside[command].append(float(err.split()[1]))

    ms = lambda s: f"{s * 1000:9.1f}"
    print(f"date      {time.strftime('%Y-%m-%d %H:%M:%S %Z')}")
    print(f"machine   {platform.processor() or platform.machine()}, {os.cpu_count()} cpus, "
          f"Linux {platform.release()}, load {os.getloadavg()[0]:.2f}")
    print(f"list      {len(lines)} rows in {args.folders} folders under {files}, "
          f"{total} bytes in all")
    print(f"tools     {first_line([args.shuf, '--version'])}; "
          f"{first_line([args.awk, '-W', 'version'])}; {first_line([args.xargs, '--version'])}")
    print(f"runs      {args.runs} per tool and command, interleaved; files made anew, "
          f"untimed, before each delete run")
    print()
    print(f"{'command':<9}{'tool':<18}{'median ms':>10}{'min':>10}{'max':>10}{'in-process':>12}")
    for command, tools in commands.items():
        for name in tools:
            walls = samples[command][name]
            own = (f"{statistics.median(inside[command]):10.1f}"
                   if name == OURS and inside[command] else "")
            print(f"{command:<9}{name:<18}{ms(statistics.median(walls)):>10}"
                  f"{ms(min(walls)):>10}{ms(max(walls)):>10}{own:>12}")
    print()
    print(f"{'ratio (medians)':<28}{'ours/peer':>10}")
    for command, tools in commands.items():
        peer = [n for n in tools if n != OURS][0]
        ratio = statistics.median(samples[command][OURS]) / statistics.median(samples[command][peer])
        print(f"{command + ': ours/' + peer:<28}{ratio:10.2f}")
    print()
    shutil.rmtree(root, ignore_errors=True)
    if failures:
        print("\n".join(dict.fromkeys(failures)))
        return 1
    print("result check: every run kept every row once, summed the same total "
          "and deleted every file")
    return 0


if __name__ == "__main__":
    sys.exit(main())
