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

# What the build needs is listed once, as the Build-Depends of debian/control, which the
# package build checks too (the first of any alternatives, without versions).
build_depends=$(awk '/^Build-Depends:/ {on = 1; sub(/^Build-Depends:/, ""); print; next}
                     on && /^[ \t]/ {print; next} {on = 0}' "$(dirname "$0")/../debian/control" |
  tr ',' '\n' | sed -E 's/[|(].*//; s/^[[:space:]]+//; s/[[:space:]]+$//' | grep -v -e '^$' -e '^debhelper-compat')

declare -A GROUP=(
  [build]="$build_depends g++ make
           libqt6webenginecore6-bin qt6-translations-l10n libgl1-mesa-dri"
  [tests]="clang-format python3 xvfb xauth xdotool imagemagick npm default-jre-headless libxml2-utils"
  [bench]="zip wrk nginx-light npm chromium"
  [package]="dpkg-dev debhelper lintian desktop-file-utils"
)
# build: debian/control's Build-Depends, the compiler (build-essential there), and what
#   running from the build tree needs: the web engine's helper process, Qt's Chinese
#   texts, libgl1-mesa-dri for the web engine's drawing without a graphics card.
# tests: python3 reads archives with zipfile; xvfb, xauth and xdotool read the real
#   window titles; imagemagick's import takes screenshots under Xvfb.
#   xmllint checks the sitemap and feeds.
# bench: zip is the packing benchmark's yardstick, wrk and nginx the serving one's.
# package: dpkg-buildpackage and debhelper build the packages (no fakeroot: the build needs
#   no root), lintian and desktop-file-validate check them; the package test also uses
#   xvfb and python3 (tests).
# tests and bench also get the web tools of scripts/web-tools/package.json from npm, pinned,
#   into build-tools/web/node_modules: the site search indexer, the HTML checker (run with
#   the Java runtime) and the audit (which drives Debian's chromium; its own browser
#   download is skipped).

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

# Installs the pinned web tools once; again only when the pinned list changes.
install_web_tools() {
  local src dest
  src="$(dirname "$0")/web-tools/package.json"
  dest="$(cd "$(dirname "$0")/.." && pwd)/build-tools/web"
  if [ -d "$dest/node_modules" ] && cmp -s "$src" "$dest/package.json"; then
    return 0
  fi
  mkdir -p "$dest"
  cp "$src" "$dest/package.json"
  echo "Installing the web tools into $dest"
  PUPPETEER_SKIP_DOWNLOAD=1 npm install --prefix "$dest" --no-audit --no-fund --loglevel=error ||
    { rm -f "$dest/package.json"; return 1; }
}

# Packages whose command, present from elsewhere (a Node.js or Java installed by hand), does
# as well: Debian's npm cannot be installed beside another Node.js package.
declare -A COMMAND_OF=([npm]=npm [default-jre-headless]=java)

missing=()
for p in "${PKGS[@]}"; do
  if [ -n "${COMMAND_OF[$p]+set}" ] && command -v "${COMMAND_OF[$p]}" >/dev/null; then
    continue
  fi
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Another apt run (another developer's, say) may hold the lock for a while.
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
fi

for g in "$@"; do
  if [ "$g" = tests ] || [ "$g" = bench ]; then
    install_web_tools
    break
  fi
done
