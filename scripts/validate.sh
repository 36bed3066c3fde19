#!/usr/bin/env bash
# `quillory validate --level 10` on the Linux plug-in, plain and AddressSanitizer builds
# (the Windows DLLs are validated in test-windows.sh), then on the third-party plug-ins the
# tests host, whose failures are reported but do not fail the run. Expects the linux and
# asan presets to be built.
#
# Our editor checks run on a virtual display.

source "$(dirname "$0")/lib/steps.sh"
source "$(dirname "$0")/lib/validate-ours.sh"
cd "$QUILLORY_ROOT"

in_display() { xvfb-run -a -s "-screen 0 1024x768x24" "$@"; }

for preset in linux asan; do
  began=$(now_ms)
  step "validate the $preset build at level 10"
  validate_ours "$preset" in_display "build/$preset/host/quillory" validate --level 10
  echo "   done ($(elapsed_since "$began"))"
done

step "validate third-party plug-ins (their failures do not fail this run)"
for plugin in /usr/lib/vst/ZynChorus.so /usr/lib/vst/lsp-plugins/compressor-stereo.so; do
  if [ ! -f "$plugin" ]; then
    skip_note "third-party validation of $plugin: not installed"
    continue
  fi
  name=$(basename "$plugin" .so)
  log="$QUILLORY_LOGS/validate-$name.log"
  began=$(now_ms)
  status=0
  in_display build/linux/host/quillory validate --plugin "$plugin" --level 10 > "$log" 2>&1 ||
    status=$?
  failed=$(grep -c '^FAIL ' "$log" || true)
  echo "   $name: $failed check(s) failing, exit status $status ($(elapsed_since "$began"));" \
       "details in $log"
  # Each failure as "check: what was seen", long enough to say what was seen.
  grep '^FAIL ' "$log" | sed -E 's/^FAIL  ([^ ]+) +[0-9.]+ s  /     \1: /' | cut -c1-200 || true
done
