# Shared by the build and test scripts: named steps whose failures say what failed, logs for
# quiet commands, and notes of what a run skipped. Source it; it sets `set -euo pipefail`.
set -euo pipefail

QUILLORY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
QUILLORY_LOGS="$QUILLORY_ROOT/build/logs"
QUILLORY_SKIPPED="$QUILLORY_LOGS/skipped.txt"
mkdir -p "$QUILLORY_LOGS"

# The step under way, named in the failure message of anything that fails inside it.
current_step="(start)"

# Any command that fails outside `quiet` still names itself and its step before the script
# exits, so that no run ends in a silent non-zero status.
on_error() {
  local status=$1 line=$2 command=$3
  echo "" >&2
  echo "FAILED: step \"$current_step\": \`$command\` exited with status $status" \
       "(${0##*/} line $line)" >&2
}
trap 'on_error $? $LINENO "$BASH_COMMAND"' ERR
set -o errtrace

# step NAME: announces a step; failures from here on are reported under its name.
step() {
  current_step=$1
  echo "== $1"
}

# quiet NAME COMMAND...: runs COMMAND with its output in build/logs/NAME.log; on failure
# prints the end of the log and where the whole of it is, then fails.
quiet() {
  local name=$1
  shift
  local log="$QUILLORY_LOGS/$name.log"
  local status=0
  "$@" > "$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAILED: step \"$current_step\": \`$*\` exited with status $status; its output:" >&2
    tail -n 40 "$log" | sed 's/^/    /' >&2
    echo "    (whole output in $log)" >&2
    trap - ERR
    exit "$status"
  fi
}

# skip_note TEXT: says loudly what was skipped and keeps it for the run's closing summary.
skip_note() {
  echo "SKIPPED: $1"
  echo "$1" >> "$QUILLORY_SKIPPED"
}

# Milliseconds, and the time since a start given in them, for progress lines.
now_ms() { date +%s%3N; }
elapsed_since() {
  local ms=$(($(now_ms) - $1))
  printf '%d.%d s' $((ms / 1000)) $((ms % 1000 / 100))
}
