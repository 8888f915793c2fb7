#!/usr/bin/env bash
# Captures the builder's small windows as PNG files, to look at what the
# user sees. Tips have no caption of their own: they are taken from the
# screen around the window they point at.
# Usage: take_screenshots.sh BUILD_DIR(x64) OUTPUT_DIR [DISPLAY_NUMBER]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/screenshots.sh"
screenshots_start "${1:?x64 build folder}/tests/builder/builder_preview.exe" "${2:?output folder}" "${3:-59}" \
  /tmp/wine-builder

capture warning "Warning!" 1 window warning
capture password "Password Required\\.\\.\\." 1 window password
capture about "Korvane Brennicor Application" 1 window about
capture sysinfo "System Information" 1 window sysinfo
capture history "History" 1 540x360+180+180 history
capture balloon "Build" 1 1080x600+100+100 balloon
capture hover "Options" 1.5 700x400+150+150 hover

# The builder itself, driven from the keyboard and mouse as a user would:
# a copy in a fixed folder, on a fixed sample project, from an empty profile,
# so each run shows the same pictures.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/sample_project.sh"
build=$1
home=$WINEPREFIX/drive_c/brennicor_screens
rm -rf "$home"
mkdir -p "$home"
cp "$build/builder/BrennicorBuilder.exe" "$home/"
make_sample_project "$home/sample" "$build"
/usr/lib/wine/wine64 reg delete 'HKCU\Software\Korvane' /f >/dev/null 2>&1 || true
# The file dialogs start in the folder they last showed unless this is gone.
/usr/lib/wine/wine64 reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32' /f \
  >/dev/null 2>&1 || true
# Reset says so only when the profile's "Settings" key exists.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Korvane\Korvane Brennicor v3.0\Settings' /f >/dev/null 2>&1
rm -f "$home/KorvaneBrennicorTipsFile.txt"
(cd "$home" && exec /usr/lib/wine/wine64 'C:\brennicor_screens\BrennicorBuilder.exe' 'C:\brennicor_screens\sample\sample.ssf') &
builder_pid=$!

# find_window CAPTION-PATTERN: the window's id once it shows, else nothing.
find_window() {
  for _ in $(seq 1 60); do
    local window
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && { echo "$window"; return; }
    sleep 0.25
  done
  echo "no window \"$1\"" >&2
}

# shoot NAME CAPTION-PATTERN [AREA]: the captioned window, or the screen area WxH+X+Y.
shoot() {
  local window
  window=$(find_window "$2")
  [ -n "$window" ] || return 0
  sleep 1  # let it paint
  if [ -n "${3:-}" ]; then
    import -window root -crop "$3" "$out/$1.png"
  else
    import -window "$window" "$out/$1.png"
  fi
  echo "$out/$1.png"
}

frame_caption="sample.ssf - Korvane Brennicor"
shoot tip_of_the_day "Tip of the Day"
xdotool key Escape
shoot main_window "$frame_caption"
# The start page: the left column of the frame, below the menu bar.
convert "$out/main_window.png" -crop 300x560+10+50 +repage "$out/start_page.png" && echo "$out/start_page.png"
frame=$(find_window "$frame_caption")
read -r X Y < <(xwininfo -id "$frame" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
menu_area="560x420+$X+$Y"
for menu in f v t h; do
  xdotool key "alt+$menu"
  sleep 1
  import -window root -crop "$menu_area" "$out/menu_$menu.png" && echo "$out/menu_$menu.png"
  xdotool key Escape Escape
  sleep 0.3
done

# dialog NAME CAPTION-PATTERN KEYS...: opens a dialog by keys, shoots it, closes it with Escape.
dialog() {
  local name=$1 caption=$2
  shift 2
  xdotool key "$@"
  shoot "$name" "$caption"
  xdotool key Escape
  sleep 0.5
}
dialog open_project "Open" ctrl+o
dialog save_project_as "Save SFX Project As\\.\\.\\." alt+f a
dialog warnings_reset "Warning!" ctrl+r
dialog tip_from_menu "Tip of the Day" alt+h t
xdotool key alt+h a
shoot about_from_menu "Korvane Brennicor Application"
xdotool key alt+s
shoot system_information "System Information"
xdotool key Escape
sleep 0.5
xdotool key Escape
sleep 0.5

# Each page of the settings sheet, General to Build, one Ctrl+Tab apart.
xdotool mousemove $((X + 790)) $((Y + 508)) click 1
for page in general options password build; do
  sleep 1
  import -window root -crop "540x560+$((X + 312))+$((Y + 50))" "$out/page_$page.png" && echo "$out/page_$page.png"
  xdotool key ctrl+Tab
done

# A build: the question about protection (No: build without), then the
# balloon of success over the Test button; then a second build, which asks
# before it overwrites the program.
xdotool key ctrl+b
shoot protection_warning "Warning!"
xdotool key Escape
sleep 3
import -window root -crop "860x640+$X+$Y" "$out/build_succeeded.png" && echo "$out/build_succeeded.png"
xdotool key ctrl+b
shoot overwrite_question "Warning!"
xdotool key Escape
sleep 0.5

xdotool key alt+f x
sleep 1
# A project that was opened asks whether to save it: not now.
xdotool key n
wait "$builder_pid" || true
