#!/usr/bin/env bash
# Regenerates the template pictures of the choosers (resources/appdir/template/
# <code>.png and <code>.jpg) as screenshots of the site themes, each rendered
# with sample content, in a virtual X display. Commit the pictures afterwards.
#
#   scripts/shoot-templates.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=resources/appdir/template

command -v xvfb-run >/dev/null || { echo "shoot-templates: xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }
cmake --build "$build" -j2 --target weblark-shoot appdir_material appdir_generated
# As root the web engine's sandbox cannot start.
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/weblark-shoot" --appdir "$build/appdir" --out "$out"
echo "shoot-templates: pictures written to $out"
