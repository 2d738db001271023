#!/usr/bin/env bash
# Installs everything the program, its tests and benchmarks need, from Debian's packages.
# Quick when all is present: apt is only touched for packages that are missing.
set -euo pipefail

PKGS=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-webengine-dev qt6-webengine-dev-tools
  libqt6webenginecore6-bin libqt6opengl6-dev qt6-webchannel-dev qt6-tools-dev-tools
  libzip-dev zip unzip python3 clang-format
  qt6-translations-l10n
  xvfb xauth xdotool fonts-noto-cjk imagemagick
  libgl1-mesa-dri
  libkainjow-mustache-dev libmicrohttpd-dev zlib1g-dev wrk nginx-light
)

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
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
