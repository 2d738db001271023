#!/usr/bin/env bash
# Installs from Debian's packages what the given purposes need:
#
#   scripts/install-deps.sh GROUP...
#
#   build     building and running the program and the server
#   tests     the house checks and the test suites (headless and under Xvfb)
#   bench     the benchmarks
#   package   building, checking and trying the Debian packages
#
# Quick when all is present: apt is only touched for packages that are missing.
set -euo pipefail

declare -A GROUP=(
  [build]="cmake g++ make pkgconf
           qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webchannel-dev
           libmicrohttpd-dev zlib1g-dev
           libzip-dev libkainjow-mustache-dev libsqlite3-dev
           libqt6sql6-sqlite libqt6webenginecore6-bin qt6-translations-l10n
           fonts-noto-cjk libgl1-mesa-dri"
  [tests]="clang-format python3 xvfb xauth xdotool imagemagick"
  [bench]="zip wrk nginx-light"
  [package]="dpkg-dev debhelper lintian desktop-file-utils"
)
# build: libsqlite3-dev lets the renderer bound the time a database takes to read;
#   libmicrohttpd serves the web side and zlib writes its .gz copies;
#   libgl1-mesa-dri for the web engine's drawing without a graphics card; the CJK fonts
#   draw the pictures at build time and every Chinese text at run time.
# tests: python3 reads archives with zipfile; xvfb, xauth and xdotool read the real
#   window titles; imagemagick's import takes screenshots under Xvfb.
# bench: zip is the packing benchmark's yardstick, wrk and nginx the serving one's.
# package: dpkg-buildpackage and debhelper build the packages (no fakeroot: the build needs
#   no root), lintian and desktop-file-validate check them; the package test also uses
#   xvfb and python3 (tests).

if [ $# -eq 0 ]; then
  echo "usage: $0 GROUP... (groups: ${!GROUP[*]})" >&2
  exit 2
fi
PKGS=()
for g in "$@"; do
  if [ -z "${GROUP[$g]+set}" ]; then
    echo "install-deps: no group \"$g\" (groups: ${!GROUP[*]})" >&2
    exit 2
  fi
  # shellcheck disable=SC2206 # package names: split on blanks, nothing to glob
  PKGS+=(${GROUP[$g]})
done

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another apt run (another developer's, say) may hold the lock for a while.
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
