#!/usr/bin/env bash
# Installs a build as a package would and checks it as a desktop user meets it:
# the files in place, the menu entry and metadata valid, the program starting from
# the menu with its settings in the per-user folder.
#   check_install.sh BUILD_DIR [DEB]
set -euo pipefail
build=$1
deb=${2:-}
work=$(mktemp -d)
xvfb=
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

expected="usr/games/velo-start
usr/share/applications/org.example.velo_start.desktop
usr/share/doc/velo-start/changelog.Debian.gz
usr/share/doc/velo-start/copyright
usr/share/icons/hicolor/128x128/apps/velo-start.png
usr/share/icons/hicolor/16x16/apps/velo-start.png
usr/share/icons/hicolor/256x256/apps/velo-start.png
usr/share/icons/hicolor/32x32/apps/velo-start.png
usr/share/icons/hicolor/48x48/apps/velo-start.png
usr/share/icons/hicolor/64x64/apps/velo-start.png
usr/share/icons/hicolor/scalable/apps/velo-start.svg
usr/share/lintian/overrides/velo-start
usr/share/man/man6/velo-start.6.gz
usr/share/metainfo/org.example.velo_start.metainfo.xml"
installed=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$installed" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$installed") || true)"
[ -x "$root/usr/games/velo-start" ] || fail "velo-start is not executable"

desktop-file-validate "$root/usr/share/applications/org.example.velo_start.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic --explain \
    "$root/usr/share/metainfo/org.example.velo_start.metainfo.xml" >"$work/as.log" 2>&1 ||
    { cat "$work/as.log"; fail "appstreamcli validate"; }
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$root/usr/share/metainfo/org.example.velo_start.metainfo.xml" ||
    fail "the metadata does not name the licence GPL-3.0-or-later"
man -l "$root/usr/share/man/man6/velo-start.6.gz" >/dev/null 2>&1 ||
    [ ! -x "$(command -v man)" ] || fail "the manual page does not format"

if [ -n "$deb" ]; then
    listed=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' |
        LC_ALL=C sort)
    [ "$listed" = "$expected" ] || fail "the package lists other files:
$(diff <(echo "$expected") <(echo "$listed") || true)"
    dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' ||
        fail "the package does not depend on the Qt libraries it links"
    # The packaged program is hardened as Debian builds its own: no check says no.
    dpkg-deb -x "$deb" "$work/unpacked"
    hardening-check "$work/unpacked/usr/games/velo-start" >"$work/hardening.log" 2>&1 || true
    if grep -q ': no' "$work/hardening.log"; then
        cat "$work/hardening.log"
        fail "hardening-check"
    fi
fi

# An installed copy: its folder cannot be written by the user who runs it. Root may
# write anywhere, so the program then runs as nobody.
chmod -R a-w "$root"
chmod 755 "$work"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
home=$work/home
config=$work/config
runtime=$work/runtime
mkdir -p "$home" "$config" "$runtime"
chmod 700 "$runtime"
if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$home" "$config" "$runtime"
fi

# Any user may draw on this display.
exec 3< <(Xvfb -displayfd 1 -ac -nolisten tcp -screen 0 1024x768x24 2>/dev/null)
xvfb=$!
read -r -u 3 display
export DISPLAY=:$display

# The menu's command, found on the PATH as a desktop would find it: a user's default
# PATH on Debian ends in /usr/local/games:/usr/games (here the installed one comes first,
# so no other copy on the machine is started instead).
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/org.example.velo_start.desktop")
[ "$exec_line" = velo-start ] || fail "the menu entry runs \"$exec_line\""

# start_from_menu CAPTION [UNWANTED]: starts the installed program from / and waits
# for a window with that caption, and none with the unwanted one; fails otherwise.
start_from_menu() {
    local caption=$1 unwanted=${2:-}
    (cd / && exec env -i PATH="$root/usr/games:/usr/bin:/bin" HOME="$home" \
        XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$runtime" DISPLAY="$DISPLAY" \
        "${as_user[@]}" "$exec_line" 2>"$work/stderr") &
    app=$!
    for _ in $(seq 100); do
        if xwininfo -root -tree | grep -q "\"$caption\""; then
            break
        fi
        kill -0 "$app" 2>/dev/null || fail "velo-start ended: $(cat "$work/stderr")"
        sleep 0.1
    done
    xwininfo -root -tree | grep -q "\"$caption\"" || fail "no window \"$caption\""
    if [ -n "$unwanted" ] && xwininfo -root -tree | grep -q "\"$unwanted\""; then
        fail "a window \"$unwanted\" showed as well"
    fi
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=
    [ ! -s "$work/stderr" ] || fail "velo-start wrote errors: $(cat "$work/stderr")"
}

# First start: no settings anywhere, so the locator asks for the game.
start_from_menu "Locate your Quake II Directory"
[ -d "$config/velo-start" ] || fail "no per-user folder $config/velo-start"

# A user who has set the game up before goes straight to the main window.
printf '[Quake2]\r\nPath=/games/quake2\r\nRunSetup=No\r\n' >"$config/velo-start/q2velo.ini"
start_from_menu "Quake II Velo Start v1.0" "Locate your Quake II Directory"
# Its options need no display: help says them; an unknown option or setup ends with status 2.
env -i PATH="$root/usr/games:/usr/bin:/bin" HOME="$home" "${as_user[@]}" velo-start --help |
    grep -q -- '--run NAME' || fail "velo-start --help does not say the options"
for args in --bogus "--run Nope"; do
    status=0
    (cd / && exec env -i PATH="$root/usr/games:/usr/bin:/bin" HOME="$home" \
        XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$runtime" \
        "${as_user[@]}" velo-start $args 2>/dev/null) || status=$?
    [ "$status" -eq 2 ] || fail "velo-start $args ended with status $status, not 2"
done
echo "installed files, menu entry, metadata and first starts are as expected"
