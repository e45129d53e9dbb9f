#!/usr/bin/env bash
# Builds the Debian package, installs it with apt, uses it as an ordinary user with a fresh
# home folder, purges it and checks that nothing of it is left in /usr. Needs root (CI runs
# as root); the package is purged again however the script ends.
#   scripts/package-test.sh     (PACKAGE_CHECKS=0 leaves out lintian and the validators)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
[ "$(id -u)" -eq 0 ] || { echo "package-test: run as root (it installs and purges the package)" >&2; exit 1; }
fail() { echo "package-test: $*" >&2; exit 1; }

bash scripts/package.sh
version=$(sed -n 's/.*kSuiteVersion = "\(.*\)";/\1/p' "${BUILD_DIR:-build}/generated/platform/Version.h")
deb="sitrova_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "$deb was not made"

work=$(mktemp -d)
chmod 0755 "$work"
cleanup() {
  kill $(jobs -p) 2>/dev/null || true
  if dpkg-query -W -f='${Status}' sitrova 2>/dev/null | grep -q "installed"; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq sitrova >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

find /usr -xdev | sort >"$work/usr-before"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null
dpkg -L sitrova >"$work/files"

# The commands, by both their names, report the one version.
[ "$(sitrova --version)" = "Sitrova $version" ] || fail "sitrova --version says: $(sitrova --version)"
[ "$(Sitrova --version)" = "Sitrova $version" ] || fail "Sitrova --version says: $(Sitrova --version)"
sitrova-cui /v | grep -qx "Version $version" || fail "sitrova-cui /v says: $(sitrova-cui /v)"
for command in qdx-scheduler qdx-suite album-fetcher; do
  "$command" --version | grep -q " $version\$" || fail "$command --version says: $($command --version)"
done
if command -v man >/dev/null; then man -w sitrova-cui >/dev/null || fail "no manual for sitrova-cui"; fi

# The demo site on loopback, saved headless by an ordinary user whose home is fresh.
serve() {  # host root portfile [more server options]
  local host=$1 root=$2 portfile=$3
  shift 3
  python3 tests/support/test_server.py --root "$root" --host "$host" --port 0 --max-seconds 300 "$@" >"$portfile" &
  for _ in $(seq 200); do
    grep -q '^PORT ' "$portfile" 2>/dev/null && return 0
    sleep 0.1
  done
}
site="$top/tests/data/demo-site"
serve 127.0.0.2 "$site/other" "$work/port2"
port2=$(awk '/^PORT /{print $2}' "$work/port2")
serve 127.0.0.1 "$site/main" "$work/port1" --rules "$site/rules.json" --subst "PORT2=$port2"
port1=$(awk '/^PORT /{print $2}' "$work/port1")
[ -n "$port1" ] && [ -n "$port2" ] || fail "the loopback servers did not start"

home="$work/home"
mkdir -p "$home"
chown nobody:nogroup "$home"
as_user() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR= "$@"
}
# The C.UTF-8 locale reads English; the usage names the options in either language.
help=$(as_user sitrova --help)
grep -q "^Usage: Sitrova " <<<"$help" || fail "sitrova --help under LANG=C.UTF-8 is not English: $help"
flags=$((0x1 | 0x100 | 0x200 | 0x80000))
code=0
as_user sitrova "SomeComplete,\"http://127.0.0.1:$port1/site/top/index.html\",\"$home/saves/demo.html\",\"$flags\",\"1\",\"4\"" \
  >"$work/save.out" 2>&1 || code=$?
# The demo links a few files that fail on purpose: 1 is a save that ran to its end.
[ "$code" -le 1 ] || { cat "$work/save.out" >&2; fail "the save ended with code $code"; }
[ -f "$home/saves/demo.html" ] && [ -f "$home/saves/demo.qdx" ] || fail "the save left no copy and record"
[ -d "$home/.config/sitrova" ] || fail "no settings folder ~/.config/sitrova"

# The catalogue registration lands in the user's data folder, not beside the program.
as_user qdx-suite QDX "$home/saves/demo.qdx" || fail "qdx-suite QDX failed"
catalogue="$home/.local/share/sitrova/QdxSuite.xml"
grep -q "demo.qdx" "$catalogue" 2>/dev/null || fail "the catalogue $catalogue does not list demo.qdx"
# The registrations the save started by itself end before the package goes.
for _ in $(seq 100); do pgrep -u nobody -f /usr/lib/sitrova/ >/dev/null || break; sleep 0.1; done
left=$(find /usr/lib/sitrova -newer "$work/files" -type f)
[ -z "$left" ] || fail "the programs wrote into their folder: $left"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq sitrova >/dev/null
while read -r path; do
  [ "$path" = "/." ] || [ ! -e "$path" ] || [ -d "$path" ] || fail "$path is left after the purge"
done <"$work/files"
find /usr -xdev | sort >"$work/usr-after"
added=$(comm -13 "$work/usr-before" "$work/usr-after")
[ -z "$added" ] || fail "left in /usr after the purge: $added"
echo "package-test: $deb installed, used by an ordinary user and purged without a trace"
