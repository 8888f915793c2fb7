# Sourced by the screenshot scripts: one Xvfb display and Wine prefix, and
# capture, which runs the preview program and takes a picture of what it shows.
# Every wait is on something the screen shows (a window comes or goes, the
# picture stops changing) and gives up after a bounded time, so a script
# under load is slow but never hangs.
# Needs Xvfb, Wine, xdotool and ImageMagick's import and convert.

# screenshots_start PREVIEW OUTPUT_DIR DISPLAY_NUMBER WINE_PREFIX
screenshots_start() {
  preview=$1
  out=$2
  mkdir -p "$out"
  export DISPLAY=":$3" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  own_prefix=
  [ -n "${WINEPREFIX:-}" ] || own_prefix=1
  export WINEPREFIX=${WINEPREFIX:-$4-$3}
  xvfb_pid=
  if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    until_true 20 xdpyinfo -display "$DISPLAY" || { echo "Xvfb $DISPLAY did not start" >&2; exit 1; }
  fi
  # A watchdog for what no wait here bounds (a Wine command that never
  # returns); stopped, it takes its sleep with it.
  local limit=${SCREENSHOTS_TIMEOUT:-900}
  (
    sleep "$limit" &
    sleeper=$!
    trap 'kill $sleeper 2>/dev/null; exit 0' TERM
    wait "$sleeper" && echo "screenshots: stopped after $limit s" >&2 && kill -TERM $$
  ) &
  watchdog_pid=$!
  trap screenshots_stop EXIT
}

# The text sizes every window is taken at: 100, 125 and 150 %.
screenshot_dpis="96 120 144"

# set_dpi DPI: the text size programs started from now on draw at; Wine
# reads it from the profile as a program starts. Put back as the script stops.
set_dpi() {
  /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  dpi_set=1
}

# What this script started ends: the programs of its own prefix, with their
# wineserver, and its display.
screenshots_stop() {
  kill "$watchdog_pid" 2>/dev/null || true
  [ -n "${dpi_set:-}" ] && /usr/lib/wine/wine64 reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f \
    >/dev/null 2>&1 || true
  [ -n "$own_prefix" ] && /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$out"/*.ppm "$out"/*/*.ppm
}

# until_true SECONDS COMMAND...: runs COMMAND every quarter second until it
# succeeds (0) or SECONDS pass (1).
until_true() {
  local end=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || return 1
    sleep 0.25
  done
}

# visible_window CAPTION-PATTERN: the id of a shown window of that caption.
visible_window() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}
has_window() { [ -n "$(visible_window "$1")" ]; }
lacks_window() { [ -z "$(visible_window "$1")" ]; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }

# end_process PID [SECONDS]: waits for a program started here to end, and
# stops it when it does not in time.
end_process() {
  until_true "${2:-30}" process_ended "$1" || { echo "process $1 stopped" >&2; kill "$1" 2>/dev/null || true; }
  wait "$1" 2>/dev/null || true
}

# find_window CAPTION-PATTERN [SECONDS]: the window's id once it shows, else
# nothing and a note.
find_window() {
  if until_true "${2:-60}" has_window "$1"; then
    visible_window "$1"
  else
    echo "no window \"$1\"" >&2
  fi
}

# dismiss CAPTION-PATTERN: presses Escape in the captioned window until it is
# gone, three times at most: under load a key can reach the window before it
# takes the focus.
dismiss() {
  local window
  for _ in 1 2 3; do
    window=$(visible_window "$1")
    [ -n "$window" ] || return 0
    xdotool windowfocus "$window" 2>/dev/null || true
    xdotool key Escape
    until_true 10 lacks_window "$1" && return 0
  done
  echo "window \"$1\" stayed" >&2
}

# picture SOURCE FILE: a raw picture of SOURCE ("window ID" or "area WxH+X+Y"),
# without the time stamps of PNG, so two of the same pixels compare equal.
picture() {
  local kind=$1 what=$2 file=$3
  if [ "$kind" = window ]; then
    import -window "$what" "ppm:$file" 2>/dev/null
  else
    import -window root -crop "$what" +repage "ppm:$file" 2>/dev/null
  fi
}

# same_picture KIND WHAT RAW: SOURCE shows what the raw picture RAW holds.
same_picture() {
  local now=$3.again.ppm
  picture "$1" "$2" "$now" && cmp -s "$now" "$3"
  local same=$?
  rm -f "$now"
  return $same
}

# settle KIND WHAT PNG [DIFFERENT-FROM] [SECONDS]: takes pictures until three
# in a row show no change but a blinking caret (each is the same as one of
# the two before it) and, when DIFFERENT-FROM (a raw picture) is given,
# differ from it: what was asked for has shown and is painted, animations
# included. Keeps the last as PNG.
settle() {
  local kind=$1 what=$2 png=$3 before=${4:-} end=$((SECONDS + ${5:-20})) steady=0
  local last=$png.last.ppm older=$png.older.ppm now=$png.now.ppm
  picture "$kind" "$what" "$last" || true
  cp "$last" "$older" 2>/dev/null || true
  while ((steady < 2 && SECONDS < end)); do
    sleep 0.3
    picture "$kind" "$what" "$now" || continue
    if { cmp -s "$now" "$last" || cmp -s "$now" "$older"; } && { [ -z "$before" ] || ! cmp -s "$now" "$before"; }; then
      steady=$((steady + 1))
    else
      steady=0
    fi
    mv "$last" "$older"
    mv "$now" "$last"
  done
  ((steady == 2)) || echo "$(basename "$png") did not settle" >&2
  convert "$last" "$png" && echo "$png"
  rm -f "$last" "$older"
}

# capture NAME CAPTION-PATTERN SECONDS-TO-WAIT AREA [preview args...]
# AREA "window": the captioned window alone; else a screen region WxH+X+Y,
# for pop-ups without a caption of their own. SECONDS-TO-WAIT is the delay
# after which the preview shows its tip, if it has one; the picture is taken
# once it stops changing.
capture() {
  local name=$1 caption=$2 wait=$3 area=$4
  shift 4
  /usr/lib/wine/wine64 "$preview" "$@" &
  local pid=$! window
  window=$(find_window "$caption" 40)
  if [ -n "$window" ]; then
    sleep "$wait"
    if [ "$area" = window ]; then
      settle window "$window" "$out/$name.png"
    else
      settle area "$area" "$out/$name.png"
    fi
  fi
  end_process "$pid"  # the preview closes itself after a few seconds
}
