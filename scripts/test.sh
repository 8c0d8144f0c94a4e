#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything with warnings as errors
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
if git grep -nE '^(<<<<<<<|>>>>>>>) ' -- . >/dev/null 2>&1; then
    git grep -nE '^(<<<<<<<|>>>>>>>) ' -- .
    echo "Merge conflict markers are left in the tree"
    exit 1
fi
leftovers=$(git ls-files -- '*.orig' '*.rej' '*__pycache__*')
if [ -n "$leftovers" ]; then
    echo "$leftovers"
    echo "Files a tool left behind are tracked"
    exit 1
fi
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLIVAR_WERROR=ON
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)"
