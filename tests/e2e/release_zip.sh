#!/usr/bin/env bash
# The Windows release archive and the installer beside it: their checksums and
# those of the files inside the archive verify; it holds exactly the saver (a GUI program that needs no runtime
# libraries), the renderer, the read-me (CRLF, naming the version) and the
# sums. The manifest is well-formed XML, which Windows requires to start.
#   release_zip.sh ZIP VERSION MANIFEST OBJDUMP
set -u
zip=$(realpath "$1") version=$2 manifest=$(realpath "$3") objdump=$4
. "$(dirname "$0")/common.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

release=tintwalk-$version-windows-x64
(cd "$(dirname "$zip")" && sha256sum -c "$release.zip.sha256" "tintwalk-$version-setup.exe.sha256") ||
    fail "the archive's or the installer's checksum"
cd "$e2e_tmp" && cmake -E tar xf "$zip" || fail "the archive does not extract"
files=$(find "$release" -type f | sort | tr '\n' ' ')
[ "$files" = "$(printf "$release/%s " README.txt SHA256SUMS tintwalk-render.exe tintwalk.scr)" ] ||
    fail "the archive holds: $files"
(cd "$release" && sha256sum -c SHA256SUMS) || fail "the files' checksums do not verify"
! grep -qv $'\r$' "$release/README.txt" || fail "the read-me has lines without CRLF"
grep -q "Tintwalk $version" "$release/README.txt" || fail "the read-me does not name $version"
"$objdump" -p "$release/tintwalk.scr" >"$e2e_tmp/headers.txt" || fail "objdump failed"
grep -q 'Subsystem.*(Windows GUI)' "$e2e_tmp/headers.txt" || fail "the saver is no GUI program"
awk '/DLL Name:/ { print tolower($3) }' "$e2e_tmp/headers.txt" |
    grep -vxE '(advapi32|gdi32|kernel32|msvcrt|opengl32|user32)\.dll' && fail "not in every Windows"
python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$manifest" ||
    fail "the manifest is not well-formed"
echo "ok: $release.zip"
