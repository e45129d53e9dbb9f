#!/usr/bin/env bash
# Saves the bundled demo site with a web archive (--warc=1 --wacz=1) and has an outside reader
# check it: npm's warcio (installed into bench/warcio/, not part of the tree) indexes every
# record, and each response's payload is compared with the bodies the loopback servers logged
# (the save's copy, rewritten for offline reading, is not what the archive holds). Ends with 0
# when all holds. With warcio installed, `ctest -R WarcSave` runs its reader test as well.
#   bench/warcio-check.sh [output-folder]     (default: a temporary folder, removed)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

if [ ! -x bench/warcio/node_modules/.bin/warcio ]; then
  mkdir -p bench/warcio
  npm install --prefix bench/warcio --no-audit --no-fund warcio >/dev/null
fi
warcio="$top/bench/warcio/node_modules/.bin/warcio"
BUILD_TARGETS=Sitrova bash scripts/build.sh >/dev/null

site="$top/tests/data/demo-site"
work=$(mktemp -d)
cleanup() { kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
out="${1:-$work/out}"
case "$out" in /*) ;; *) out="$top/$out" ;; esac

serve() {  # host root portfile log [more server options]
  local host=$1 root=$2 portfile=$3 log=$4
  shift 4
  python3 tests/support/test_server.py --root "$root" --host "$host" --port 0 --max-seconds 900 \
    --log "$log" "$@" >"$portfile" &
  for _ in $(seq 200); do
    grep -q '^PORT ' "$portfile" 2>/dev/null && return 0
    sleep 0.1
  done
}
serve 127.0.0.2 "$site/other" "$work/port2" "$work/log2.txt"
port2=$(awk '/^PORT /{print $2}' "$work/port2")
serve 127.0.0.1 "$site/main" "$work/port1" "$work/log1.txt" --rules "$site/rules.json" --subst "PORT2=$port2"
port1=$(awk '/^PORT /{print $2}' "$work/port1")
[ -n "$port1" ] && [ -n "$port2" ] || { echo "warcio-check: the loopback servers did not start" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
url="http://127.0.0.1:$port1/site/top/index.html"
flags=$((0x1 | 0x100 | 0x200 | 0x80000))
code=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$top/build/bin/Sitrova" --warc=1 --wacz=1 \
  "SomeComplete,\"$url\",\"$out/demo.html\",\"$flags\",\"1\",\"4\"" || code=$?
[ "$code" -le 1 ] || { echo "warcio-check: the save ended with code $code" >&2; exit "$code"; }

"$warcio" index "$out/demo.warc.gz" >"$work/index.txt"
"$warcio" cdx-index "$out/demo.warc.gz" >"$work/cdx.txt"
python3 - "$out/demo.warc.gz" "$work/index.txt" "$work/cdx.txt" "$out/demo.cdxj" "$out/demo.wacz" \
  "$work/log1.txt.bodies" "$work/log2.txt.bodies" <<'PY'
import gzip, hashlib, sys, urllib.parse, zipfile
warc, index, cdx, ours, wacz, *logs = sys.argv[1:]
data = gzip.open(warc).read()
sent = set()
for log in logs:
    sent.update(open(log).read().splitlines())
records, checked, cut, at = 0, 0, 0, 0
while at < len(data):
    end = data.index(b"\r\n\r\n", at)
    fields = dict(l.split(": ", 1) for l in data[at:end].decode().split("\r\n")[1:])
    length = int(fields["Content-Length"])
    block = data[end + 4:end + 4 + length]
    at = end + 4 + length + 4
    records += 1
    if fields["WARC-Type"] != "response":
        continue
    head, _, payload = block.partition(b"\r\n\r\n")
    status = head.split(b" ")[1].decode()
    u = urllib.parse.urlsplit(fields["WARC-Target-URI"])
    line = "%s %s %s" % (hashlib.sha1(payload).hexdigest(), status, u.path + ("?" + u.query if u.query else ""))
    if "WARC-Truncated" in fields:
        cut += 1
    elif line not in sent:
        sys.exit("payload not as sent: " + fields["WARC-Target-URI"])
    else:
        checked += 1
indexed = len(open(index).read().splitlines())
captures = len(open(cdx).read().splitlines())
if indexed != records:
    sys.exit("warcio indexed %d records of %d" % (indexed, records))
if captures != len(open(ours).read().splitlines()):
    sys.exit("warcio found %d captures, our index %d" % (captures, len(open(ours).read().splitlines())))
names = sorted(zipfile.ZipFile(wacz).namelist())
print("warcio read %d records (%d captures); %d payloads as sent, %d marked truncated; WACZ: %s"
      % (records, captures, checked, cut, ", ".join(names)))
PY
