#!/usr/bin/env bash
# Runs a command against a virtual X server of its own:
#
#   with-xvfb.sh [--depth 16|24] COMMAND...
#
# The server (1024 x 768, 24 bits unless --depth says otherwise) picks a free display number
# itself, so runs at the same time on one machine never collide; it stops when the command
# ends, and the command's exit status is the script's.
set -euo pipefail
depth=24
if [ "${1:-}" = "--depth" ]; then
  depth=$2
  shift 2
fi
workdir=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2> /dev/null || true
    wait "$server" 2> /dev/null || true
  fi
  rm -rf "$workdir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "1024x768x$depth" -nolisten tcp -noreset \
  3> "$workdir/display" > "$workdir/log" 2>&1 &
server=$!
for _ in $(seq 1 200); do
  if [ -s "$workdir/display" ]; then
    break
  fi
  if ! kill -0 "$server" 2> /dev/null; then
    echo "with-xvfb: Xvfb did not start:" >&2
    cat "$workdir/log" >&2
    exit 1
  fi
  sleep 0.05
done
if [ ! -s "$workdir/display" ]; then
  echo "with-xvfb: Xvfb named no display within 10 s" >&2
  exit 1
fi
DISPLAY=":$(head -n 1 "$workdir/display")" "$@"
