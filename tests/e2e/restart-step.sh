#!/usr/bin/env bash
# The steps of the restart tests that must run outside any Windows process of the prefix:
#   restart-step.sh clear  <wine-run>   end the prefix's processes and clear PendingFileRenameOperations
#   restart-step.sh reboot <wine-run>   end the prefix's processes, then Wine's restart (wineboot -r),
#                                       which carries out the renames scheduled for it
# Every wait is bounded: a step that does not end in time fails.
set -eu
step=$1
run=$2
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$run")
loader=$(sed -n 's/^export WINE="\(.*\)"$/\1/p' "$run")
export WINEPREFIX="$prefix" WINEDEBUG=-all
"$run" # makes the prefix on first use

end_processes() {
  timeout 60 wineserver -k >/dev/null 2>&1 || true
  timeout 60 wineserver -w
}

case "$step" in
clear)
  end_processes
  timeout 120 "$run" reg delete 'HKLM\System\CurrentControlSet\Control\Session Manager' \
    /v PendingFileRenameOperations /f >/dev/null 2>&1 || true
  end_processes
  ;;
reboot)
  end_processes
  timeout 120 "$loader" wineboot -r >/dev/null 2>&1
  end_processes
  ;;
*)
  echo "restart-step.sh: unknown step '$step'" >&2
  exit 2
  ;;
esac
