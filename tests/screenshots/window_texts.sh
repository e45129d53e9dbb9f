#!/usr/bin/env bash
# The texts of every window, walked offscreen by the screenshot programs:
#   window_texts.sh BIN-DIR ja        the Japanese texts are those of tests/data/window-texts-ja.txt
#   window_texts.sh BIN-DIR ja update writes that file anew (after a deliberate change)
#   window_texts.sh BIN-DIR en        no window text is left in Japanese or cut off
set -uo pipefail
bin=$1
language=$2
here=$(cd "$(dirname "$0")" && pwd)
golden="$here/../data/window-texts-$language.txt"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
status=0
"$bin/sitrova_screenshots" "$work/pictures" --language "$language" --texts "$work/main.txt" >/dev/null || status=1
"$bin/suite_screenshots" "$work/pictures" --language "$language" --texts "$work/suite.txt" >/dev/null || status=1
# Sandbox folders and loopback ports differ run to run.
cat "$work/main.txt" "$work/suite.txt" |
  sed -E 's#/tmp/sitrova-test-[A-Za-z0-9]+#SANDBOX#g; s#127\.0\.0\.1:[0-9]+#127.0.0.1:PORT#g' >"$work/texts.txt"
if [ "$language" = ja ]; then
  if [ "${3:-}" = update ]; then
    cp "$work/texts.txt" "$golden"
    echo "wrote $golden"
  elif ! diff -u "$golden" "$work/texts.txt"; then
    echo "window_texts: the Japanese window texts changed (lines above)" >&2
    status=1
  fi
fi
exit $status
