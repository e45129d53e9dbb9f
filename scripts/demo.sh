#!/usr/bin/env bash
# Sets up Sitrova, serves the bundled demo site on loopback and saves it with a complete
# save, as the scheduler would start one. Prints where the browsable copy lies.
#   scripts/demo.sh [output-folder [save options]]     (default: ./demo-output)
# Save options are named options, e.g. --render=1 to save the pages scripts build as rendered.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
out="${1:-$top/demo-output}"
case "$out" in /*) ;; *) out="$top/$out" ;; esac
[ $# -gt 0 ] && shift
targets=Sitrova
case " $* " in *" --render=1 "*) targets="Sitrova SitrovaRender" ;; esac

bash scripts/install-deps.sh
# Only the program the demo runs; the tests and the windows build later in the same folder.
BUILD_TARGETS="$targets" bash scripts/build.sh >/dev/null

site="$top/tests/data/demo-site"
work=$(mktemp -d)
cleanup() { kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

# Starts one loopback server in the background of this shell (the server ends when its
# parent does, so it must not be started from a subshell) and waits for its port.
serve() {  # host root portfile [more server options]
  local host=$1 root=$2 portfile=$3
  shift 3
  python3 tests/support/test_server.py --root "$root" --host "$host" --port 0 --max-seconds 900 "$@" >"$portfile" &
  for _ in $(seq 200); do
    grep -q '^PORT ' "$portfile" 2>/dev/null && return 0
    sleep 0.1
  done
}

serve 127.0.0.2 "$site/other" "$work/port2"
port2=$(awk '/^PORT /{print $2}' "$work/port2")
serve 127.0.0.1 "$site/main" "$work/port1" --rules "$site/rules.json" --subst "PORT2=$port2"
port1=$(awk '/^PORT /{print $2}' "$work/port1")
[ -n "$port1" ] && [ -n "$port2" ] || { echo "demo: the loopback servers did not start" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
url="http://127.0.0.1:$port1/site/top/index.html"
# Options: data folder (0x100), record file (0x200), query pages followed (0x80000);
# upper-hierarchy limit 1; CPU level 4 (no pause).
flags=$((0x1 | 0x100 | 0x200 | 0x80000))
echo "Saving $url"
# The demo site links a few files that fail on purpose (a missing one, a dead host, a picture
# that is not one), so the save ends with 1: done, some files failed.
code=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$top/build/bin/Sitrova" "$@" \
  "SomeComplete,\"$url\",\"$out/demo.html\",\"$flags\",\"1\",\"4\"" || code=$?
[ "$code" -le 1 ] || { echo "demo: the save ended with code $code" >&2; exit "$code"; }

echo
echo "The browsable copy starts at: $out/demo.html"
[ -f "$out/demo-Description.log" ] && iconv -f CP932 -t UTF-8 "$out/demo-Description.log" | tail -n 4
echo
echo "Saved files:"
(cd "$out" && find . -type f | sort | sed 's/^/  /')
