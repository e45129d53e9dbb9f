#!/usr/bin/env bash
# Checks the manuals: man finds nothing to warn about in any page, and the pages of Sitrova
# and SitrovaCui name every argument form, named option, option and exit code that the
# programs' own usage texts list, and the programs' version.
#   scripts/check-manuals.sh BUILD_DIR      ends with 77 (skipped) when man is missing
set -euo pipefail
build="${1:?usage: check-manuals.sh BUILD_DIR}"
command -v man >/dev/null || { echo "check-manuals: man is not installed"; exit 77; }
pages="$build/packaging/man"
failed=0
problem() { echo "check-manuals: $*" >&2; failed=1; }

for page in "$pages"/*.1; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || problem "man cannot format $page"
  [ -z "$warnings" ] || problem "$(basename "$page"): $warnings"
done

# The page's words as a reader sees them ("\-" is a hyphen).
words() { sed -e 's/\\-/-/g' -e 's/\\(dq/"/g' "$1"; }
sitrova_page=$(words "$pages/Sitrova.1")
cui_page=$(words "$pages/SitrovaCui.1")
sitrova_help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$build/bin/Sitrova" --help)
cui_help=$("$build/bin/SitrovaCui" '/?')
version=$("$build/bin/Sitrova" --version | sed 's/^Sitrova //')

for word in $(grep -o -- '--[a-z-]*=\?' <<<"$sitrova_help" | sort -u) \
            $(grep -o -E '^ +(SomeComplete|SomeWarc|SomeSeries|PresetUrl|advertisement),' <<<"$sitrova_help" | tr -d ' ,'); do
  grep -qF -- "$word" <<<"$sitrova_page" || problem "Sitrova.1 does not name $word"
done
for word in $(grep -o -E '^/[a-z?]+' <<<"$cui_help" | sort -u); do
  grep -qF -- "$word" <<<"$cui_page" || problem "SitrovaCui.1 does not name $word"
done
for code in $(grep -o -E '^  [0-9] ' <<<"$sitrova_help" | tr -d ' '); do
  for page in Sitrova SitrovaCui; do
    sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' "$pages/$page.1" | grep -qx "\.B $code" || problem "$page.1 does not explain exit code $code"
  done
done
for page in "$pages"/*.1; do
  head -3 "$page" | grep -qF "\"Sitrova $version\"" || problem "$(basename "$page") does not carry version $version"
done
exit "$failed"
