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
