#!/usr/bin/env bash
# Builds the Debian packages weblark and weblark-hostd with the ordinary Debian tooling:
#
#   scripts/build-packages.sh OUTDIR [JOBS]
#
# The sources (what git knows of, or the whole folder outside git) are copied to
# OUTDIR/weblark-VERSION/ and dpkg-buildpackage builds there, so the .deb files land in
# OUTDIR/ and the source tree stays as it was. A compiler cache, when present, serves
# the package build too: the copy keeps the same place from one build to the next.
set -euo pipefail

out=${1:?usage: $0 OUTDIR [JOBS]}
jobs=${2:-2}
src=$(cd "$(dirname "$0")/.." && pwd)
version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
mkdir -p "$out"
out=$(cd "$out" && pwd)
tree=$out/weblark-$version

rm -rf "$tree"
rm -f "$out"/weblark*_"$version"_* "$out"/weblark_"$version"_*.{buildinfo,changes}
mkdir -p "$tree"
if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$src" && git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do
    [ -e "$f" ] && printf '%s\0' "$f"
  done | tar --null -T - -cf -) | tar -xf - -C "$tree"
else
  (cd "$src" && tar --exclude="./${out#"$src"/}" --exclude=./build --exclude='./build-*' -cf - .) | tar -xf - -C "$tree"
fi

(cd "$tree" && dpkg-buildpackage -b -us -uc -j"$jobs")
rm -rf "$tree"
echo "packages in $out:"
ls -1 "$out"/*.deb
