#!/usr/bin/env bash
# One command from a fresh clone: installs what is missing, builds the launcher, lays out a sample
# distribution (launcher.exe, a sample SETUP.EXE and Patch\) and runs the launcher under Wine, then
# shows what the installer put into the installation, what the launcher replaced and its exit code.
# The set-up's and the build's full output go to logs (scripts/log.sh says where).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

source "$root/scripts/arch.sh"
source "$root/scripts/log.sh"
logs=$(launcher_log_dir "$build")
echo "demo: logs in $logs"

bash "$root/scripts/setup.sh" --log "$logs/setup.log"
arch=$(launcher_test_arch)
[ "$arch" = x86_64 ] && echo "demo: this machine runs no 32-bit programs: the demo runs the 64-bit build under Wine"
: >"$logs/demo-build.log"
run_logged "$logs/demo-build.log" "demo: configuring $build ($arch)" configure_launcher_build "$root" "$build" "$arch"
run_logged "$logs/demo-build.log" "demo: building the launcher and the sample installer, preparing Wine (log: $logs/demo-build.log)" \
  cmake --build "$build" -j"$(nproc)" --target launcher fakesetup clearentry wine_prefix

run="$build/wine-run"
prefix="$build/wineprefix"
dist="$build/sample/Corvane Dist"
install_win='C:\Program Files\Corvane Sample\'
install="$prefix/drive_c/Program Files/Corvane Sample"

# The uninstall entry in every place the launcher looks (both views of HKEY_LOCAL_MACHINE and
# HKEY_CURRENT_USER), removed as the tests remove it: none left from earlier runs, none left after.
clear_entry() { "$run" "$build/bin/clearentry.exe" >/dev/null 2>&1 || echo "demo: could not remove the sample's uninstall entry" >&2; }
trap clear_entry EXIT

# A fresh sample: no earlier installation, no earlier uninstall entry.
rm -rf "$build/sample" "$install"
clear_entry

mkdir -p "$dist/payload/bin" "$dist/payload/UDF" "$dist/payload/Docs" "$dist/Patch/bin" "$dist/Patch/UDF"
cp "$build/bin/launcher.exe" "$dist/launcher.exe"
cp "$build/bin/fakesetup.exe" "$dist/SETUP.EXE"
printf '[Setup]\r\nInstallDir=%s\r\nPayload=payload\r\nUninstallString="%suninst.exe" /x\r\nSleepMs=500\r\n' \
  "$install_win" "$install_win" >"$dist/SETUP.INI"
# What the installer installs: the faulty release.
printf 'Corvadmin 2.0 (faulty build)\n' >"$dist/payload/bin/Corvadmin.exe"
printf 'uninstaller\n' >"$dist/payload/uninst.exe"
printf 'readme 2.0\n' >"$dist/payload/Docs/readme.txt"
for f in Forms Reports Labels; do printf '%s 2.0 (faulty)\n' "$f" >"$dist/payload/UDF/$f.udf"; done
printf 'Custom 2.0\n' >"$dist/payload/UDF/Custom.udf"
# What the patch corrects.
printf 'Corvadmin 2.0.1 (corrected build)\n' >"$dist/Patch/bin/Corvadmin.exe"
for f in Forms Reports Labels; do printf '%s 2.0.1 (corrected)\n' "$f" >"$dist/Patch/UDF/$f.udf"; done

echo "Sample distribution: $dist"
(cd "$dist" && find . -type f | sort | sed 's/^\./    /')
echo
echo "Running launcher.exe under Wine (the sample SETUP.EXE installs to $install_win) ..."
set +e
"$run" "$dist/launcher.exe"
code=$?
set -e
echo "launcher.exe ended with exit code $code"
echo

sum() { [ -f "$1" ] && sha256sum "$1" | cut -c1-16 || echo "(missing)         "; }
if [ ! -d "$install" ]; then
  echo "The installer did not create $install_win"
  exit 1
fi
echo "Installation $install_win after the run:"
printf '    %-24s %-18s %-18s %-18s %s\n' file installed patch now result
(cd "$install" && find . -type f | sort) | while read -r rel; do
  rel=${rel#./}
  installed=$(sum "$dist/payload/$rel")
  patch=$(sum "$dist/Patch/$rel")
  now=$(sum "$install/$rel")
  if [ "$now" = "$patch" ]; then result="replaced by the patch"
  elif [ "$now" = "$installed" ]; then result="as installed"
  else result="changed"; fi
  printf '    %-24s %-18s %-18s %-18s %s\n' "$rel" "$installed" "$patch" "$now" "$result"
done
exit "$code"
