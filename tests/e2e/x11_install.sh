#!/usr/bin/env bash
# The Linux installation: every file under the prefix, in Debian's layout;
# the description's menu starts every community; the man pages list every
# option and format cleanly.
# Usage: x11_install.sh CMAKE BUILD_DIR TINTWALK
cmake=$1
build=$2
saver=$3
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools groff

prefix="$e2e_tmp/prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$e2e_tmp/install.log" ||
    fail "cmake --install failed: $(cat "$e2e_tmp/install.log")"
outside=$(grep -E '^-- (Installing|Up-to-date): ' "$e2e_tmp/install.log" | grep -vF "$prefix/")
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
expected="bin/tintwalk-render
libexec/xscreensaver/tintwalk
share/man/man1/tintwalk-render.1.gz
share/man/man6/tintwalk.6.gz
share/xscreensaver/config/tintwalk.xml"
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
[ "$installed" = "$expected" ] || fail "installed files: $installed"
module="$prefix/libexec/xscreensaver/tintwalk"
cmp -s "$module" "$saver" || fail "the installed program is not the one built"
echo "ok: every file under the prefix, in Debian's layout"

# The description: a paragraph and a menu of "chosen by the clock" and the
# ten communities, free of shell characters (the host runs it through a
# shell). Prints per entry the expected row (or "clock") and the arguments.
python3 - "$prefix/share/xscreensaver/config/tintwalk.xml" >"$e2e_tmp/menu" <<'PY' || fail "the description is wrong"
import re, sys
import xml.etree.ElementTree as tree
names = ["amorfwit", "paarsebergen", "somspaars", "fijnwerk", "geo&vlekkensnel",
         "fel", "rock", "zoetkoraal", "zwavelgrot", "tegelswitzwart"]
saver = tree.parse(sys.argv[1]).getroot()
assert (saver.get("name"), saver.get("_label"), saver.get("gl")) == ("tintwalk", "Tintwalk", "yes")
assert len(saver.find("_description").text.split()) > 30, "no paragraph about the picture"
command = saver.find("command").get("arg")
options = saver.find("select").findall("option")
assert [o.get("_label") for o in options] == \
    ["Community chosen by the clock"] + ["Community " + n for n in names]
assert options[0].get("arg-set") is None
for row, option in enumerate(options):
    arguments = command + " " + (option.get("arg-set") or "")
    assert re.fullmatch(r"[-\w ]+", arguments), arguments
    print(row - 1 if row else "clock", arguments)
PY
while read -r row arguments; do
    timeout 30 "$module" $arguments -window -geometry 40x30 --ticks 1 \
        >/dev/null 2>"$e2e_tmp/menu.err" || fail "'$arguments' is refused: $(cat "$e2e_tmp/menu.err")"
    [ "$row" = clock ] || grep -qx "InitCommunity($row)" "$e2e_tmp/menu.err" ||
        fail "'$arguments' did not start community $row"
done <"$e2e_tmp/menu"
echo "ok: the menu's $(wc -l <"$e2e_tmp/menu") entries start the communities they name"

page=$(zcat "$prefix/share/man/man6/tintwalk.6.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
options=$(env -u DISPLAY "$saver" --help | grep -oE '^ +-{1,2}[a-z][a-z-]*' | tr -d ' ')
[ "$(echo "$options" | wc -l)" -ge 12 ] || fail "--help lists too few options: $options"
for option in $options; do
    grep -qE -- "(^|[^a-z-])-{1,2}${option#"${option%%[a-z]*}"}([^a-z-]|$)" <<<"$page" ||
        fail "the man page does not list $option"
done
version=$(env -u DISPLAY "$saver" --version | awk '{ print $2 }')
grep -q "^\.TH TINTWALK 6 .*\"Tintwalk $version\"" <<<"$page" || fail "the man page is not of version $version"
echo "ok: the man page of version $version lists $(echo $options)"
for manual in "$prefix"/share/man/man*/*.gz; do
    warnings=$(zcat "$manual" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$manual") has formatting problems: $warnings"
done
echo "ok: the man pages format without warnings"
echo "all install checks passed"
