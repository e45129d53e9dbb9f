#!/usr/bin/env bash
# Renews the pictures of every window in docs/screenshots (offscreen, no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
QT_QPA_PLATFORM=offscreen build/bin/sitrova_screenshots docs/screenshots
QT_QPA_PLATFORM=offscreen build/bin/suite_screenshots docs/screenshots
