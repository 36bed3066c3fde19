#!/usr/bin/env bash
# Builds every target (Linux, sanitizer builds, both Windows DLLs) and runs all tests.
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

bash scripts/check-windows-exports.sh build/win32/plugin/QuilloryChorus.dll build/win64/plugin/QuilloryChorus.dll
bash scripts/check-format.sh
