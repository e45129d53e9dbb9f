#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the demo need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libcurl4-openssl-dev libsqlite3-dev libdtl-dev libssl-dev zlib1g-dev
  libzip-dev libbrotli-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # The English window texts: lupdate/lrelease and their CMake files.
  qt6-l10n-tools qt6-tools-dev
  fonts-ipafont-gothic fontconfig
  libgtest-dev googletest
  python3 ccache procps util-linux
  # The renderer of "render" (SitrovaRender); the save runs without it when it is missing.
  qt6-webengine-dev libqt6webenginecore6-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
