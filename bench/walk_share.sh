#!/usr/bin/env bash
# Who asked the server during a save: the walk itself or the threads that fetch ahead of it.
# Serves one bench site with nginx on 127.0.0.1, logging each request with its connection,
# saves it once with the Sitrova binary given, and prints the requests in all and those made
# on the walk's own connection (the one that asked for the start page; each thread of the
# pool keeps connections of its own). The copy is left in OUT, and the server's log of the
# requests in OUT.requests. Two saves compare with diff -r when they went to the same OUT and
# the same PORT (the copy's logs name both); move the first copy aside before the second.
#   bench/walk_share.sh SITROVA_BINARY SITE OUT [sections]
#     SITE: synthetic, python, python-clean, postgres or libstdc (as bench/run.sh)
#   PORT=n serves on that port (default: a free one).
#   WRAP="valgrind --tool=callgrind --callgrind-out-file=cg.out" runs the save under a tool.
set -euo pipefail
bin=$(realpath "$1"); site=$2; out=$3; sections=${4:-20}
cd "$(dirname "$0")/.."
. bench/nginx.sh
work=$(mktemp -d /tmp/sitrova-share-XXXXXX)
chmod 755 "$work"
trap 'kill $(cat "$work/nginx.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
declare -A roots=([synthetic]="$work/site" [python]=/usr/share/doc/python3.11/html
                  [python-clean]="$work/python-clean" [postgres]=/usr/share/doc/postgresql-doc-15/html
                  [libstdc]=/usr/share/doc/libstdc++-12-doc/libstdc++)
declare -A starts=([python-clean]=/)
[ -n "${roots[$site]:-}" ] || { echo "unknown site: $site" >&2; exit 2; }
case $site in
  synthetic) python3 bench/make_site.py "$work/site" --sections "$sections" >/dev/null ;;
  python-clean) python3 bench/clean_urls.py /usr/share/doc/python3.11/html "$work/python-clean" >/dev/null ;;
esac
location=""
case $site in *-clean) location='location / { try_files $uri $uri.html $uri/ =404; }' ;; esac
port=${PORT:-}
[ -n "$port" ] || port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
start_nginx "$work" "  log_format walk '\$connection \$request_uri';
  access_log $work/access.log walk;
  keepalive_timeout 600s;
  server { listen 127.0.0.1:$port; root ${roots[$site]}; index index.html; $location }"
url="http://127.0.0.1:$port${starts[$site]:-/index.html}"
flags=$((0x1 | 0x100 | 0x200 | 0x80000))
rm -rf "$out"; mkdir -p "$out"
start=$(date +%s.%N)
# shellcheck disable=SC2086
env -u DISPLAY -u WAYLAND_DISPLAY ${WRAP:-} "$bin" "SomeComplete,\"$url\",\"$out/index.html\",\"$flags\",\"0\",\"4\"" \
  >/dev/null 2>"${out%/}.stderr" || true
end=$(date +%s.%N)
kill "$(cat "$work/nginx.pid")"; sleep 0.5
cp "$work/access.log" "${out%/}.requests"
python3 - "$work/access.log" "$start" "$end" "$url" <<'PY'
import sys
lines = [l.split(' ', 1) for l in open(sys.argv[1]).read().splitlines() if ' ' in l]
start = sys.argv[4].split('/', 3)[3]
walk = next((c for c, u in lines if '/' + start == u or (start == '' and u == '/')), None)
own = sum(1 for c, u in lines if c == walk)
print('requests %d  by the walk %d  by the pool %d  wall %.1f s  load %s' % (
    len(lines), own, len(lines) - own, float(sys.argv[3]) - float(sys.argv[2]),
    open('/proc/loadavg').read().split()[0]))
PY
