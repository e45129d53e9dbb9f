#!/usr/bin/env bash
# Rendering benchmark: the synthetic site (bench/make_site.py) served on loopback and saved by
# Sitrova with and without --render=1, in turn. Prints, per mode, the medians of wall time,
# pages saved and pages per second, and the peak memory of the save with everything it
# started (the renderer and the browser engine's processes) and of the renderer alone.
#   bench/render.sh [sections] [repeats]   (default 2 sections: about 200 pages; 3 repeats)
# BIN=folder uses the programs built there instead of a Release build in build-bench.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
sections="${1:-2}"
repeats="${2:-3}"

bin="${BIN:-}"
if [ -z "$bin" ]; then
  bash scripts/install-deps.sh
  BUILD_DIR=build-bench BUILD_TYPE=Release BUILD_TARGETS="Sitrova SitrovaRender" \
    bash scripts/build.sh -DSITROVA_BUILD_TESTS=OFF >/dev/null
  bin="$top/build-bench/bin"
fi
[ -x "$bin/SitrovaRender" ] || { echo "render bench: SitrovaRender was not built (no Qt WebEngine)" >&2; exit 1; }

work=$(mktemp -d /tmp/sitrova-render-bench-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
python3 bench/make_site.py "$work/site" --sections "$sections" >/dev/null
python3 tests/support/test_server.py --root "$work/site" --host 127.0.0.1 --port 0 --max-seconds 3600 >"$work/port" &
for _ in $(seq 200); do grep -q '^PORT ' "$work/port" 2>/dev/null && break; sleep 0.1; done
url="http://127.0.0.1:$(awk '/^PORT /{print $2}' "$work/port")/index.html"

# Flags: normal save with the data folder and record files, query pages followed.
flags=$((0x1 | 0x100 | 0x200 | 0x80000))
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
echo "== render: $url, $repeats runs each (the load average before: $(cut -d' ' -f1-3 /proc/loadavg))"
for render in 0 1; do
  : >"$work/times-$render"
  for r in $(seq 1 "$repeats"); do
    rm -rf "$work/copy"
    mkdir -p "$work/copy"
    python3 bench/render_peak.py env -u DISPLAY -u WAYLAND_DISPLAY "$bin/Sitrova" --render=$render \
      "SomeComplete,\"$url\",\"$work/copy/index.html\",\"$flags\",\"0\",\"4\"" >>"$work/times-$render" || true
    pages=$(find "$work/copy" -name '*.html' | wc -l)
    sed -i '$ s/$/ '"$pages"'/' "$work/times-$render"
  done
done
printf '%-10s %8s %7s %9s %15s %18s\n' mode wall_s pages pages/s peak_tree_KiB peak_renderer_KiB
for render in 0 1; do
  f="$work/times-$render"
  wall=$(cut -d' ' -f1 "$f" | median)
  tree=$(cut -d' ' -f2 "$f" | median)
  renderer=$(cut -d' ' -f3 "$f" | median)
  pages=$(cut -d' ' -f4 "$f" | median)
  rate=$(python3 -c "print('%.1f' % ($pages / $wall) if $wall else 'n/a')")
  printf '%-10s %8s %7s %9s %15s %18s\n' "render=$render" "$wall" "$pages" "$rate" "$tree" "$renderer"
done
