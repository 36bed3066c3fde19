#!/usr/bin/env bash
# Builds every target (Linux, sanitizer builds, both Windows DLLs) and runs all tests,
# the Windows ones under Wine. Ends with a summary that repeats anything skipped.
source "$(dirname "$0")/lib/steps.sh"
cd "$QUILLORY_ROOT"
rm -f "$QUILLORY_SKIPPED"
started=$(now_ms)

step "install packages"
bash scripts/setup.sh test

for preset in linux asan ubsan tsan win32 win64; do
  step "build $preset"
  quiet "configure-$preset" cmake --preset "$preset"
  cmake --build --preset "$preset"
done

# Editor checks need an X display: a virtual one.
for preset in linux asan ubsan tsan; do
  step "test $preset"
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$preset"
done

bash scripts/validate.sh

step "fuzz the bank parser"
quiet configure-fuzz cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz
quiet fuzz-bank-parser build/fuzz/bank_parser_fuzz -max_total_time=20
tail -n 1 "$QUILLORY_LOGS/fuzz-bank-parser.log"

# The dispatcher fuzz build is compiled for AVX2 and FMA throughout (see tests/fuzz).
if grep -qw avx2 /proc/cpuinfo && grep -qw fma /proc/cpuinfo; then
  step "fuzz the plug-in's dispatcher"
  mkdir -p build/fuzz/dispatcher-corpus
  quiet fuzz-dispatcher build/fuzz/dispatcher_fuzz -max_total_time=30 build/fuzz/dispatcher-corpus
  tail -n 1 "$QUILLORY_LOGS/fuzz-dispatcher.log"
else
  skip_note "dispatcher fuzzing not run: its build needs a processor with AVX2 and FMA, which this one lacks."
fi

bash scripts/test-windows.sh

step "formatting"
bash scripts/check-format.sh

echo ""
echo "== all tests passed in $(elapsed_since "$started")"
if [ -s "$QUILLORY_SKIPPED" ]; then
  echo "== but this machine skipped:"
  sed 's/^/   - /' "$QUILLORY_SKIPPED"
fi
