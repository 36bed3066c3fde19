#!/usr/bin/env bash
# Loads the Windows DLLs the way a Windows host does, under Wine: runs the host-level checks
# against each, renders the parity set with all three builds and compares them, and checks
# what the DLLs import. Expects the linux, win32 and win64 presets to be built.
set -euo pipefail
cd "$(dirname "$0")/.."

export WINEPREFIX="$PWD/build/wine-prefix"
export WINEDEBUG=-all
# No .NET or HTML engine: Wine would otherwise offer to install them when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64

now() { date +%s%3N; } # milliseconds
elapsed() {
  local ms=$(($(now) - $1))
  printf '%d.%d s' $((ms / 1000)) $((ms % 1000 / 100))
}

start=$(now)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # The prefix is made once per build tree, not once per test.
  wineboot --init > /dev/null 2>&1
  wineserver --wait
fi
echo "== wine prefix ready ($(elapsed "$start"))"

for arch in win32 win64; do
  step=$(now)
  runner=$wine32
  [ "$arch" = win64 ] && runner=$wine64
  echo "== host-level checks, $arch DLL under $(basename "$runner")"
  "$runner" "build/$arch/conformance/quillory_conformance.exe"
  echo "== $arch checks done ($(elapsed "$step"))"
done

step=$(now)
rm -rf build/parity
mkdir -p build/parity/linux build/parity/win32 build/parity/win64
build/linux/conformance/quillory_conformance render build/linux/plugin/QuilloryChorus.so build/parity/linux
"$wine32" build/win32/conformance/quillory_conformance.exe render QuilloryChorus.dll build/parity/win32
"$wine64" build/win64/conformance/quillory_conformance.exe render QuilloryChorus.dll build/parity/win64
for arch in win32 win64; do
  echo "== parity: Linux against $arch"
  build/linux/conformance/quillory_conformance compare build/parity/linux "build/parity/$arch"
done
echo "== parity done ($(elapsed "$step"))"

bash scripts/check-windows-dlls.sh build/win32/plugin/QuilloryChorus.dll build/win64/plugin/QuilloryChorus.dll
wineserver --kill || true
echo "== Windows checks done in $(elapsed "$start")"
