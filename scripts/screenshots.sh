#!/usr/bin/env bash
# Renews the pictures of every window in docs/screenshots (offscreen, no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
QT_QPA_PLATFORM=offscreen build/bin/sitrova_screenshots docs/screenshots
QT_QPA_PLATFORM=offscreen build/bin/suite_screenshots docs/screenshots
# The change report is a page: a made-up update's report, pictured by a headless browser.
report=$(build/bin/change_report_sample "$(mktemp -d)")
if command -v chromium >/dev/null 2>&1; then
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1000,1360 \
    --screenshot="$PWD/docs/screenshots/change-report.png" "file://$report" 2>/dev/null
else
  echo "screenshots: no chromium; the change report is not pictured ($report)" >&2
fi
