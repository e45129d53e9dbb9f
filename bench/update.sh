#!/usr/bin/env bash
# Update benchmark: a copy of a documentation site (the PostgreSQL 15 manual from Debian's
# postgresql-doc-15 by default; "python" and "libstdc" as in bench/run.sh) or the synthetic
# site of bench/make_site.py, served by nginx on 127.0.0.1 (which sends ETag and
# Last-Modified and answers conditional requests, as common servers do), saved by Sitrova,
# then updated three times: unchanged; unchanged without the history index (every page comes
# whole, as updates did before the index); and with ten pages changed. Prints, for each run,
# the wall time and the bytes nginx sent (status lines and headers included), what the index
# counted, and checks the target: an unchanged update sends at most 2% of the fresh save's
# bytes. (The synthetic site's pages are about 1 KB, so there a 304's headers alone are ~15%.)
#   bench/update.sh [site] [repeats]   (site: postgres, python, libstdc or synthetic;
#                                       SECTIONS=20 sizes the synthetic site; 3 repeats)
#   (also: bench/run.sh update [site] [repeats])
# SKIP_BUILD=1 SITROVA=/path/to/Sitrova uses a program already built.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/nginx.sh
top=$(pwd)
site="${1:-postgres}"
repeats="${2:-3}"
declare -A docs=([python]=python3.11-doc [postgres]=postgresql-doc-15 [libstdc]=libstdc++-12-doc)
declare -A roots=([python]=/usr/share/doc/python3.11/html [postgres]=/usr/share/doc/postgresql-doc-15/html
                  [libstdc]=/usr/share/doc/libstdc++-12-doc/libstdc++)
[ "$site" = synthetic ] || [ -n "${docs[$site]:-}" ] || { echo "unknown site: $site" >&2; exit 2; }

bash scripts/install-deps.sh
need=()
pkgs=(nginx-light time)
[ "$site" = synthetic ] || pkgs+=("${docs[$site]}")
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ "${#need[@]}" -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
[ "${SKIP_BUILD:-0}" = 1 ] || BUILD_DIR=build-bench BUILD_TYPE=Release bash scripts/build.sh -DSITROVA_BUILD_TESTS=OFF >/dev/null
sitrova="${SITROVA:-$top/build-bench/bin/Sitrova}"

work=$(mktemp -d /tmp/sitrova-update-XXXXXX)
chmod 755 "$work"  # nginx workers run as another user
trap 'kill $(cat "$work/nginx.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
if [ "$site" = synthetic ]; then
  python3 bench/make_site.py "$work/site" --sections "${SECTIONS:-20}" >/dev/null
else
  cp -rL "${roots[$site]}" "$work/site"  # a copy of our own: ten of its pages will change
fi
chmod -R a+rX "$work/site"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
start_nginx "$work" "  log_format sent '\$bytes_sent';
  access_log $work/access.log sent;
  server { listen 127.0.0.1:$port; root $work/site; index index.html; }"

flags=$((0x1 | 0x100 | 0x200 | 0x80000))
url="http://127.0.0.1:$port/index.html"
# Bytes and requests nginx logged since the last call.
logged=0
sent_since() {
  local lines total
  lines=$(wc -l <"$work/access.log")
  total=$(tail -n +"$((logged + 1))" "$work/access.log" | awk '{s += $1} END {print s + 0}')
  echo "$total $((lines - logged))"
  logged=$lines
}
# One Sitrova run into $work/copy: prints "wall-seconds bytes requests".
save() {
  sleep 1.1  # nginx writes its log lines as requests end; let the last ones land
  sent_since >/dev/null
  /usr/bin/time -f "%e" -o "$work/time.txt" env -u DISPLAY -u WAYLAND_DISPLAY "$sitrova" \
    "SomeComplete,\"$url\",\"$work/copy/index.html\",\"$flags\",\"0\",\"4\"" >/dev/null 2>&1 || true
  sleep 1.1
  echo "$(tail -n 1 "$work/time.txt") $(sent_since)"
}
# What the last run of the index counted: "new changed unchanged gone failed".
counts() {
  python3 - "$work/copy/index.files/SitrovHistory.sqlite" <<'PY'
import sqlite3, sys
row = sqlite3.connect(sys.argv[1]).execute(
    "SELECT new_count, changed_count, unchanged_count, gone_count, failed_count FROM runs ORDER BY id DESC LIMIT 1").fetchone()
print(" ".join(str(x) for x in row) if row else "- - - - -")
PY
}
# Ten pages of the site that the save reached get a new paragraph.
change_ten() {
  (cd "$work/copy/index.files" && find . -name '*.html' ! -name index.html | sort | head -n 10) |
    while read -r page; do
      [ -f "$work/site/$page" ] || continue
      python3 - "$work/site/$page" "$1" <<'PY'
import sys
path, mark = sys.argv[1], sys.argv[2]
text = open(path, "rb").read()
extra = b"<p>changed in run %s</p>" % mark.encode()
at = text.rfind(b"</body>")
open(path, "wb").write(text[:at] + extra + text[at:] if at >= 0 else text + extra)
PY
    done
}

declare -A wall bytes reqs seen
for r in $(seq 1 "$repeats"); do
  rm -rf "$work/copy"; mkdir -p "$work/copy"
  read -r w b q < <(save); wall[fresh]+="$w "; bytes[fresh]+="$b "; reqs[fresh]=$q; seen[fresh]=$(counts)
  read -r w b q < <(save); wall[unchanged]+="$w "; bytes[unchanged]+="$b "; reqs[unchanged]=$q; seen[unchanged]=$(counts)
  rm -f "$work/copy/index.files/SitrovHistory.sqlite"*
  read -r w b q < <(save); wall[noindex]+="$w "; bytes[noindex]+="$b "; reqs[noindex]=$q; seen[noindex]=$(counts)
  change_ten "$r"
  read -r w b q < <(save); wall[ten]+="$w "; bytes[ten]+="$b "; reqs[ten]=$q; seen[ten]=$(counts)
done
median() {
  python3 -c 'import statistics, sys
m = statistics.median(float(x) for x in sys.argv[1:])
print("%d" % m if all("." not in x for x in sys.argv[1:]) else "%.2f" % m)' "$@"
}
# shellcheck disable=SC2086
printf '%-34s %8s %12s %9s   %s\n' run wall_s bytes_sent requests "new changed unchanged gone failed (index)"
for k in fresh unchanged noindex ten; do
  case $k in
    fresh) name="fresh save" ;; unchanged) name="update, unchanged" ;;
    noindex) name="update, unchanged, no index" ;; ten) name="update, ten pages changed" ;;
  esac
  # shellcheck disable=SC2086
  printf '%-34s %8s %12s %9s   %s\n' "$name" "$(median ${wall[$k]})" "$(median ${bytes[$k]})" "${reqs[$k]}" "${seen[$k]}"
done
# shellcheck disable=SC2086
python3 - "$(median ${bytes[fresh]})" "$(median ${bytes[unchanged]})" "$(median ${wall[noindex]})" "$(median ${wall[unchanged]})" <<'PY'
import sys
fresh, unchanged, slow, fast = (float(x) for x in sys.argv[1:])
share = 100.0 * unchanged / fresh if fresh else 0
print("unchanged update: %.2f%% of the fresh save's bytes (target: at most 2%%) %s" % (share, "ok" if share <= 2 else "MISSED"))
print("unchanged update: %.2f x the time of an update without the index" % (fast / slow if slow else 0))
PY
