# The validation of our own builds, shared by validate.sh and test-windows.sh. Source it
# after steps.sh.
#
# choose_our_editor_checks BUILD sets `our_editor_checks` to the validator options for our
# plug-in in build/BUILD. The editor checks run where the module has a window-system back
# end; where it has none (plugin/editor-window-system.txt says "none"), its editor cannot
# open, so the checks are skipped and the run says so, rather than failing a known gap or
# passing what was never tried.
choose_our_editor_checks() {
  local marker="build/$1/plugin/editor-window-system.txt"
  our_editor_checks=()
  if [ -f "$marker" ] && [ "$(cat "$marker")" = none ]; then
    skip_note "validator's editor checks of our $1 build: its module has no window-system back end yet, so the editor cannot open"
    our_editor_checks=(--skip-editor)
  fi
}

# validate_ours NAME COMMAND...: runs a validator COMMAND on our plug-in, with the editor
# options chosen above, its output in build/logs/validate-NAME.log. Fails when a check
# fails, and when a check is skipped other than by --skip-editor: a skip there (no display,
# nothing counted) would otherwise let a check our build must pass go untried.
validate_ours() {
  local name=$1 status=0
  shift
  local log="$QUILLORY_LOGS/validate-$name.log"
  "$@" "${our_editor_checks[@]}" 2>&1 | tr -d '\r' > "$log" || status=$?
  local unexpected
  unexpected=$(grep -E '^(FAIL|SKIP) ' "$log" | grep -v -E '^SKIP .* --skip-editor$' || true)
  if [ "$status" -ne 0 ] || [ -n "$unexpected" ]; then
    echo "FAILED: step \"$current_step\": the validator on our $name build (exit status" \
         "$status):" >&2
    if [ -n "$unexpected" ]; then echo "$unexpected" | sed 's/^/    /' >&2; fi
    echo "    (whole output in $log)" >&2
    trap - ERR
    exit 1
  fi
  tail -n 1 "$log" | sed 's/^/   /'
}
