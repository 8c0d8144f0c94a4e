#!/usr/bin/env bash
# Builds the engine and its tests under ThreadSanitizer and runs them: the
# walk's I/O requests and the duplicate search's helpers run on threads of
# their own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLIVAR_WERROR=ON \
    -DFOLIVAR_SANITIZE_THREAD=ON -DFOLIVAR_BUILD_APP=OFF
cmake --build build-tsan -j "$(nproc)"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir build-tsan --output-on-failure -j "$(nproc)"
