#!/usr/bin/env bash
# Save benchmark: a synthetic site and two real documentation sites (the Python 3.11 and
# PostgreSQL 15 manuals from Debian's python3.11-doc and postgresql-doc-15), each served by
# nginx on 127.0.0.1 and saved by Sitrova, by `wget --mirror` and by wget2 one after another.
# Prints, per site and tool, wall time, peak memory, files and pages saved, broken relative
# links and the share of the site's own links that work offline, then the ratios.
#   bench/run.sh [sections] [sites]   (default 20 sections: about 2,000 pages;
#                                      sites: any of "synthetic python postgres", default all)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
sections="${1:-20}"
sites="${2:-synthetic python postgres}"

bash scripts/install-deps.sh
need=()
for p in nginx-light wget wget2 time python3.11-doc postgresql-doc-15; do
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
trap 'kill $(cat "$work/nginx.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
python3 bench/make_site.py "$work/site" --sections "$sections" >/dev/null
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$work/nginx"
declare -A roots=([synthetic]="$work/site" [python]=/usr/share/doc/python3.11/html
                  [postgres]=/usr/share/doc/postgresql-doc-15/html)
servers=""
n=0
for site in $sites; do
  servers+="  server { listen 127.0.0.1:$((port + n)); root ${roots[$site]}; index index.html; }
"
  n=$((n + 1))
done
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon on;
pid $work/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 256; }
http {
  access_log off;
  client_body_temp_path $work/nginx;
  proxy_temp_path $work/nginx;
  fastcgi_temp_path $work/nginx;
  uwsgi_temp_path $work/nginx;
  scgi_temp_path $work/nginx;
  types { text/html html htm php; text/css css; image/png png; image/svg+xml svg; text/javascript js; }
  default_type application/octet-stream;
  keepalive_requests 100000;
$servers}
CONF
nginx -c "$work/nginx.conf"

# Runs a command under /usr/bin/time; prints "seconds peak-KiB".
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >"$work/out.txt" 2>&1 || true
  cat "$work/time.txt" | tail -n 1
}
count_files() { find "$1" -type f | wc -l; }

declare -A wall rss files broken pages working own
run() {  # key origin dir command...
  local key=$1 origin=$2 dir=$3
  shift 3
  rm -rf "$dir"; mkdir -p "$dir"
  read -r wall[$key] rss[$key] < <(measure "$@")
  files[$key]=$(count_files "$dir")
  read -r broken[$key] _ < <(python3 bench/broken_links.py "$dir")
  read -r pages[$key] working[$key] own[$key] < <(python3 bench/link_share.py "$dir" "$origin")
  rm -rf "$dir"
}
ratio() { python3 -c "a,b=float('$1'),float('$2'); print('%.2f' % (a/b) if b else 'n/a')"; }
share() { python3 -c "w,o=int('$1'),int('$2'); print('%.2f%%' % (100.0*w/o) if o else 'n/a')"; }

# Flags: normal save with the data folder and record files, query pages followed.
flags=$((0x1 | 0x100 | 0x200 | 0x80000))
n=0
for site in $sites; do
  origin="http://127.0.0.1:$((port + n))"
  url="$origin/index.html"
  n=$((n + 1))
  echo "== $site: $url"
  run "$site/sitrova" "$origin" "$work/sitrova" env -u DISPLAY -u WAYLAND_DISPLAY "$top/build-bench/bin/Sitrova" \
    "SomeComplete,\"$url\",\"$work/sitrova/index.html\",\"$flags\",\"0\",\"4\""
  run "$site/wget" "$origin" "$work/wget" wget -q --mirror --convert-links --page-requisites --no-parent -nH \
    -P "$work/wget" "$url"
  run "$site/wget2" "$origin" "$work/wget2" wget2 -q --mirror --convert-links --page-requisites --no-parent -nH \
    -P "$work/wget2" "$url"
  printf '%-8s %9s %11s %7s %7s %7s %14s\n' tool wall_s peak_KiB files pages broken own_links_ok
  for t in sitrova wget wget2; do
    k="$site/$t"
    printf '%-8s %9s %11s %7s %7s %7s %14s\n' "$t" "${wall[$k]}" "${rss[$k]}" "${files[$k]}" "${pages[$k]}" \
      "${broken[$k]}" "$(share "${working[$k]}" "${own[$k]}") of ${own[$k]}"
  done
  echo "Sitrova/wget : wall $(ratio "${wall[$site/sitrova]}" "${wall[$site/wget]}")  peak RSS $(ratio "${rss[$site/sitrova]}" "${rss[$site/wget]}")"
  echo "Sitrova/wget2: wall $(ratio "${wall[$site/sitrova]}" "${wall[$site/wget2]}")  peak RSS $(ratio "${rss[$site/sitrova]}" "${rss[$site/wget2]}")"
  echo
done
