#!/usr/bin/env bash
# Builds Discweaver and runs the whole test suite: once as built for use, once more
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

scripts/setup.sh
# The desktop program's tests drive real windows on Qt's offscreen platform: no display.
export QT_QPA_PLATFORM=offscreen

echo "== build and test (build/)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDW_BUILD_UI=ON -DDW_BUILD_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure --repeat until-pass:2 -j "$jobs")

echo "== build and test under ASan + UBSan (build-asan/)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDW_SANITIZE=ON -DDW_BUILD_UI=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure --repeat until-pass:2 -j "$jobs")

if [[ -n "$(ls fuzz/*.cpp 2>/dev/null)" ]]; then
  echo "== fuzz smoke run (build-fuzz/)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DDW_BUILD_FUZZ=ON -DDW_BUILD_TESTS=OFF -DDW_BUILD_UI=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs"
  scripts/fuzz-smoke.sh build-fuzz 20
fi
