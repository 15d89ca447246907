#!/usr/bin/env bash
# The install of a native build under a prefix, and its Debian package: made,
# passed by lintian and hardening-check, installed, run as xscreensaver and
# mate-screensaver would, removed. Needs root or sudo, and DISPLAY; logs and
# screenshots stay in BUILD_DIR/package-check.
# Usage: deb_package.sh BUILD_DIR
build=$(cd "$1" && pwd)
. "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "no X display"
need_tools cpack lintian hardening-check dpkg-deb apt-get xdotool xwininfo import identify convert \
    python3 xscreensaver-settings desktop-file-validate dbus-run-session gsettings mate-screensaver
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
out="$build/package-check"
rm -rf "$out" "$build"/tintwalk_*.deb
mkdir -p "$out"

prefix="$e2e_tmp/prefix"
cmake --install "$build" --prefix "$prefix" >"$out/install.log" || fail "cmake --install failed"
installed=$(cd "$prefix" && find . -type f | sort | tr '\n' ' ')
entries="tintwalk-amorfwit tintwalk-fel tintwalk-fijnwerk tintwalk-geo-vlekkensnel \
tintwalk-paarsebergen tintwalk-rock tintwalk-somspaars tintwalk-tegelswitzwart tintwalk-zoetkoraal \
tintwalk-zwavelgrot tintwalk"
[ "$installed" = "./bin/tintwalk-render ./libexec/xscreensaver/tintwalk \
$(printf './share/applications/screensavers/%s.desktop ' $entries)\
./share/man/man1/tintwalk-render.1.gz ./share/man/man6/tintwalk.6.gz \
./share/xscreensaver/config/tintwalk.xml " ] || fail "installed: $installed"

(cd "$build" && cpack -G DEB >"$out/cpack.log" 2>&1) || fail "cpack failed: $(cat "$out/cpack.log")"
package=$(ls "$build"/tintwalk_*.deb)
depends=$(dpkg-deb -f "$package" Depends)
[ "$(grep -oE 'libc6|libx11-6|libpng16-16|libglx0' <<<"$depends" | sort -u | wc -l)" = 4 ] ||
    fail "Depends: $depends"
lintian --fail-on error --display-info "$package" >"$out/lintian.log" 2>&1 ||
    fail "lintian reports errors: $(cat "$out/lintian.log")"
! grep hardening- "$out/lintian.log" || fail "lintian finds a program not hardened"
echo "ok: $(basename "$package") passes lintian ($(grep -c '^W:' "$out/lintian.log") warnings)"
# Every program in it hardened as Debian's own (the control-flow protection that this
# Debian's build flags do not give aside).
dpkg-deb -x "$package" "$e2e_tmp/unpacked"
find "$e2e_tmp/unpacked" -type f -perm -u+x -exec hardening-check --nocfprotection {} + \
    >"$out/hardening-check.log" || fail "not hardened: $(cat "$out/hardening-check.log")"
echo "ok: $(grep -c ':$' "$out/hardening-check.log") programs hardened"

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -o DPkg::Lock::Timeout=300 "$package" >"$out/apt.log" 2>&1 ||
    fail "apt-get install failed: $(cat "$out/apt.log")"
remove_package() {
    "${sudo[@]}" apt-get remove -y -o DPkg::Lock::Timeout=300 tintwalk >"$out/remove.log" 2>&1
}
trap 'remove_package; e2e_cleanup' EXIT
saver=/usr/libexec/xscreensaver/tintwalk
tintwalk-render --size 64x48 --ticks 20 --quiet --output "$e2e_tmp/rock.png" ||
    fail "the installed renderer failed"
[ "$(identify -format %wx%h "$e2e_tmp/rock.png")" = 64x48 ] || fail "no 64x48 picture"

# The menu: the clock's choice, then each row, free of shell characters (a shell runs it);
# each entry, run as xscreensaver would, draws the community it names in a host window.
config=/usr/share/xscreensaver/config/tintwalk.xml
python3 - "$config" >"$e2e_tmp/menu" <<'PY' || fail "the description is wrong"
import re, sys
import xml.etree.ElementTree as tree
saver = tree.parse(sys.argv[1]).getroot()
assert len(saver.find("_description").text.split()) > 30, "no paragraph about the picture"
command = saver.find("command").get("arg")
options = saver.find("select").findall("option")
assert len(options) == 11 and options[0].get("arg-set") is None
for row, option in enumerate(options):
    arguments = command + " " + (option.get("arg-set") or "")
    assert re.fullmatch(r"[-\w ]+", arguments), arguments
    print(row - 1 if row else "clock", arguments)
PY
"$saver" -window -geometry 160x120 >/dev/null 2>&1 &
host_pid=$!
e2e_pids+=("$host_pid")
wait_until 20 xdotool search --pid "$host_pid" || fail "the installed saver shows no window"
host=$(xdotool search --pid "$host_pid" | head -n 1)
while read -r row arguments; do
    XSCREENSAVER_WINDOW=$host timeout 30 "$saver" $arguments --ticks 1 \
        --snapshot "$e2e_tmp/menu.png" >/dev/null 2>"$e2e_tmp/menu.err" ||
        fail "'$arguments' failed: $(cat "$e2e_tmp/menu.err")"
    [ "$row" = clock ] || grep -qx "InitCommunity($row)" "$e2e_tmp/menu.err" ||
        fail "'$arguments' did not start community $row"
    [ "$(identify -format %wx%h "$e2e_tmp/menu.png")" = 160x120 ] || fail "'$arguments': size"
done <"$e2e_tmp/menu"
kill "$host_pid" && wait "$host_pid"
echo "ok: the installed saver draws all $(wc -l <"$e2e_tmp/menu") menu entries in a host window"

# xscreensaver's settings program previews it; it runs savers as nobody, never as root.
home=$(mktemp -d "$e2e_tmp/home.XXXXXX")
printf 'mode:\tone\nselected:\t0\nprograms:\tGL: tintwalk -root \\n\n' >"$home/.xscreensaver"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$e2e_tmp" "$home" && chown -R nobody "$home"
    as_user=(runuser -u nobody --)
fi
# No session bus, so that nothing starts the desktop's services, which would
# outlive the test.
"${as_user[@]}" env HOME="$home" DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1 \
    xscreensaver-settings >"$out/settings.log" 2>&1 &
e2e_pids+=($!)
preview_runs() { xwininfo -root -tree | grep -q '"Tintwalk screensaver"'; }
wait_until 30 preview_runs || fail "no preview in the settings program: $(cat "$out/settings.log")"
sleep 2
import -window root "$out/settings.png"
! grep -iE 'tintwalk\.xml|unknown|unrecogni|error' "$out/settings.log" ||
    fail "the settings program complains about the description"
echo "ok: xscreensaver-settings shows the saver (page in $out/settings.png)"

# MATE's saver program finds each entry by its name (XFCE's reads the same) and,
# made active, runs the chosen one in its window: the screen then shows the
# community's picture, mostly its background with points painted over it.
entry_dir=/usr/share/applications/screensavers
for entry in $entries; do
    desktop-file-validate "$entry_dir/$entry.desktop" >>"$out/desktop-file-validate.log" 2>&1 ||
        fail "$entry.desktop: $(cat "$out/desktop-file-validate.log")"
    grep -qx "Exec=$saver -root.*" "$entry_dir/$entry.desktop" || fail "$entry.desktop: no $saver"
done
background=$(tintwalk-render --community rock --size 1x1 --ticks 0 --quiet --output - |
    convert png:- -format '#%[hex:p{0,0}]' info:)
home=$(mktemp -d "$e2e_tmp/mate.XXXXXX")
cat >"$e2e_tmp/mate.sh" <<'EOF'
gsettings set org.mate.screensaver themes "['screensavers-tintwalk-rock']" &&
    gsettings set org.mate.screensaver mode single &&
    gsettings set org.mate.screensaver lock-enabled false || exit 1
mate-screensaver --no-daemon >"$1/mate-screensaver.log" 2>&1 &
daemon=$!
saver_runs() { pgrep -P "$daemon" -f "^$2 -root --community rock$"; }
for _ in $(seq 100); do mate-screensaver-command --activate >/dev/null 2>&1 && break; sleep 0.1; done
for _ in $(seq 300); do saver_runs "$@" >/dev/null && break; sleep 0.1; done
saver_runs "$@" >/dev/null || { echo "mate-screensaver did not start the saver"; kill "$daemon"; exit 1; }
sleep 3
import -window root "$1/mate-screensaver.png"
kill "$daemon"
wait "$daemon"
exit 0
EOF
# Its own session bus, which ends with it, and the settings in a home of its
# own; MATE shows the entries meant for it.
HOME=$home XDG_CURRENT_DESKTOP=MATE NO_AT_BRIDGE=1 GIO_USE_VFS=local timeout 120 \
    dbus-run-session -- bash "$e2e_tmp/mate.sh" "$out" "$saver" >"$out/mate.log" 2>&1 ||
    fail "$(cat "$out/mate.log")"
read -r top colours < <(convert "$out/mate-screensaver.png" -format %c histogram:info:- |
    sort -rn | awk 'NR == 1 { top = $3 } END { print top, NR }')
[ "$top" = "$background" ] && [ "$colours" -gt 50 ] ||
    fail "mate-screensaver shows $colours colours around $top, not rock's picture on $background"
echo "ok: mate-screensaver lists the $(wc -w <<<"$entries") entries and runs the saver"

remove_package || fail "apt-get remove failed: $(cat "$out/remove.log")"
[ ! -e "$saver" ] || fail "the saver is still there after removal"
! ls "$entry_dir"/tintwalk*.desktop 2>/dev/null || fail "desktop entries left after removal"
echo "all package checks passed"
