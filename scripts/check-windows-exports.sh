#!/usr/bin/env bash
# Fails unless each given DLL exports exactly VSTPluginMain and main.
set -euo pipefail
for dll in "$@"; do
  exports=$(objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
            | awk 'NR > 1 && NF { print $NF }' | sort | tr '\n' ' ')
  if [ "$exports" != "VSTPluginMain main " ]; then
    echo "unexpected exports of $dll: $exports" >&2
    exit 1
  fi
  echo "$dll exports: $exports"
done
