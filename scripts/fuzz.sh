#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
# One seed and a bounded number of inputs per target, so a run tries the
# inputs a run on this machine tried before (or the first of them, should
# the time run out first), and a fault CI meets is met again by the same
# command. FOLIVAR_FUZZ_SEED=0 lets libFuzzer draw a seed, and
# FOLIVAR_FUZZ_RUNS=-1 lifts the bound, to look further.
seed="${FOLIVAR_FUZZ_SEED:-1}"
runs_for() {
    if [ -n "${FOLIVAR_FUZZ_RUNS:-}" ]; then
        echo "$FOLIVAR_FUZZ_RUNS"
        return
    fi
    case "$1" in
        fuzz_masks) echo 2000000 ;;
        fuzz_date_texts) echo 1000000 ;;
        *) echo 30000 ;; # the libraries read a file for each input
    esac
}
scripts/setup-debian.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFOLIVAR_WERROR=ON -DFOLIVAR_BUILD_APP=OFF -DFOLIVAR_BUILD_TESTS=OFF -DFOLIVAR_BUILD_FUZZ=ON
cmake --build build-fuzz -j "$(nproc)"
# Absolute, since each target runs inside build-fuzz.
suppressions="$PWD/fuzz/lsan.supp"
[ -r "$suppressions" ] || { echo "No leak suppressions at $suppressions"; exit 1; }
for target in build-fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    corpus="build-fuzz/corpus/$(basename "$target")"
    mkdir -p "$corpus"
    log="build-fuzz/$(basename "$target").log"
    echo "Fuzzing $(basename "$target") for ${seconds}s (log: $log)"
    # An allocation too large fails as it does outside the fuzzer (the
    # libraries that read pictures and videos meet sizes from the file).
    # Leaks inside the libraries themselves are listed in fuzz/lsan.supp.
    # MediaInfo counts through some damaged containers for up to two minutes
    # under the sanitizers; the date reading gives them up, but a read that
    # finds two of them still running waits for one to end: the timeout is
    # for a read that never ends.
    if ! (cd build-fuzz && ASAN_OPTIONS=allocator_may_return_null=1 \
        LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0" \
        "../$target" -seed="$seed" -runs="$(runs_for "$(basename "$target")")" \
        -max_total_time="$seconds" -timeout=300 -rss_limit_mb=2048 \
        -print_final_stats=1 "../$corpus" ../fuzz/corpus/"$(basename "$target")") >"$log" 2>&1; then
        tail -n 80 "$log"
        echo "Fuzzing $(basename "$target") found a fault"
        exit 1
    fi
    tail -n 8 "$log"
done
