#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, once.
# Quiet when everything is already there; needs root (or sudo) otherwise.
# `setup.sh screenshot` also installs what make screenshot needs.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev
  libcli11-dev nlohmann-json3-dev
  python3-jsonschema           # the JSON reports are validated against their schemas
  bash-completion              # make install puts the completion of gridmoor in its folder
  libshp-dev
  gdal-bin libgdal-dev
  libproj-dev                  # EPSG systems from PROJ's database
  libgeos-dev                  # polygon validity in the run report
  python3-gdal                 # GDAL's GeoPackage validation in the tests
  clang libclang-rt-dev        # the fuzz targets of make test
  qt6-base-dev qt6-base-dev-tools libgl-dev
  python3-qgis python3-numpy   # the QGIS check of the style files (tests/style)
  qt6-translations-l10n        # Qt's own Chinese texts in stock dialogs
  help2man desktop-file-utils  # man pages and the desktop entry of make install
  dpkg-dev file                # make package (dpkg-shlibdeps)
)
if [ "${1:-}" = screenshot ]; then
  # A virtual display and a font with Chinese glyphs.
  packages+=(xvfb xauth fonts-wqy-microhei)
fi
if [ "${1:-}" = package-test ]; then
  # A fresh Debian root to install the package into.
  packages+=(debootstrap)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run as root to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
