#!/usr/bin/env bash
# Machine conditions for the file-system tests, made before them and undone after, in the prefix
# that <wine-run> names:
#   filesystem-fixture.sh up   <wine-run> <dir>   a 300 KB tmpfs at <dir>, as drive Q:, and
#                                                 C:\corvane-linked\Corvane\UDF, a Unix symlink to
#                                                 C:\corvane-linked\Elsewhere
#   filesystem-fixture.sh down <wine-run> <dir>   both undone
# The mount needs root: where it is refused, <dir>.skip holds the reason and the test skips.
set -eu
step=$1
run=$2
dir=$3
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$run")
"$run" # makes the prefix on first use
linked="$prefix/drive_c/corvane-linked"

small_drive_up() {
  rm -f "$dir.skip" "$prefix/dosdevices/q:"
  mkdir -p "$dir"
  if ! message=$(mount -t tmpfs -o size=300k tmpfs "$dir" 2>&1); then
    printf 'mount -t tmpfs was refused (%s)\n' "$message" >"$dir.skip"
    return 0
  fi
  ln -s "$dir" "$prefix/dosdevices/q:"
}

small_drive_down() {
  rm -f "$prefix/dosdevices/q:" "$dir.skip"
  if mountpoint -q "$dir"; then
    umount "$dir"
  fi
  rmdir "$dir" 2>/dev/null || true
}

linked_udf_up() {
  rm -rf "$linked"
  mkdir -p "$linked/Corvane/bin" "$linked/Elsewhere"
  ln -s ../Elsewhere "$linked/Corvane/UDF"
}

case "$step" in
up)
  small_drive_down
  small_drive_up
  linked_udf_up
  ;;
down)
  small_drive_down
  rm -rf "$linked"
  ;;
*)
  echo "filesystem-fixture.sh: unknown step '$step'" >&2
  exit 2
  ;;
esac
