#!/usr/bin/env bash
# Builds every target (Linux, sanitizer builds, both Windows DLLs) and runs all tests,
# the Windows ones under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

for preset in linux asan ubsan tsan win32 win64; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

for preset in linux asan ubsan tsan; do
  echo "== test $preset"
  ctest --preset "$preset"
done

echo "== fuzz the bank parser"
cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz
build/fuzz/bank_parser_fuzz -max_total_time=20 > build/fuzz/fuzz.log 2>&1 || {
  tail -n 30 build/fuzz/fuzz.log
  exit 1
}
tail -n 1 build/fuzz/fuzz.log

bash scripts/test-windows.sh
bash scripts/check-format.sh
