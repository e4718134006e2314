# Sourced by the set-up, test and demo scripts: where their logs go, and running a step whose full
# output goes to its log while the terminal gets one line about it.
#
# The logs live in a per-user folder that exists before any build folder does:
# ${XDG_STATE_HOME:-$HOME/.local/state}/corvane-launcher, with a subfolder for each build folder
# (launcher_log_dir BUILD), named after its path, so that two clones built by one user at a time
# keep their logs apart. Root started with sudo -E keeps the user's HOME; a folder made there by
# root would be root's and refuse the user's next run, so root then writes to a fresh folder under
# /tmp instead, named after the user.
launcher_log_dir() {
  local home="${HOME:-/root}"
  local dir="${XDG_STATE_HOME:-$home/.local/state}/corvane-launcher"
  if [ -n "${1:-}" ]; then
    dir="$dir/$(realpath -m "$1" | sed 's|^/||; s|[/ ]|_|g')"
  fi
  local home_owner
  home_owner=$(stat -c %u "$home" 2>/dev/null || echo 0)
  if [ "$(id -u)" -eq 0 ] && [ "$home_owner" -ne 0 ]; then
    dir=""
  elif ! mkdir -p "$dir" 2>/dev/null || [ ! -w "$dir" ]; then
    dir=""
  fi
  if [ -z "$dir" ]; then
    dir=$(mktemp -d "/tmp/corvane-launcher-$(id -un).XXXXXX")
  fi
  echo "$dir"
}

# run_logged LOG WHAT COMMAND...: says WHAT, runs COMMAND with all its output appended to LOG and,
# when it fails, prints the log's tail and where the whole log is. Returns COMMAND's status.
run_logged() {
  local log=$1 what=$2
  shift 2
  echo "$what"
  local status=0
  "$@" >>"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "---- last lines of $log ----" >&2
    tail -n 30 "$log" >&2
    echo "---- failed (exit status $status): $what; the whole output is in $log" >&2
  fi
  return "$status"
}
