#!/usr/bin/env bash
# Checks that another tree can pull this one in with add_subdirectory() and link
# the engine.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
outer="$(mktemp -d)"
trap 'rm -rf "$outer"' EXIT
cat > "$outer/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.22)
project(Outer CXX)
add_subdirectory("$here" folivar)
add_executable(outer main.cpp)
target_link_libraries(outer PRIVATE folivar_engine)
CMAKE
cat > "$outer/main.cpp" <<'CPP'
#include "search/Masks.h"
int main() { return folivar::TMask("*.jpg").Matches("a.JPG") ? 0 : 1; }
CPP
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$outer" -B "$outer/build" -G Ninja -DFOLIVAR_BUILD_APP=OFF "${launcher[@]}" >/dev/null
cmake --build "$outer/build" -j "$(nproc)" >/dev/null
"$outer/build/outer"
[ ! -d "$outer/build/folivar/tests" ] || { echo "tests were built for a subproject"; exit 1; }
# The outer project installs and packages what it wants: with the window too,
# no install rule and no package of this one comes along.
cmake -S "$outer" -B "$outer/with-app" -G Ninja >/dev/null
! grep -rqs "org.mirosel.folivar\|bin/folivar\|TARGETS folivar" \
    --include=cmake_install.cmake "$outer/with-app" ||
    { echo "a subproject brought its install rules"; exit 1; }
[ ! -e "$outer/with-app/CPackConfig.cmake" ] || { echo "a subproject set up CPack"; exit 1; }
echo "add_subdirectory() use: ok"
