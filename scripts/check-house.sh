#!/usr/bin/env bash
# House rules that the compiler does not enforce:
#   1. a core source (a file of a src/ folder that src/ui-files.txt does not
#      name) includes no QtWidgets or QtWebEngine header, in any spelling
#      (<QWidget>, <QtWidgets/QWidget>, <qwidget.h>, <QtWebEngineWidgets>, ...);
#   2. every C++ file is formatted as .clang-format says.
# Prints what is wrong and exits non-zero; silent and zero when all is well.
#
# check-house.sh [FOLDER...]   formatting is checked below the given folders
#                              (default: src server tools tests bench)
set -uo pipefail
cd "$(dirname "$0")/.."

folders=("$@")
[ ${#folders[@]} -eq 0 ] && folders=(src server tools tests bench)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

# --- 1. core sources stay free of widgets and the web engine ------------------

qt_headers=""
for q in qmake6 qtpaths6; do
    if command -v "$q" >/dev/null; then
        if [ "$q" = qmake6 ]; then qt_headers=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null)
        else qt_headers=$(qtpaths6 --query QT_INSTALL_HEADERS 2>/dev/null); fi
        [ -d "$qt_headers/QtWidgets" ] && break
    fi
done
if [ ! -d "$qt_headers/QtWidgets" ]; then
    echo "check-house: cannot find the Qt 6 headers (QtWidgets); is qt6-base-dev installed?" >&2
    exit 2
fi

# Every header of the forbidden modules, except names another module also ships
# (QtWidgets keeps forwarding headers such as qaction.h for what moved to QtGui).
forbidden_modules=()
for d in "$qt_headers"/QtWidgets "$qt_headers"/QtWebEngine*; do
    [ -d "$d" ] && forbidden_modules+=("$(basename "$d")")
done
for m in "${forbidden_modules[@]}"; do ls "$qt_headers/$m"; done | sort -u >"$tmp/forbidden"
for d in "$qt_headers"/*/; do
    m=$(basename "$d")
    case " ${forbidden_modules[*]} " in *" $m "*) continue ;; esac
    ls "$d"
done | sort -u >"$tmp/allowed"
comm -23 "$tmp/forbidden" "$tmp/allowed" >"$tmp/names"
printf '%s\n' "${forbidden_modules[@]}" >"$tmp/modules"

# Core files: every .h and .cpp of a src/ folder that no pattern of src/ui-files.txt
# names (the build splits the libraries by the same file).
ui_files=()
while IFS= read -r pattern; do
    case $pattern in '#'* | '') continue ;; */*) ;; *) pattern="*/$pattern" ;; esac
    while IFS= read -r f; do ui_files+=("src/$f"); done < <(cd src && compgen -G "$pattern")
done <src/ui-files.txt
core_files=()
for f in src/*/*.h src/*/*.cpp; do
    case " ${ui_files[*]} " in *" $f "*) continue ;; esac
    core_files+=("$f")
done
if [ ${#core_files[@]} -eq 0 ]; then
    echo "check-house: no core files found below src/" >&2
    exit 2
fi

awk -v names="$tmp/names" -v modules="$tmp/modules" '
    BEGIN {
        while ((getline n < names) > 0) bad[n] = 1
        while ((getline m < modules) > 0) mod[m] = 1
    }
    match($0, /^[ \t]*#[ \t]*include[ \t]*[<"][^>"]+[>"]/) {
        inc = substr($0, RSTART, RLENGTH)
        sub(/^[^<"]*[<"]/, "", inc); sub(/[>"]$/, "", inc)
        first = inc; sub(/\/.*/, "", first)
        if ((inc ~ /\// && first in mod) || (inc !~ /\// && inc in bad))
            printf "  %s:%d: #include <%s>\n", FILENAME, FNR, inc
    }' "${core_files[@]}" >"$tmp/includes"
if [ -s "$tmp/includes" ]; then
    echo "Core sources must not include QtWidgets or QtWebEngine headers (move the code to a window file):"
    cat "$tmp/includes"
    failed=1
fi

# --- 2. formatting -------------------------------------------------------------

if ! command -v clang-format >/dev/null; then
    echo "check-house: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
    exit 2
fi
# Each batch filters its own diagnostics down to file names, so the lines of two
# parallel batches never mix; a batch that fails without naming a file (a broken
# .clang-format, say) reports its first line.
find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
    xargs -0 -r -P2 -n16 sh -c '
        out=$(clang-format --dry-run --Werror "$@" 2>&1); status=$?
        names=$(printf "%s\n" "$out" | sed -n "s/^\(.*\):[0-9]*:[0-9]*: \(error\|warning\): .*clang-format.*/\1/p" | sort -u)
        if [ -n "$names" ]; then printf "%s\n" "$names"
        elif [ $status -ne 0 ]; then printf "clang-format failed: %s\n" "$(printf "%s\n" "$out" | head -n 1)"; fi' _ |
    sort -u >"$tmp/format"
if [ -s "$tmp/format" ]; then
    echo "Files that differ from .clang-format (fix with: clang-format -i FILE...):"
    sed 's/^/  /' "$tmp/format"
    failed=1
fi

exit $failed
