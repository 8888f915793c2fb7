# Sourced by the screenshot scripts: one Xvfb display and Wine prefix, and
# capture, which runs the preview program and takes a picture of what it shows.
# Needs Xvfb, Wine, xdotool and ImageMagick's import.

# screenshots_start PREVIEW OUTPUT_DIR DISPLAY_NUMBER WINE_PREFIX
screenshots_start() {
  preview=$1
  out=$2
  mkdir -p "$out"
  export DISPLAY=":$3" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  export WINEPREFIX=${WINEPREFIX:-$4}
  xvfb_pid=
  if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    sleep 1
  fi
  trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
}

# capture NAME CAPTION-PATTERN SECONDS-TO-WAIT AREA [preview args...]
# AREA "window": the captioned window alone; else a screen region WxH+X+Y,
# for pop-ups without a caption of their own.
capture() {
  local name=$1 caption=$2 wait=$3 area=$4
  shift 4
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
    sleep "$wait"  # let the window paint and its tips appear
    if [ "$area" = window ]; then
      import -window "$window" "$out/$name.png"
    else
      import -window root -crop "$area" "$out/$name.png"
    fi
    echo "$out/$name.png"
  fi
  wait "$pid" || true
}
