#!/usr/bin/env bash
# Fails unless each given DLL exports exactly VSTPluginMain and main and imports nothing but
# system DLLs: a plug-in must load on a machine that has no MinGW runtime.
set -euo pipefail
allowed='^(kernel32|user32|gdi32|ole32|shell32|msvcrt)\.dll$'
for dll in "$@"; do
  exports=$(objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
            | awk 'NR > 1 && NF { print $NF }' | sort | tr '\n' ' ')
  if [ "$exports" != "VSTPluginMain main " ]; then
    echo "unexpected exports of $dll: $exports" >&2
    exit 1
  fi
  imports=$(objdump -p "$dll" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
  unexpected=$(echo "$imports" | grep -v -E "$allowed" || true)
  if [ -n "$unexpected" ]; then
    echo "$dll needs DLLs beyond the system's: $unexpected" >&2
    exit 1
  fi
  echo "$dll exports: $exports; imports: $(echo $imports)"
done
