#!/usr/bin/env bash
# Renews the pictures of every window in docs/screenshots (offscreen, no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
QT_QPA_PLATFORM=offscreen build/bin/sitrova_screenshots docs/screenshots --language ja
QT_QPA_PLATFORM=offscreen build/bin/suite_screenshots docs/screenshots --language ja
# The English windows (the main ones; every window's English texts are checked by WindowTexts.en).
mkdir -p docs/screenshots/en
english=$(mktemp -d)
QT_QPA_PLATFORM=offscreen build/bin/sitrova_screenshots "$english" --language en >/dev/null
QT_QPA_PLATFORM=offscreen build/bin/suite_screenshots "$english" --language en >/dev/null
for name in main-input progress saved-site file-save scheduler scheduler-job-dialog suite-qdx-list album-fetcher \
            dialog-InitializeSiteDL dialog-InitializeOther; do
  cp "$english/$name.png" docs/screenshots/en/
done
rm -rf "$english"
# The change report is a page: a made-up update's report, pictured by a headless browser.
report=$(build/bin/change_report_sample "$(mktemp -d)")
if command -v chromium >/dev/null 2>&1; then
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1000,1360 \
    --screenshot="$PWD/docs/screenshots/change-report.png" "file://$report" 2>/dev/null
else
  echo "screenshots: no chromium; the change report is not pictured ($report)" >&2
fi
