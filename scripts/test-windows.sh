#!/usr/bin/env bash
# Loads the Windows DLLs the way a Windows host does, under Wine: runs the host-level checks
# against each, renders the parity set with all three builds and compares them, runs the GUI
# back end's tests and the editor with real mouse input on a virtual display, and checks what
# the DLLs import. Expects the linux, win32 and win64 presets to be built.
#
# On a machine that cannot run 32-bit x86 programs, 32-bit Wine cannot start: the prefix is
# then made with 64-bit Wine and every run of the 32-bit DLL is skipped, loudly. The import
# and export checks, which only read the files, still cover both DLLs.
#
# Both DLLs are validated at level 10 with the Windows build of the validator, whose own
# Windows paths (child processes, import-table counting, the host's window) are proven on
# fixture DLLs first.
#
# Our editor checks run where the DLL has a window-system back end, as in validate.sh.

source "$(dirname "$0")/lib/steps.sh"
source "$(dirname "$0")/lib/can-run-32bit.sh"
source "$(dirname "$0")/lib/validate-ours.sh"
cd "$QUILLORY_ROOT"

export WINEPREFIX="$PWD/build/wine-prefix"
export WINEDEBUG=-all
# No .NET or HTML engine: Wine would otherwise offer to install them when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64

arches=(win64)
if can_run_32bit; then
  arches=(win32 win64)
else
  skip_note "32-bit Windows DLL not run under Wine (host-level checks, level-10 validation, parity render, GUI back-end tests and the editor with real input): $(no_32bit_reason). It is still built, and its imports and exports are checked."
fi
runner_for() {
  if [ "$1" = win32 ]; then echo "$wine32"; else echo "$wine64"; fi
}

start=$(now_ms)
step "wine prefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # The prefix is made once per build tree, not once per test. 64-bit Wine makes it when
  # 32-bit Wine cannot run; it then serves the 64-bit DLL alone.
  if [[ " ${arches[*]} " == *" win32 "* ]]; then
    quiet wineboot wineboot --init
  else
    quiet wineboot "$wine64" wineboot --init
  fi
  quiet wineserver-wait wineserver --wait
fi
echo "   ready ($(elapsed_since "$start"))"

for arch in "${arches[@]}"; do
  began=$(now_ms)
  runner=$(runner_for "$arch")
  step "host-level checks, $arch DLL under $(basename "$runner")"
  "$runner" "build/$arch/conformance/quillory_conformance.exe"
  echo "   $arch checks done ($(elapsed_since "$began"))"
done

# in_display COMMAND...: runs a Wine command on a virtual X display. Wine's server and
# desktop outlive their programs for a while, and a desktop started without a display
# makes no windows: they are stopped before the command (so that it starts them on the
# display) and again after it (before the display goes away).
in_display() {
  xvfb-run -a -s "-screen 0 1024x768x24" \
    sh -c 'wineserver -k 2> /dev/null; "$@"; status=$?; wineserver -k; exit $status' sh "$@"
}

# validator_expects FIXTURE CHECK OUTCOME PATTERN [OPTION...]: the Windows validator gives
# OUTCOME (PASS or FAIL) for CHECK (a check or a family) on a fixture DLL, on a line matching
# PATTERN, and a PASS comes with no failure at all.
validator_expects() {
  local fixture=$1 check=$2 outcome=$3 pattern=$4 output status=0
  shift 4
  output=$(in_display "$wine64" build/win64/conformance/quillory_validate.exe --level 10 "$@" \
    --plugin "build/win64/conformance/validate-fixtures/$fixture.dll" --check "$check" 2>&1) ||
    status=$?
  if ! grep -Eq "^$outcome  $check[^ ]* .*$pattern" <<< "$output" ||
    { [ "$outcome" = PASS ] && grep -q '^FAIL' <<< "$output"; }; then
    echo "FAILED: the Windows validator did not give $outcome for $check on the $fixture" \
         "fixture:" >&2
    echo "$output" >&2
    return 1
  fi
  echo "   $fixture: $check $outcome as expected"
}

began=$(now_ms)
step "Windows validator on its fixtures"
validator_expects none editor PASS ""
validator_expects none realtime.no-alloc-lock-block PASS ""
validator_expects allocates_and_locks realtime.no-alloc-lock-block FAIL "[1-9][0-9]* allocator calls"
validator_expects editor_no_window editor.open-close FAIL "answered 0 and put no window"
validator_expects crash_second_instance open.warm FAIL "crashed: signal 11 \\(access violation\\)"
validator_expects hangs process.suspend-resume FAIL "hung: no result" --time-scale 0.05
echo "   done ($(elapsed_since "$began"))"

for arch in "${arches[@]}"; do
  began=$(now_ms)
  runner=$(runner_for "$arch")
  step "validate the $arch DLL at level 10 under $(basename "$runner")"
  validate_ours "$arch" in_display "$runner" "build/$arch/conformance/quillory_validate.exe" \
    --level 10
  echo "   done ($(elapsed_since "$began"))"
done

began=$(now_ms)
step "parity renders"
rm -rf build/parity
mkdir -p build/parity/linux
build/linux/conformance/quillory_conformance render build/linux/plugin/QuilloryChorus.so \
  build/parity/linux
for arch in "${arches[@]}"; do
  mkdir -p "build/parity/$arch"
  "$(runner_for "$arch")" "build/$arch/conformance/quillory_conformance.exe" render \
    QuilloryChorus.dll "build/parity/$arch"
done
for arch in "${arches[@]}"; do
  step "parity: Linux against $arch"
  build/linux/conformance/quillory_conformance compare build/parity/linux "build/parity/$arch"
done
echo "   parity done ($(elapsed_since "$began"))"

# The GUI back end's tests open windows, so Wine needs an X display: a virtual one, and a
# Wine started on it (one already running without a display cannot open windows). Each run
# also writes the reference scene as its window showed it, compared with the headless one.
wineserver --kill 2> /dev/null || true
wineserver --wait 2> /dev/null || true
rm -rf build/gui-scene
mkdir -p build/gui-scene
for arch in "${arches[@]}"; do
  began=$(now_ms)
  runner=$(runner_for "$arch")
  step "GUI back end, $arch, under $(basename "$runner") on a virtual display"
  quiet "gui-$arch" timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    '"$1" "$2" && "$1" "$2" scene "$3"; status=$?; wineserver --kill; exit $status' _ \
    "$runner" "build/$arch/conformance/gui/quillory_gui_win32_tests.exe" "build/gui-scene/$arch.bmp"
  grep -E '^\[  PASSED  \]' "$QUILLORY_LOGS/gui-$arch.log" | sed 's/^/   /'
  step "GUI reference scene: $arch window against the headless rendering"
  build/linux/tests/quillory_scene_compare "build/gui-scene/$arch.bmp"
  echo "   $arch GUI done ($(elapsed_since "$began"))"
done

# The editor in a Windows host, driven with the real mouse from the X side; its pictures are
# compared with the headless editor's.
for arch in "${arches[@]}"; do
  began=$(now_ms)
  runner=$(runner_for "$arch")
  step "editor, $arch DLL under $(basename "$runner"): a drag and a popup pick with real input"
  timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    '"$@"; status=$?; wineserver --kill; exit $status' _ bash scripts/wine-editor-test.sh \
    "$runner" "build/$arch/conformance/editor/quillory_editor_host.exe" "build/wine-editor/$arch"
  echo "   $arch editor done ($(elapsed_since "$began"))"
done

step "DLL imports and exports"
bash scripts/check-windows-dlls.sh build/win32/plugin/QuilloryChorus.dll \
  build/win64/plugin/QuilloryChorus.dll
wineserver --kill 2> /dev/null || true
echo "== Windows checks done in $(elapsed_since "$start")"
