#!/usr/bin/env bash
# Captures the stub's dialogs as PNG files, to look at what the user sees.
# Usage: take_screenshots.sh BUILD_DIR(x64) OUTPUT_DIR [DISPLAY_NUMBER]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/screenshots.sh"
screenshots_start "${1:?x64 build folder}/tests/stub/stub_preview.exe" "${2:?output folder}" "${3:-58}" /tmp/wine-stub

sample="$out/sample-existing.txt"
printf 'an existing file of some size\n' > "$sample"
# Each dialog at each text size, in a folder per size.
all=$out
for dpi in $screenshot_dpis; do
  set_dpi "$dpi"
  out=$all/dpi$dpi
  mkdir -p "$out"
  capture main "Korvane SFX Module" 1 window main
  capture progress "Korvane SFX Module" 3 window progress
  capture password "Korvane Brennicor Warning!" 1 window password
  capture overwrite "Replace/Overwrite file\\?" 1 window overwrite "Z:$(realpath "$sample")"
  capture about "About\\.\\.\\." 1 window about
  capture message "Custom Message" 1 window message
done
out=$all
