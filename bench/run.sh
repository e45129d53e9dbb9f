#!/usr/bin/env bash
# Save benchmark: a synthetic site and three real documentation sites (the Python 3.11 and
# PostgreSQL 15 manuals from Debian's python3.11-doc and postgresql-doc-15, and the large
# libstdc++ manual with its API reference, several thousand pages, from libstdc++-12-doc), each served by
# nginx on 127.0.0.1 and saved by Sitrova, by `wget --mirror` and by wget2 in turn, the three
# tools alternating for each repeat. "python-clean" is the Python manual with its own links
# written without ".html" (bench/clean_urls.py), served the way such sites are: "x" answered
# with x.html, a folder without its slash sent on to "dir/". Prints, per site and tool, the
# medians of wall time, CPU time (user + system) and peak memory, the files and pages saved,
# broken relative links and the share of the site's own links that work offline (from the
# first repeat), then the ratios and Sitrova's peak memory; at the end, the peak memory of
# every site side by side (the large site should peak within 5 MB of the smallest). Unless BROWSER=0, headless Chromium then opens each tool's
# first copy from disk with the network shut (bench/browser_check.py: the start page and 40
# other pages) and counts the local files that failed to load, the requests that went back
# to the site's server and the pages it did not show as HTML.
#   bench/run.sh [sections] [sites] [repeats]   (default 20 sections: about 2,000 pages;
#                                                sites: any of "synthetic python python-clean
#                                                postgres libstdc", default all; repeats: default 3)
#   bench/run.sh update [site] [repeats]          the update benchmark instead (bench/update.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/nginx.sh
[ "${1:-}" != update ] || exec bash bench/update.sh "${@:2}"
top=$(pwd)
sections="${1:-20}"
sites="${2:-synthetic python python-clean postgres libstdc}"
browser="${BROWSER:-1}"
repeats="${3:-3}"

bash scripts/install-deps.sh
need=()
pkgs=(nginx-light wget wget2 time python3.11-doc postgresql-doc-15 libstdc++-12-doc)
[ "$browser" = 0 ] || pkgs+=(chromium)
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ "${#need[@]}" -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
BUILD_DIR=build-bench BUILD_TYPE=Release bash scripts/build.sh -DSITROVA_BUILD_TESTS=OFF >/dev/null

work=$(mktemp -d /tmp/sitrova-bench-XXXXXX)
chmod 755 "$work"  # nginx workers run as another user
# KEEP=1 leaves the copies (in $work/done) for a look with browser_check.py -v.
if [ "${KEEP:-0}" = 1 ]; then
  trap 'kill $(cat "$work/nginx.pid" 2>/dev/null) 2>/dev/null || true; echo "copies kept in $work/done"' EXIT
else
  trap 'kill $(cat "$work/nginx.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
fi
python3 bench/make_site.py "$work/site" --sections "$sections" >/dev/null
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$work/nginx" "$work/done"
declare -A roots=([synthetic]="$work/site" [python]=/usr/share/doc/python3.11/html
                  [python-clean]="$work/python-clean" [postgres]=/usr/share/doc/postgresql-doc-15/html
                  [libstdc]=/usr/share/doc/libstdc++-12-doc/libstdc++)
declare -A starts=([python-clean]=/)
case " $sites " in *" python-clean "*) python3 bench/clean_urls.py /usr/share/doc/python3.11/html \
  "$work/python-clean" >/dev/null ;; esac
servers=""
n=0
for site in $sites; do
  [ -n "${roots[$site]:-}" ] || { echo "unknown site: $site" >&2; exit 2; }
  location=""
  case $site in *-clean) location='location / { try_files $uri $uri.html $uri/ =404; }' ;; esac
  servers+="  server { listen 127.0.0.1:$((port + n)); root ${roots[$site]}; index index.html; $location }
"
  n=$((n + 1))
done
start_nginx "$work" "  access_log off;
$servers"

# Runs a command under /usr/bin/time; prints "wall-seconds peak-KiB cpu-seconds" (cpu: user + system).
measure() {
  /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" "$@" >"$work/out.txt" 2>&1 || true
  tail -n 1 "$work/time.txt" |
    python3 -c 'import sys; e, m, u, s = sys.stdin.read().split(); print(e, m, "%.2f" % (float(u) + float(s)))'
}
count_files() { find "$1" -type f | wc -l; }
# The median of its arguments, as a whole number when they all are.
median() {
  python3 -c 'import statistics, sys
v = sys.argv[1:]
m = statistics.median(float(x) for x in v)
print("%d" % m if all("." not in x for x in v) else "%.2f" % m)' "$@"
}

declare -A wall rss cpu files broken pages working own opened failed asked text peak
run() {  # key origin dir repeat command...
  local key=$1 origin=$2 dir=$3 repeat=$4 w m c
  shift 4
  rm -rf "$dir"; mkdir -p "$dir"
  read -r w m c < <(measure "$@")
  wall[$key]+="$w "; rss[$key]+="$m "; cpu[$key]+="$c "
  if [ "$repeat" -eq 1 ]; then  # what was saved does not change between repeats
    files[$key]=$(count_files "$dir")
    read -r broken[$key] _ < <(python3 bench/broken_links.py "$dir")
    read -r pages[$key] working[$key] own[$key] < <(python3 bench/link_share.py "$dir" "$origin")
    if [ "$browser" != 0 ]; then
      read -r opened[$key] failed[$key] asked[$key] _ text[$key] < <(python3 bench/browser_check.py "$dir" "$origin") || true
    fi
  fi
  # Set aside, not deleted: the file system hands out the inodes of files deleted moments
  # ago slowly, which would slow down whichever tool runs next.
  mv "$dir" "$work/done/${key//\//-}-$repeat"
}
mib() { python3 -c "print('%.1f' % (float('$1') / 1024))"; }
ratio() { python3 -c "a,b=float('$1'),float('$2'); print('%.2f' % (a/b) if b else 'n/a')"; }
share() { python3 -c "w,o=int('$1'),int('$2'); print('%.2f%%' % (100.0*w/o) if o else 'n/a')"; }

# Flags: normal save with the data folder and record files, query pages followed.
flags=$((0x1 | 0x100 | 0x200 | 0x80000))
n=0
for site in $sites; do
  origin="http://127.0.0.1:$((port + n))"
  url="$origin${starts[$site]:-/index.html}"
  n=$((n + 1))
  echo "== $site: $url (medians of $repeats runs, the load average before: $(cut -d' ' -f1-3 /proc/loadavg))"
  for r in $(seq 1 "$repeats"); do
    run "$site/sitrova" "$origin" "$work/sitrova" "$r" env -u DISPLAY -u WAYLAND_DISPLAY "$top/build-bench/bin/Sitrova" \
      "SomeComplete,\"$url\",\"$work/sitrova/index.html\",\"$flags\",\"0\",\"4\""
    run "$site/wget" "$origin" "$work/wget" "$r" wget -q --mirror --convert-links --adjust-extension --page-requisites \
      --no-parent -nH -P "$work/wget" "$url"
    run "$site/wget2" "$origin" "$work/wget2" "$r" wget2 -q --mirror --convert-links --adjust-extension --page-requisites \
      --no-parent -nH -P "$work/wget2" "$url"
  done
  declare -A mw mc mr
  printf '%-8s %9s %8s %11s %7s %7s %7s %14s   %s\n' tool wall_s cpu_s peak_KiB files pages broken own_links_ok \
    "wall of each run"
  for t in sitrova wget wget2; do
    k="$site/$t"
    # shellcheck disable=SC2086
    mw[$t]=$(median ${wall[$k]}); mc[$t]=$(median ${cpu[$k]}); mr[$t]=$(median ${rss[$k]})
    printf '%-8s %9s %8s %11s %7s %7s %7s %14s   %s\n' "$t" "${mw[$t]}" "${mc[$t]}" "${mr[$t]}" "${files[$k]}" \
      "${pages[$k]}" "${broken[$k]}" "$(share "${working[$k]}" "${own[$k]}") of ${own[$k]}" "${wall[$k]}"
  done
  for t in wget wget2; do
    echo "Sitrova/$(printf '%-5s' "$t"): wall $(ratio "${mw[sitrova]}" "${mw[$t]}")" \
      " CPU $(ratio "${mc[sitrova]}" "${mc[$t]}")  peak RSS $(ratio "${mr[sitrova]}" "${mr[$t]}")" \
      " (Sitrova $(mib "${mr[sitrova]}") MiB, $t $(mib "${mr[$t]}") MiB)"
  done
  peak[$site]=${mr[sitrova]}
  if [ "$browser" != 0 ]; then
    echo "In Chromium, from disk with the network shut (the start page and up to 40 others):"
    for t in sitrova wget wget2; do
      k="$site/$t"
      printf '  %-8s pages opened %3s   failed local loads %5s   requests to the server %5s   not shown as HTML %3s\n' \
        "$t" "${opened[$k]}" "${failed[$k]}" "${asked[$k]}" "${text[$k]}"
    done
  fi
  unset mw mc mr
  echo
done
echo "Sitrova's peak memory per site (median, MiB):"
low=""; high=""
for site in $sites; do
  printf '  %-13s %6s\n' "$site" "$(mib "${peak[$site]}")"
  if [ -z "$low" ] || [ "${peak[$site]}" -lt "$low" ]; then low=${peak[$site]}; fi
  if [ -z "$high" ] || [ "${peak[$site]}" -gt "$high" ]; then high=${peak[$site]}; fi
done
echo "  spread (largest - smallest): $(mib $((high - low))) MiB"
