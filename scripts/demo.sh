#!/usr/bin/env bash
# The main job: builds the plug-in and the command-line host, then runs the demo: a short
# synthesised piece rendered through every program of the plug-in into demo-out/, with the
# level of each result.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target quillory
build/linux/host/quillory demo "$@"
