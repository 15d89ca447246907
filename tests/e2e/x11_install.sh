#!/usr/bin/env bash
# The Linux saver's installation: the program where the xscreensaver family
# looks for its modules, its description for the settings dialog, and a
# man page that lists every option the program knows.
# Usage: x11_install.sh CMAKE BUILD_DIR TINTWALK
cmake=$1
build=$2
saver=$3
source "$(dirname "$0")/x11_common.sh"

root="$e2e_tmp/root"
DESTDIR="$root" "$cmake" --install "$build" --component x11 --prefix /usr >"$e2e_tmp/install.log" ||
    fail "cmake --install failed: $(cat "$e2e_tmp/install.log")"

module="$root/usr/libexec/xscreensaver/tintwalk"
config="$root/usr/share/xscreensaver/config/tintwalk.xml"
manual="$root/usr/share/man/man6/tintwalk.6"
[ -x "$module" ] || fail "no program at /usr/libexec/xscreensaver/tintwalk"
[ -f "$config" ] || fail "no description at /usr/share/xscreensaver/config/tintwalk.xml"
[ -f "$manual" ] || fail "no man page at /usr/share/man/man6/tintwalk.6"
cmp -s "$module" "$saver" || fail "the installed program is not the one built"
env -u DISPLAY "$module" --version >/dev/null || fail "the installed program does not run"
echo "ok: program, description and man page installed"

# The description: well-formed, naming the program, "Fully automatic".
python3 - "$config" <<'PY' || fail "the description is wrong"
import sys
import xml.etree.ElementTree as tree
saver = tree.parse(sys.argv[1]).getroot()
assert saver.tag == "screensaver", saver.tag
assert saver.get("name") == "tintwalk", saver.get("name")
assert saver.get("_label") == "Tintwalk", saver.get("_label")
assert saver.find("_description").text.strip() == "Fully automatic"
PY
echo "ok: the description says \"Fully automatic\""

# The man page: every option of --help is there, in either spelling.
page=$(sed 's/\\-/-/g; s/\\f[BIRP]//g' "$manual")
options=$(env -u DISPLAY "$saver" --help | grep -oE '^ +-{1,2}[a-z][a-z-]*' | tr -d ' ')
[ "$(echo "$options" | wc -l)" -ge 12 ] || fail "--help lists too few options: $options"
for option in $options; do
    grep -qE -- "(^|[^a-z-])-{1,2}${option#"${option%%[a-z]*}"}([^a-z-]|$)" <<<"$page" ||
        fail "the man page does not list $option"
done
echo "ok: the man page lists $(echo $options)"
if command -v groff >/dev/null 2>&1; then
    warnings=$(groff -man -Tutf8 -ww -z "$manual" 2>&1)
    [ -z "$warnings" ] || fail "the man page has formatting problems: $warnings"
    echo "ok: the man page formats without warnings"
fi
echo "all install checks passed"
