#!/usr/bin/env bash
# The Debian packages as a user and an operator meet them: lintian finds no error; both
# install with apt; the menu entry is valid and has its icon; a new user (an ordinary one,
# who cannot write under /usr) with an empty home exports the pristine site and starts the
# program, which makes the workspace in the user's data folder; the installed server with
# the installed settings takes a login and an upload and serves the site; removing the
# packages takes /usr/share/weblark and leaves the user's data.
# usage: check_packages.sh PACKAGES_DIR (make package builds the packages there)
# Exits 77 (skipped, with the reason) where the packages cannot be installed.
set -euo pipefail
dir=$(cd "$1" && pwd)
skip() { echo "SKIPPED: $*" && exit 77; }
fail() { echo "FAIL: $*" >&2 && exit 1; }
step() { echo "== $*"; }

shopt -s nullglob
debs=("$dir"/weblark_*.deb "$dir"/weblark-hostd_*.deb)
[ ${#debs[@]} -eq 2 ] || skip "no weblark_*.deb and weblark-hostd_*.deb in $dir (make package builds them)"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || skip "installing packages needs root or sudo without a password"
  as_root=(sudo -n)
fi
for p in weblark weblark-hostd; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    skip "$p is installed on this machine; the test would replace and remove it"
  fi
done
had_state=0
[ -e /var/lib/weblark-hostd ] && had_state=1
had_user=0
getent passwd weblark-hostd >/dev/null && had_user=1

work=$(mktemp -d)
chmod 755 "$work"
tester=""
server=""
xvfb=""
cleanup() {
  set +e
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server"
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 purge -y -qq weblark weblark-hostd >/dev/null 2>&1
  [ $had_state -eq 0 ] && "${as_root[@]}" rm -rf /var/lib/weblark-hostd
  [ $had_user -eq 0 ] && getent passwd weblark-hostd >/dev/null && "${as_root[@]}" userdel weblark-hostd
  [ -n "$tester" ] && "${as_root[@]}" userdel "$tester"
  "${as_root[@]}" rm -rf "$work"
}
trap cleanup EXIT

step "lintian"
lintian --fail-on error --tag-display-limit 0 "${debs[@]}" | tee "$work/lintian.txt" ||
  fail "lintian reports errors"

step "apt-get install"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
  --no-install-recommends "${debs[@]}" >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "the packages do not install"
}
desktop=/usr/share/applications/weblark.desktop
desktop-file-validate "$desktop" || fail "the menu entry is not valid"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -s "/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "the menu entry's icon \"$icon\" is not installed"
# Run as root, the program would be as privileged as the installer; the test user is an ordinary one.
as_tester=()
if [ "$(id -u)" -eq 0 ]; then
  tester=weblarkpkg$$
  useradd --home-dir "$work/nobody" --no-create-home --shell /bin/sh "$tester"
  as_tester=(setpriv --reuid="$tester" --regid="$tester" --init-groups --)
fi
fresh_home() { mkdir "$work/$1" && chown "${tester:-$(id -u)}" "$work/$1" && echo "$work/$1"; }
# as_user HOME [VAR=VALUE...] COMMAND...: as the ordinary user, with only a plain environment.
as_user() { "${as_tester[@]}" env -i HOME="$1" PATH=/usr/bin:/bin LANG=C.UTF-8 "${@:2}"; }

step "weblark --export-site, from an empty home"
home1=$(fresh_home home1)
as_user "$home1" /usr/bin/weblark --export-site "$home1/site" >"$work/export.txt" 2>&1 ||
  fail "export failed: $(cat "$work/export.txt")"
[ -s "$home1/site/index.htm" ] || fail "the exported site has no index.htm"

step "weblark opens its frame on a display, from an empty home"
home2=$(fresh_home home2)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "the virtual display did not start"
display=:$(head -n1 "$work/display")
as_user "$home2" DISPLAY="$display" QTWEBENGINE_DISABLE_SANDBOX=1 timeout 60 /usr/bin/weblark --startup-probe \
  >"$work/start.txt" 2>&1 || fail "the program did not start: $(cat "$work/start.txt")"
grep -q '^startup_ms ' "$work/start.txt" || fail "the frame did not open: $(cat "$work/start.txt")"
db=$home2/.local/share/weblark/userImages/govbuilder.sbd
[ -s "$db" ] || fail "no workspace database $db"

step "weblark-hostd as installed: login, upload, the site on the web side"
state=/var/lib/weblark-hostd
"${as_root[@]}" sh -c "echo '10001 531946' >>$state/accounts.txt"
hostd=(/usr/sbin/weblark-hostd --config /etc/weblark-hostd/weblark-hostd.conf --listen 127.0.0.1 --port 0 --http-port 0)
"${as_root[@]}" setpriv --reuid=weblark-hostd --regid=weblark-hostd --init-groups -- env HOME=$state \
  "${hostd[@]}" >"$work/hostd.out" 2>"$work/hostd.log" </dev/null &
server=$!
for _ in $(seq 100); do grep -q '^http ' "$work/hostd.out" && break; sleep 0.1; done
grep -q '^http ' "$work/hostd.out" || fail "the server did not start: $(cat "$work/hostd.log")"
python3 - "$work/hostd.out" "$(dirname "$db")" <<'EOF' || fail "publishing to the installed server failed: $(cat "$work/hostd.log")"
import io, os, socket, sys, time, urllib.request, zipfile
ports = dict(line.split() for line in open(sys.argv[1]))
port, http, workspace = int(ports["listening"]), int(ports["http"]), sys.argv[2]
s = socket.create_connection(("127.0.0.1", port), timeout=10)
def ask(message, expected):
    s.sendall(message.encode("gb18030"))
    reply = s.recv(65536).decode("gb18030")
    if reply != expected:
        sys.exit(f"{message!r} answered {reply!r}, not {expected!r}")
archive = io.BytesIO()  # the program packs the files of the workspace folder
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
    for name in os.listdir(workspace):
        z.write(os.path.join(workspace, name), name)
data = archive.getvalue()
ask("<#login#>10001||531946", "<#login#>")
ask("<#siteName#>pkgtest", "<#siteName#>")
ask(f"<#sendFileInfo#>{len(data)}", "<#sendFileInfo#>")
s.sendall(data)
for _ in range(300):
    try:
        page = urllib.request.urlopen(f"http://127.0.0.1:{http}/pkgtest/", timeout=5).read()
        if b"<html" in page.lower():
            sys.exit(0)
    except OSError:
        pass
    time.sleep(0.1)
sys.exit("the published site is not served")
EOF
[ -s "$state/sites/pkgtest/www/index.htm" ] || fail "the published site is not in $state/sites/pkgtest/www/"
kill "$server"
wait "$server" || true # ended by the signal
server=""

if command -v systemd-analyze >/dev/null; then
  step "systemd-analyze verify"
  # Faults it only warns about (an unknown key, a bad value) are faults too.
  systemd-analyze verify /lib/systemd/system/weblark-hostd.service >"$work/verify.txt" 2>&1 || true
  [ ! -s "$work/verify.txt" ] || fail "the unit has faults: $(cat "$work/verify.txt")"
fi

step "apt-get remove"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 remove -y -qq \
  weblark weblark-hostd >"$work/apt.log" 2>&1 || fail "the packages do not remove: $(cat "$work/apt.log")"
[ ! -e /usr/share/weblark ] || fail "/usr/share/weblark is left after removal"
[ -s "$db" ] || fail "removing the package lost the user's workspace"
echo "packages checked"
