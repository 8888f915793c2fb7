#!/usr/bin/env bash
# Captures the builder's small windows as PNG files, to look at what the
# user sees. Tips have no caption of their own: they are taken from the
# screen around the window they point at.
# Usage: take_screenshots.sh BUILD_DIR(x64) OUTPUT_DIR [DISPLAY_NUMBER]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/screenshots.sh"
screenshots_start "${1:?x64 build folder}/tests/builder/builder_preview.exe" "${2:?output folder}" "${3:-59}" \
  /tmp/wine-builder

# px LENGTH: a length laid out at 96 DPI, at the text size being taken.
px() { echo $(($1 * dpi / 96)); }

# Every window once at the text size set.
shoot_all() {
  capture warning "Warning!" 0 window warning
  capture password "Password Required\\.\\.\\." 0 window password
  capture about "Korvane Brennicor Application" 0 window about
  capture sysinfo "System Information" 0 window sysinfo
  capture history "History" 0 540x360+180+180 history
  # The balloon shows 0.3 s after its window, the hover tip 0.5 s after the mouse rests.
  capture balloon "Build" 0.5 1080x600+100+100 balloon
  capture hover "Options" 1 700x400+150+150 hover

  # The builder itself, driven from the keyboard and mouse as a user would:
  # a copy in a fixed folder, on a fixed sample project, from an empty profile,
  # so each run shows the same pictures.
  build=$build_dir
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

  # shoot NAME CAPTION-PATTERN [SECONDS]: the captioned window once it is painted.
  shoot() {
    local window
    window=$(find_window "$2" "${3:-30}")
    if [ -n "$window" ]; then settle window "$window" "$out/$1.png"; fi
  }

  # dialog NAME CAPTION-PATTERN KEYS...: opens a dialog by keys, shoots it,
  # closes it with Escape and waits until it is gone.
  dialog() {
    local name=$1 caption=$2
    shift 2
    xdotool key "$@"
    shoot "$name" "$caption"
    dismiss "$caption"
  }

  # Under load the builder takes a while to start; the tip of the day shows
  # over its frame first.
  frame_caption="sample.ssf - Korvane Brennicor"
  shoot tip_of_the_day "Tip of the Day" 120
  dismiss "Tip of the Day"
  shoot main_window "$frame_caption"
  frame=$(visible_window "$frame_caption")
  [ -n "$frame" ] || { echo "the builder shows no frame" >&2; return 1; }
  xdotool windowfocus "$frame" 2>/dev/null || true
  # The start page: the left column of the frame, below the menu bar.
  convert "$out/main_window.png" -crop "$(px 300)x$(px 560)+$(px 10)+$(px 50)" +repage "$out/start_page.png" &&
    echo "$out/start_page.png"
  read -r X Y W H < <(xwininfo -id "$frame" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')

  # Each menu once it has opened and stopped moving; closed again, the frame
  # looks as before.
  menu_area="$(px 560)x$(px 420)+$X+$Y"
  picture area "$menu_area" "$out/closed.ppm" || true
  for menu in f v t h; do
    xdotool key "alt+$menu"
    settle area "$menu_area" "$out/menu_$menu.png" "$out/closed.ppm"
    xdotool key Escape Escape
    until_true 10 same_picture area "$menu_area" "$out/closed.ppm" || echo "menu $menu left a trace" >&2
  done

  dialog open_project "Open" ctrl+o
  dialog save_project_as "Save SFX Project As\.\.\." alt+f a
  dialog warnings_reset "Warning!" ctrl+r
  dialog tip_from_menu "Tip of the Day" alt+h t
  xdotool key alt+h a
  shoot about_from_menu "Korvane Brennicor Application"
  dialog system_information "System Information" alt+s
  dismiss "Korvane Brennicor Application"

  # Each page of the settings sheet, General to Build, one Ctrl+Tab apart:
  # a page is shot once it differs from the one before and stands still. A
  # click on the General page, right of its Build button, gives it the keys.
  xdotool mousemove $((X + W - 70)) $((Y + H - 132)) click 1
  before=
  for page in general options password build; do
    settle window "$frame" "$out/page_$page.png" "$before"
    before=$out/page_$page.png.ppm
    picture window "$frame" "$before" || true
    xdotool key ctrl+Tab
  done

  # A build: the question about protection (No: build without), then the
  # balloon of success over the Test button; then a second build, which asks
  # before it overwrites the program.
  xdotool key ctrl+b
  shoot protection_warning "Warning!"
  dismiss "Warning!"
  if [ -n "$(find_window "Building and Securing File Ended Succesfully!" 60)" ]; then
    settle window "$frame" "$out/build_succeeded.png"
  fi
  dialog overwrite_question "Warning!" ctrl+b

  # A project that was opened asks whether to save it on leaving: not now.
  xdotool key alt+f x
  save_question=$(find_window "Korvane Brennicor( v3\.0)?" 30)
  if [ -n "$save_question" ]; then xdotool key n; fi
  end_process "$builder_pid" 60
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/sample_project.sh"
build_dir=$1
all=$out
for dpi in $screenshot_dpis; do
  set_dpi "$dpi"
  out=$all/dpi$dpi
  mkdir -p "$out"
  shoot_all || true
done
out=$all
