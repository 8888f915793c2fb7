#!/usr/bin/env bash
# Captures the stub's dialogs as PNG files, to look at what the user sees.
# Usage: take_screenshots.sh BUILD_DIR(x64) OUTPUT_DIR [DISPLAY_NUMBER]
# Needs Xvfb, Wine, xdotool and ImageMagick's import.
set -euo pipefail
build=${1:?x64 build folder}
out=${2:?output folder}
display=${3:-58}
preview="$build/tests/stub/stub_preview.exe"
mkdir -p "$out"
export DISPLAY=":$display" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
export WINEPREFIX=${WINEPREFIX:-/tmp/wine-stub}

xvfb_pid=
if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
fi
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

capture() { # capture NAME CAPTION-PATTERN SECONDS-TO-WAIT [preview args...]
  local name=$1 caption=$2 wait=$3; shift 3
  /usr/lib/wine/wine64 "$preview" "$@" &
  local pid=$! window=
  for _ in $(seq 1 40); do
    window=$(xdotool search --name "^${caption}\$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.25
  done
  if [ -z "$window" ]; then
    echo "no window \"$caption\"" >&2
  else
    sleep "$wait"  # let the light blink and the controls paint
    import -window "$window" "$out/$name.png"
    echo "$out/$name.png"
  fi
  wait "$pid" || true
}

sample="$out/sample-existing.txt"
printf 'an existing file of some size\n' > "$sample"
capture main "Korvane SFX Module" 1 main
capture progress "Korvane SFX Module" 3 progress
capture password "Korvane Brennicor Warning!" 1 password
capture overwrite "Replace/Overwrite file\\?" 1 overwrite "Z:$(realpath "$sample")"
capture about "About\\.\\.\\." 1 about
capture message "Custom Message" 1 message
