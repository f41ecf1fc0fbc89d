#!/usr/bin/env bash
# Installs the Debian package made by `make package` into a fresh Debian 12
# root and runs both programs there: `gridmoor convert` on the demo data and
# the desktop program on a virtual screen. Uses debootstrap when the Debian
# mirror answers (a few minutes); otherwise installs into a scratch root
# with `dpkg --root` and checks that every library the programs load is
# found there or on this machine.
#   scripts/test-package.sh BUILD_FOLDER
set -euo pipefail

build=${1:-build}
build=$(cd "$build" && pwd)
deb=$(ls -t "$build"/gridmoorpro_*.deb | head -1)
demo="$build/demo"
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=${PACKAGE_ROOT:-/tmp/gridmoorpro-package-root}
start=$(date +%s)
echo "package: $deb"
dpkg-deb --info "$deb" | sed -n '/Depends/,/Description/p'

fail() { echo "FAILED: $*" >&2; exit 1; }

run_in_chroot() {
  bash scripts/setup.sh package-test
  if [ ! -x "$root/usr/bin/apt-get" ]; then
    rm -rf "$root"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >/tmp/gridmoorpro-debootstrap.log 2>&1 ||
      return 1
  fi
  mount --bind /proc "$root/proc"
  trap 'umount "$root/proc" 2>/dev/null || true' EXIT
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  cp "$deb" "$root/tmp/"
  rm -rf "$root/tmp/demo" && cp -r "$demo" "$root/tmp/demo"
  chroot "$root" apt-get update -qq
  chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" \
    >/tmp/gridmoorpro-apt.log 2>&1 || { tail -20 /tmp/gridmoorpro-apt.log; fail "apt install"; }
  echo "apt install ./$(basename "$deb"): ok"
  mkdir -p "$root/tmp/out"
  chroot "$root" gridmoor convert --mode quick -o /tmp/out --on-clash overwrite -q /tmp/demo ||
    fail "gridmoor convert"
  shapefiles=$(find "$root/tmp/out" -name '*.shp' | wc -l)
  [ "$shapefiles" -gt 0 ] || fail "no shapefiles written"
  echo "gridmoor convert: $shapefiles shapefiles"
  # GeoPackage output loads its own library on first use.
  chroot "$root" gridmoor convert --format gpkg -o /tmp/out/demo.gpkg --on-clash overwrite -q /tmp/demo ||
    fail "gridmoor convert --format gpkg"
  [ -s "$root/tmp/out/demo.gpkg" ] || fail "no GeoPackage written"
  echo "gridmoor convert --format gpkg: ok"
  # The desktop program on the offscreen platform: it must come up and stay
  # up until it is stopped (timeout's 124), with no missing library.
  set +e
  chroot "$root" env QT_QPA_PLATFORM=offscreen HOME=/tmp timeout 5 GridmoorPro /tmp/demo/roads.WL \
    >/tmp/gridmoorpro-gui.log 2>&1
  status=$?
  set -e
  [ $status -eq 124 ] || { cat /tmp/gridmoorpro-gui.log; fail "GridmoorPro exited with $status"; }
  echo "GridmoorPro: running after 5 s"
  chroot "$root" ogrinfo --formats 2>/dev/null | grep -q MAPGIS && echo "ogrinfo lists the MAPGIS driver" ||
    echo "ogrinfo not installed in the root (gdal-bin is only suggested)"
  chroot "$root" desktop-file-validate /usr/share/applications/gridmoorpro.desktop 2>/dev/null || true
  return 0
}

run_in_scratch_root() {
  rm -rf "$root-scratch" && mkdir -p "$root-scratch"
  dpkg --root="$root-scratch" --force-depends --force-not-root --log=/dev/null --instdir="$root-scratch" \
    --admindir="$root-scratch/var/lib/dpkg" -i "$deb" 2>/dev/null || {
    mkdir -p "$root-scratch/var/lib/dpkg/updates" "$root-scratch/var/lib/dpkg/info"
    touch "$root-scratch/var/lib/dpkg/status"
    dpkg --root="$root-scratch" --force-depends --log=/dev/null -i "$deb"
  }
  for program in usr/bin/GridmoorPro usr/bin/gridmoor; do
    missing=$(LD_LIBRARY_PATH="$root-scratch/usr/lib" ldd "$root-scratch/$program" | grep "not found" || true)
    [ -z "$missing" ] || fail "$program: $missing"
  done
  echo "ldd: every library of both programs found"
  mkdir -p /tmp/gridmoorpro-scratch-out
  LD_LIBRARY_PATH="$root-scratch/usr/lib" "$root-scratch/usr/bin/gridmoor" convert --mode quick \
    -o /tmp/gridmoorpro-scratch-out --on-clash overwrite -q "$demo" || fail "gridmoor convert"
  echo "gridmoor convert: ok"
  LD_LIBRARY_PATH="$root-scratch/usr/lib" "$root-scratch/usr/bin/gridmoor" convert --format gpkg \
    -o /tmp/gridmoorpro-scratch-out/demo.gpkg --on-clash overwrite -q "$demo" || fail "gridmoor convert --format gpkg"
  [ -s /tmp/gridmoorpro-scratch-out/demo.gpkg ] || fail "no GeoPackage written"
  echo "gridmoor convert --format gpkg: ok"
}

if run_in_chroot; then
  echo "tested in a debootstrap root of Debian 12 ($root)"
else
  echo "debootstrap failed (see /tmp/gridmoorpro-debootstrap.log): testing in a scratch root instead"
  run_in_scratch_root
fi
echo "took $(( $(date +%s) - start )) s"
