#!/usr/bin/env bash
# Runs the program in a virtual X display and reads back the real titles of its
# windows, as the window system shows them: exactly the captions, nothing appended.
# usage: check_titles.sh <weblark executable> <staged application directory>
set -euo pipefail
exe=$1
staged=$2

if [ -z "${WEBLARK_IN_XVFB:-}" ]; then
  # The inner run leaves a marker once the display is up; without it the display
  # failed to start (another one took its number at that moment), so try again.
  export WEBLARK_IN_XVFB=1
  export WEBLARK_XVFB_MARKER
  WEBLARK_XVFB_MARKER=$(mktemp -u)
  for _ in 1 2 3; do
    status=0
    xvfb-run -a -n $((200 + RANDOM % 500)) -s "-screen 0 1280x800x24" bash "$0" "$@" || status=$?
    if [ -e "$WEBLARK_XVFB_MARKER" ]; then
      rm -f "$WEBLARK_XVFB_MARKER"
      exit $status
    fi
    echo "the virtual display did not start; trying again" >&2
  done
  exit 1
fi
touch "$WEBLARK_XVFB_MARKER"
export LC_ALL=C.UTF-8

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the application directory whose pristine database carries a site name,
# and a workspace without a database: start-up builds a new one, sets the stray
# file aside and says so in a notice over the frame.
cp -r "$staged" "$work/app"
rm -f "$work/app/weblark"
python3 - "$work/app/initData/govbuilder.sbd" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("UPDATE user_info SET webName = ? WHERE user_ID = 1", ("市政府",))
db.commit()
PY
mkdir -p "$work/app/userImages"
echo stray > "$work/app/userImages/old.jpg"

QT_QPA_PLATFORM=xcb QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox" \
  "$exe" --appdir "$work/app" >"$work/log" 2>&1 &
pid=$!

titles() {
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    xdotool getwindowname "$id" 2>/dev/null || true
  done
}

# Waits (at most 60 s) for a visible window with exactly this title.
wait_for() {
  for _ in $(seq 1 240); do
    if grep -qxF "$1" <<<"$(titles)"; then
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
  done
  echo "no window titled \"$1\"; titles seen:" >&2
  titles >&2
  echo "program output:" >&2
  cat "$work/log" >&2
  return 1
}

wait_for "提示"
wait_for "市政府--Weblark自动建站系列软件"
if grep -F "Weblark自动建站软件" <<<"$(titles)"; then
  echo "a title carries the program's name appended" >&2
  exit 1
fi
echo "titles exact"
