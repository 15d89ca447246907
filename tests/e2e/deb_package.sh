#!/usr/bin/env bash
# The Debian package of a native build: made by CPack, passed by lintian,
# installed with apt-get, its programs run, xscreensaver's settings program
# shows it, and it is removed again. Needs root or sudo, and DISPLAY; the
# logs and the settings page are kept in BUILD_DIR/package-check.
# Usage: deb_package.sh BUILD_DIR
build=$(cd "$1" && pwd)
host="$build/tests/x11/x11_test_host"
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools cpack lintian dpkg-deb apt-get
[ -x "$host" ] || fail "no test host at $host"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
out="$build/package-check"
rm -rf "$out" "$build"/tintwalk_*.deb
mkdir -p "$out"

(cd "$build" && cpack -G DEB >"$out/cpack.log" 2>&1) || fail "cpack failed: $(cat "$out/cpack.log")"
package=$(ls "$build"/tintwalk_*.deb)
depends=$(dpkg-deb -f "$package" Depends)
for library in libc6 libx11-6 libpng16-16 libglx0; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "ok: $(basename "$package"), Depends: $depends"

lintian --fail-on error "$package" >"$out/lintian.log" 2>&1 ||
    fail "lintian reports errors: $(cat "$out/lintian.log")"
echo "ok: lintian reports no errors ($(grep -c '^W:' "$out/lintian.log") warnings)"

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -o DPkg::Lock::Timeout=300 "$package" >"$out/install.log" 2>&1 ||
    fail "apt-get install failed: $(cat "$out/install.log")"
remove_package() { "${sudo[@]}" apt-get remove -y -o DPkg::Lock::Timeout=300 tintwalk >"$out/remove.log" 2>&1; }
trap 'remove_package; e2e_cleanup' EXIT
saver=/usr/libexec/xscreensaver/tintwalk

tintwalk-render --community rock --seed 42 --size 64x48 --ticks 20 --output "$e2e_tmp/rock.png" \
    >/dev/null 2>&1 || fail "the installed renderer failed"
[ "$(png_size "$e2e_tmp/rock.png")" = 64x48 ] || fail "the renderer's picture is not 64x48"
echo "ok: the installed renderer makes a picture"

start_host -geometry 160x120 -- "$saver" -root --community fel --ticks 40 --snapshot "$e2e_tmp/fel.png"
wait_exit "$host_pid" 30
[ "$(host_reported_exit)" = 0 ] || fail "the installed saver ended with $(host_reported_exit)"
[ "$(png_size "$e2e_tmp/fel.png")" = 160x120 ] || fail "the saver did not draw the host's 160x120"
echo "ok: the installed saver draws into a host window"

# xscreensaver's settings program reads the description and runs the saver
# in its preview; it will not run savers as root, so then it runs as nobody.
if command -v xscreensaver-settings >/dev/null 2>&1; then
    home=$(mktemp -d "$e2e_tmp/home.XXXXXX")
    printf 'mode:\tone\nselected:\t0\nprograms:\tGL: tintwalk -root \\n\n' >"$home/.xscreensaver"
    as_user=()
    if [ "$(id -u)" -eq 0 ]; then
        chmod 755 "$e2e_tmp" "$home" && chown -R nobody "$home"
        as_user=(runuser -u nobody --)
    fi
    "${as_user[@]}" env HOME="$home" xscreensaver-settings >"$out/settings.log" 2>&1 &
    e2e_pids+=($!)
    preview_runs() { xwininfo -root -tree | grep -q '"Tintwalk screensaver"'; }
    wait_until 30 preview_runs || fail "the settings program shows no preview: $(cat "$out/settings.log")"
    sleep 2
    import -window root "$out/settings.png"
    ! grep -iE 'tintwalk\.xml|unknown|unrecogni|error' "$out/settings.log" ||
        fail "the settings program complains about the description"
    echo "ok: xscreensaver-settings shows the saver (page in $out/settings.png)"
fi

remove_package || fail "apt-get remove failed: $(cat "$out/remove.log")"
[ ! -e "$saver" ] || fail "the saver is still there after removal"
echo "all package checks passed"
