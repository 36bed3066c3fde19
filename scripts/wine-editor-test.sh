#!/usr/bin/env bash
# The Windows editor under Wine, driven with the real mouse: opens the DLL's editor in
# quillory_editor_host, drags the Depth pad to the right and picks "4" in the taps popup
# through XTEST (xdotool), then checks what the host saw (automation, begin and end edit)
# and compares the editor's pictures, before and after, with the headless editor pixel for
# pixel outside the text areas.
#
#   wine-editor-test.sh WINE HOST.exe FOLDER
#
# Runs on an X display of its own (test-windows.sh starts it under xvfb-run) with a Wine
# started on that display. Expects build/linux to be built.
source "$(dirname "$0")/lib/steps.sh"
cd "$QUILLORY_ROOT"

runner=$1
host_program=$2
folder=$3
rm -rf "$folder"
mkdir -p "$folder"

# Frame coordinates of what the test touches: a point on the Depth pad's value display and
# one on the taps dropdown.
depth_display=(100 120)
taps_dropdown=(140 160)

# wait_for TEST SECONDS: polls `test` (a command) every tenth of a second; fails at once when
# the host has ended.
wait_for() {
  local tries=$(($2 * 10))
  until eval "$1"; do
    tries=$((tries - 1))
    if [ "$tries" -le 0 ] || ! kill -0 "$host_pid" 2> /dev/null; then
      echo "FAILED: waited for: $1; the host's output:" >&2
      tail -n 20 "$folder/host.log" >&2 || true
      return 1
    fi
    sleep 0.1
  done
}

"$runner" "$host_program" "Z:$PWD/$folder" > "$folder/host.log" 2>&1 &
host_pid=$!
# Wine starts its services on first use of a display: allow for it.
wait_for "[ -f '$folder/window.txt' ]" 90
read -r _ origin_x origin_y _ width height < "$folder/window.txt"
echo "   editor open at ($origin_x, $origin_y), $width x $height"

# A drag: press, twelve steps of five pixels at about 20 per second (the editor polls the
# mouse at each idle, about 30 times a second), release.
xdotool mousemove $((origin_x + depth_display[0])) $((origin_y + depth_display[1]))
sleep 0.1
xdotool mousedown 1
sleep 0.15
for _ in $(seq 12); do
  xdotool mousemove_relative -- 5 0
  sleep 0.05
done
sleep 0.1
xdotool mouseup 1
sleep 0.2

# A pick: a click opens the popup; the host reports where its items lie.
xdotool mousemove $((origin_x + taps_dropdown[0])) $((origin_y + taps_dropdown[1]))
sleep 0.1
xdotool click 1
wait_for "grep -q ' 4\$' '$folder/menu.txt' 2> /dev/null" 10
read -r _ _ left top right bottom _ < <(grep ' 4$' "$folder/menu.txt")
xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2))
sleep 0.15
xdotool click 1
wait_for "[ ! -f '$folder/menu.txt' ]" 10
sleep 0.2

touch "$folder/stop"
wait "$host_pid"

# What the host saw: the drag as a rising run of automations of parameter 0 (no edit
# brackets: the pad sends none), then the pick as one bracketed automation of parameter 2.
awk '
  $1 == "automate" && $2 == 0 && !picking {
    if (drags > 0 && $3 <= last) { print "depth automation did not rise: " $3; bad = 1 }
    last = $3; drags++; next
  }
  { trail = trail $0 ";"; picking = 1 }
  END {
    if (drags < 3) { print "the drag sent " drags " automations of parameter 0"; bad = 1 }
    if (trail != "begin 2;automate 2 1;end 2;") { print "the pick sent: " trail; bad = 1 }
    if (!bad) { print "   host saw " drags " rising automations of depth, then " trail }
    exit bad
  }' "$folder/edits.txt"
awk 'NR == FNR { opened[$1] = $2; next }
  $1 == 0 && !($2 > opened[0]) { print "depth did not rise: " opened[0] " to " $2; bad = 1 }
  $1 == 2 && $2 != 1 { print "taps not at 4: " $2; bad = 1 }
  $1 != 0 && $1 != 2 && $2 != opened[$1] { print "parameter " $1 " changed"; bad = 1 }
  END { exit bad }' "$folder/opened-values.txt" "$folder/final-values.txt"
echo "   depth $(awk '$1 == 0 { print $3 }' "$folder/opened-values.txt") to" \
  "$(awk '$1 == 0 { print $3 }' "$folder/final-values.txt"), taps" \
  "$(awk '$1 == 2 { print $3 }' "$folder/opened-values.txt") to" \
  "$(awk '$1 == 2 { print $3 }' "$folder/final-values.txt")"

for picture in opened final; do
  build/linux/tests/quillory_editor_compare "$folder/$picture.bmp" \
    "$folder/$picture-values.txt" | sed 's/^/   /'
done
