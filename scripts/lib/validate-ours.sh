# The validation of our own builds, shared by validate.sh and test-windows.sh. Source it
# after steps.sh.

# validate_ours NAME COMMAND...: runs a validator COMMAND on our plug-in, its output in
# build/logs/validate-NAME.log. Fails when a check fails, and when a check is skipped: a
# skip (no display, nothing counted) would otherwise let a check our build must pass go
# untried.
validate_ours() {
  local name=$1 status=0
  shift
  local log="$QUILLORY_LOGS/validate-$name.log"
  "$@" 2>&1 | tr -d '\r' > "$log" || status=$?
  local unexpected
  unexpected=$(grep -E '^(FAIL|SKIP) ' "$log" || true)
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
