#!/usr/bin/env bash
# Makes the Debian package sitrova_<version>_amd64.deb in the top folder from the build in
# ./build (or $BUILD_DIR), which it brings up to date first (a build the tests made is reused
# as it is). The version is the project's version in CMakeLists.txt.
#   scripts/package.sh            build, package, then check the package with lintian,
#                                 appstreamcli and desktop-file-validate
#   PACKAGE_CHECKS=0 scripts/package.sh    without the checks
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build_dir="${BUILD_DIR:-build}"
checks="${PACKAGE_CHECKS:-1}"

tools=(dpkg-dev librsvg2-bin)
[ "$checks" = 0 ] || tools+=(lintian appstream desktop-file-utils)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "package: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

bash scripts/install-deps.sh >/dev/null
BUILD_DIR="$build_dir" bash scripts/build.sh -DCMAKE_INSTALL_PREFIX=/usr -DSITROVA_WINDOWS=ON
version=$(sed -n 's/.*kSuiteVersion = "\(.*\)";/\1/p' "$build_dir/generated/platform/Version.h")
[ -n "$version" ] || { echo "package: no version in $build_dir/generated/platform/Version.h" >&2; exit 1; }
arch=$(dpkg --print-architecture)
id=invalid.sitrova.Sitrova
deb="$top/sitrova_${version}_${arch}.deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
DESTDIR="$root" cmake --install "$build_dir" --strip >/dev/null

# The icon in the sizes the desktops ask for, drawn from the one picture.
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$root/usr/share/icons/hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" packaging/sitrova.svg -o "$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done

# Manuals are compressed; each program's page also answers to its lower-case command.
man1="$root/usr/share/man/man1"
gzip -9n "$man1"/*.1
for pair in Sitrova:sitrova SitrovaCui:sitrova-cui QdXScheduler:qdx-scheduler QdxSuite:qdx-suite AlbumFetcher:album-fetcher; do
  ln -sf "${pair%%:*}.1.gz" "$man1/${pair##*:}.1.gz"
done

doc="$root/usr/share/doc/sitrova"
mkdir -p "$doc"
cp packaging/copyright "$doc/copyright"
date=$(date -R -u -d "@${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}")
printf 'sitrova (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- Sitrova project <packages@sitrova.invalid>  %s\n' \
  "$version" "$version" "$date" | gzip -9n >"$doc/changelog.gz"

# Libraries and plug-ins are loaded, not run.
find "$root" -type d -exec chmod 0755 {} +
find "$root/usr/lib/sitrova" -type f \( -name '*.so' -o -name '*.qdi' \) -exec chmod 0644 {} +

# Depends: the Debian packages of the libraries the programs and libraries link.
mkdir -p "$work/src/debian"
printf 'Source: sitrova\n\nPackage: sitrova\nArchitecture: any\n' >"$work/src/debian/control"
mapfile -t objects < <(find "$root/usr/lib/sitrova" -type f \( -perm -u+x -o -name '*.so' -o -name '*.qdi' \))
depends=$(cd "$work/src" && dpkg-shlibdeps -O "${objects[@]}" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "package: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

mkdir -p "$root/DEBIAN"
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" \
  packaging/control.in >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "package: $deb"

if [ "$checks" != 0 ]; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
  for entry in "$root"/usr/share/applications/*.desktop; do desktop-file-validate "$entry"; done
  # Errors fail the package; warnings are shown.
  lintian --fail-on error --suppress-tags-from-file packaging/lintian-suppressed "$deb"
fi
