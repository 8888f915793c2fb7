# Sourced by the scripts: build folders and the private Wine and X display they share.
BRENNICOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${BRENNICOR_BUILD_ROOT:-$BRENNICOR_ROOT/build}
JOBS=${JOBS:-$(nproc)}
export WINEDEBUG=-all
# Keep Wine from offering to install its Mono and Gecko runtimes.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

configure() { # configure NAME [cmake args...]
  local name=$1; shift
  cmake -S "$BRENNICOR_ROOT" -B "$BUILD_ROOT/$name" -G Ninja "$@" >/dev/null
}

build() { # build NAME [targets...]
  local name=$1; shift
  if (($#)); then
    cmake --build "$BUILD_ROOT/$name" -j "$JOBS" --target "$@"
  else
    cmake --build "$BUILD_ROOT/$name" -j "$JOBS"
  fi
}

configure_all() {
  configure i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DBRENNICOR_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
  configure x64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DPython3_EXECUTABLE=/usr/bin/python3
  configure native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DBRENNICOR_FUZZ=ON \
    -DPython3_EXECUTABLE=/usr/bin/python3 \
    "-DCMAKE_C_FLAGS=-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" \
    "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" \
    "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
}

# One Xvfb and one wineserver with a private prefix for the whole run.
start_wine() {
  WINE_TMP=$(mktemp -d /tmp/brennicor-wine.XXXXXX)
  export WINEPREFIX=$WINE_TMP/prefix
  local display=${BRENNICOR_DISPLAY:-$((90 + RANDOM % 400))}
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$display"
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wineserver -p
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  # A crash must end the program with a failing code, not wait in the debugger.
  /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
  # Windows live in one virtual desktop: without a window manager each
  # top-level window otherwise costs seconds to hide or destroy.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
  trap stop_wine EXIT
}

stop_wine() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  [ -n "${WINE_TMP:-}" ] && rm -rf "$WINE_TMP"
}
