#!/bin/bash
# Writes the renderer's expected site (tests/site/golden) anew from the current
# themes and templates, after a deliberate change to what the site looks like.
# Review the result with `git diff tests/site/golden` before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake --build "$BUILD" -j"${JOBS:-2}" --target test_site_render
QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 WEBLARK_WRITE_GOLDEN=1 \
    "$BUILD/tests/test_site_render" outputMatchesTheExpectedSite
git status --short tests/site/golden
