#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12: the MinGW-w64 cross compilers
# (32-bit for the shipped launcher, 64-bit for machines that run no 32-bit programs), Wine, NSIS,
# CMake, GoogleTest sources, the locales the code-page tests run under, and osslsigncode and
# openssl for signing. Safe to run again: it installs only what is missing.
# It says in a line what it does; the package manager's output goes to its log (--log FILE, or
# setup.log in the folder scripts/log.sh chooses), whose tail it prints when a step fails.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/log.sh"

log=""
if [ "${1:-}" = "--log" ]; then
  log=$2
  shift 2
fi
if [ -z "$log" ]; then
  log="$(launcher_log_dir)/setup.log"
fi
# Made by the calling user before any sudo, so that the log stays theirs.
: >"$log"

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    exec sudo -E bash "$0" --log "$log" "$@"
  fi
  echo "setup: run as root or install sudo" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
packages=(wine wine32:i386 wine64 g++-mingw-w64-i686 binutils-mingw-w64-i686
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 cmake make googletest locales clang-format
          nsis osslsigncode openssl)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: missing packages: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  run_logged "$log" "setup: updating the package lists (log: $log)" apt-get update ||
    { echo "setup: apt-get update failed: the package lists cannot be had" >&2; exit 1; }
  run_logged "$log" "setup: installing them (about a minute; log: $log)" \
    apt-get install -y --no-install-recommends "${missing[@]}" ||
    { echo "setup: could not install: ${missing[*]}" >&2; exit 1; }
else
  echo "setup: every package is installed"
fi

# The code-page tests run under Bulgarian (1251) and Japanese (932) locales; Wine takes its ANSI
# code page from the Unix locale, but only from one that has been generated.
wanted_locales=(bg_BG.UTF-8 ja_JP.UTF-8)
regen=0
for l in "${wanted_locales[@]}"; do
  short=$(echo "$l" | sed 's/UTF-8/utf8/')
  if ! locale -a 2>/dev/null | grep -qx "$short"; then
    sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >>/etc/locale.gen
    regen=1
  fi
done
if [ "$regen" -eq 1 ]; then
  run_logged "$log" "setup: generating the locales ${wanted_locales[*]}" locale-gen ||
    { echo "setup: locale-gen failed" >&2; exit 1; }
fi

for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix wine makensis cmake osslsigncode openssl; do
  command -v "$tool" >/dev/null || { echo "setup: $tool is still missing" >&2; exit 1; }
done
echo "setup: all tools present"
