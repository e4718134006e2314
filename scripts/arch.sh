# Sourced by the set-up, test and demo scripts: the Windows architecture this machine can test.
# The shipped launcher is 32-bit (i686). Wine starts a 32-bit program through its own 32-bit Linux
# loader, which only a kernel with IA-32 emulation can run; where it cannot, the suite runs on the
# 64-bit build of the same sources (x86_64), and the 32-bit launcher is still built and checked.
# LAUNCHER_ARCH in the environment overrides the choice.
launcher_test_arch() {
  if [ -n "${LAUNCHER_ARCH:-}" ]; then
    echo "$LAUNCHER_ARCH"
  elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo i686
  else
    echo x86_64
  fi
}

# Configures the build folder for that architecture; a folder configured for the other one is
# configured anew, since its compilers cannot change.
configure_launcher_build() {
  local root=$1 build=$2 arch=$3
  shift 3
  if [ -f "$build/CMakeCache.txt" ] && ! grep -qx "LAUNCHER_ARCH:STRING=$arch" "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  fi
  cmake -S "$root" -B "$build" -G "Unix Makefiles" -DLAUNCHER_ARCH="$arch" "$@" >/dev/null
}
