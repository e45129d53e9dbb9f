#!/usr/bin/env bash
# Save benchmark: one synthetic site served by nginx on 127.0.0.1, saved by Sitrova, by
# `wget --mirror` and by wget2 one after another; prints wall time, peak memory, files saved
# and broken relative links for each, then the ratios against the peers.
#   bench/run.sh [sections]      (default 20 sections: about 2,000 pages)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
sections="${1:-20}"

bash scripts/install-deps.sh
need=()
for p in nginx-light wget wget2 time; do
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
pages=$(python3 bench/make_site.py "$work/site" --sections "$sections")
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$work/nginx"
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
  types { text/html html htm php; text/css css; image/png png; }
  default_type application/octet-stream;
  keepalive_requests 100000;
  server { listen 127.0.0.1:$port; root $work/site; index index.html; }
}
CONF
nginx -c "$work/nginx.conf"
url="http://127.0.0.1:$port/index.html"
echo "Site: $pages pages at $url"

# Runs a command under /usr/bin/time; prints "seconds peak-KiB".
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >"$work/out.txt" 2>&1 || true
  cat "$work/time.txt" | tail -n 1
}
count_files() { find "$1" -type f | wc -l; }

declare -A wall rss files broken
run() {  # name dir command...
  local name=$1 dir=$2
  shift 2
  rm -rf "$dir"; mkdir -p "$dir"
  read -r wall[$name] rss[$name] < <(measure "$@")
  files[$name]=$(count_files "$dir")
  read -r broken[$name] _ < <(python3 bench/broken_links.py "$dir")
}

flags=$((0x1 | 0x80000))
run sitrova "$work/sitrova" env -u DISPLAY -u WAYLAND_DISPLAY "$top/build-bench/bin/Sitrova" \
  "SomeComplete,\"$url\",\"$work/sitrova/index.html\",\"$flags\",\"0\",\"4\""
run wget "$work/wget" wget -q --mirror --convert-links --page-requisites --no-parent -nH -P "$work/wget" "$url"
run wget2 "$work/wget2" wget2 -q --mirror --convert-links --page-requisites --no-parent -nH -P "$work/wget2" "$url"

printf '\n%-8s %10s %12s %8s %8s\n' tool wall_s peak_KiB files broken
for t in sitrova wget wget2; do
  printf '%-8s %10s %12s %8s %8s\n' "$t" "${wall[$t]}" "${rss[$t]}" "${files[$t]}" "${broken[$t]}"
done
ratio() { python3 -c "a,b=float('$1'),float('$2'); print('%.2f' % (a/b) if b else 'n/a')"; }
echo
echo "Sitrova/wget : wall $(ratio "${wall[sitrova]}" "${wall[wget]}")  peak RSS $(ratio "${rss[sitrova]}" "${rss[wget]}")"
echo "Sitrova/wget2: wall $(ratio "${wall[sitrova]}" "${wall[wget2]}")  peak RSS $(ratio "${rss[sitrova]}" "${rss[wget2]}")"
