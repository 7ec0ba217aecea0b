# Settings shared by the scripts in tools/. Sourced, never run.

MUREVA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${MUREVA_BUILD:-$MUREVA_ROOT/build}
# The exe we ship: always the 32-bit build.
PRODUCT_BUILD=$BUILD_ROOT/win32
PRODUCT_EXE=$PRODUCT_BUILD/Mureva.exe

# Which Wine runs the tests. The product is 32-bit and runs under wine32 wherever the machine
# can execute i386 code. Some hypervisors offer no 32-bit user mode at all (wine32 then fails
# with "Exec format error"); there the same sources are built for x86-64 and run under wine64.
# MUREVA_TEST_ARCH=win32|win64 overrides the choice.
mureva_test_arch() {
  if [ -n "${MUREVA_TEST_ARCH:-}" ]; then
    echo "$MUREVA_TEST_ARCH"
  elif [ -x /usr/lib/wine/wine ] && timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}

mureva_wine_env() {
  TEST_ARCH=$(mureva_test_arch)
  if [ "$TEST_ARCH" = win32 ]; then
    WINE=/usr/lib/wine/wine
    TEST_BUILD=$PRODUCT_BUILD
  else
    WINE=/usr/lib/wine/wine64
    export WINELOADER=$WINE
    TEST_BUILD=$BUILD_ROOT/win64
  fi
  export TEST_ARCH TEST_BUILD WINE
  export WINEARCH=$TEST_ARCH WINEPREFIX=$BUILD_ROOT/wineprefix-$TEST_ARCH
  export WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
}

# Starts a private Xvfb on a free display and exports DISPLAY; XVFB_PID is set for the caller.
mureva_start_xvfb() {
  local n
  for n in $(seq 91 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

mureva_stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# A persistent wineserver makes every later Wine start fast. Its output goes to a file: a
# background wineserver that holds the caller's pipe open would keep CI waiting forever.
mureva_start_wineserver() {
  mkdir -p "$BUILD_ROOT"
  wineserver -p >"$BUILD_ROOT/wineserver.log" 2>&1 </dev/null &
  sleep 0.5
}

mureva_stop_wineserver() {
  wineserver -k >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
}

# Starts the Wine session (its services and desktop) with output going to files, and keeps one
# idle Wine process alive until mureva_stop_session. Otherwise the first test would start the
# session's long-lived processes, which inherit ctest's pipe and keep it waiting to the timeout.
mureva_start_session() {
  mureva_start_wineserver
  "$WINE" wineboot >"$BUILD_ROOT/session.log" 2>&1 </dev/null || true
  sleep 86400 | "$WINE" cmd /c pause >>"$BUILD_ROOT/session.log" 2>&1 &
  KEEPALIVE_PID=$!
}

mureva_stop_session() {
  # Every step may find nothing to stop; none of them may end a caller that runs with set -e.
  if [ -n "${KEEPALIVE_PID:-}" ]; then
    kill "$KEEPALIVE_PID" 2>/dev/null || true
    KEEPALIVE_PID=
  fi
  pkill -f 'sleep 86400' 2>/dev/null || true
  mureva_stop_wineserver
}

# Configures and builds one tree: mureva_build <win32|win64> <folder> [target...].
mureva_build() {
  local arch=$1 dir=$2 toolchain targets=()
  shift 2
  [ $# -eq 0 ] || targets=(--target "$@")
  if [ "$arch" = win32 ]; then toolchain=mingw-i686; else toolchain=mingw-x86_64; fi
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$MUREVA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$MUREVA_ROOT/cmake/$toolchain.cmake" \
      -DMUREVA_WINE="$MUREVA_ROOT/tools/wine-run" -DMUREVA_PRODUCT_EXE="$PRODUCT_EXE" >/dev/null
  fi
  cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
}
