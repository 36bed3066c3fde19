# Source it after steps.sh: choose_our_editor_checks BUILD sets `our_editor_checks` to the
# validator options for our plug-in in build/BUILD. The editor checks run where the module
# has a window-system back end; where it has none (plugin/editor-window-system.txt says
# "none"), its editor cannot open, so the checks are skipped and the run says so, rather
# than failing a known gap or passing what was never tried.
choose_our_editor_checks() {
  local marker="build/$1/plugin/editor-window-system.txt"
  our_editor_checks=()
  if [ -f "$marker" ] && [ "$(cat "$marker")" = none ]; then
    skip_note "validator's editor checks of our $1 build: its module has no window-system back end yet, so the editor cannot open"
    our_editor_checks=(--skip-editor)
  fi
}
