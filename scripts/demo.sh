#!/usr/bin/env bash
# The main job: builds the plug-in and the command-line host, then shows what a host sees.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target quillory
build/linux/host/quillory info
