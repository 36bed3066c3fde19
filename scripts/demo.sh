#!/usr/bin/env bash
# The main job: builds the plug-in and the command-line host, then runs the demo: a short
# synthesised piece rendered through every program of the plug-in into demo-out/, with the
# level of each result. Installs only what building these two needs.
source "$(dirname "$0")/lib/steps.sh"
cd "$QUILLORY_ROOT"

step "install packages"
bash scripts/setup.sh build
step "build"
quiet configure-app cmake --preset app
cmake --build --preset app
step "demo"
build/app/host/quillory demo "$@"
