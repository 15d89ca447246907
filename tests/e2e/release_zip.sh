#!/usr/bin/env bash
# The Windows release archive: named by the version, its own checksum and
# the checksums of the files inside verify, it holds exactly the saver, the
# renderer, the read-me (Windows line ends) and the sums; the renderer in it
# reports the version and the saver in it starts. The manifest must be
# well-formed XML: Windows refuses to start a program whose manifest is not.
# Usage: release_zip.sh ZIP VERSION MANIFEST
zip=$1
version=$2
manifest=$3
source "$(dirname "$0")/common.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

release=tintwalk-$version-windows-x64
[ "$(basename "$zip")" = "$release.zip" ] || fail "the archive is named $(basename "$zip")"
(cd "$(dirname "$zip")" && sha256sum -c "$release.zip.sha256") || fail "the archive's checksum does not verify"

(cd "$e2e_tmp" && cmake -E tar xf "$zip") || fail "the archive does not extract"
files=$(cd "$e2e_tmp" && find . -type f | sort | tr '\n' ' ')
[ "$files" = "./$release/README.txt ./$release/SHA256SUMS ./$release/tintwalk-render.exe ./$release/tintwalk.scr " ] ||
    fail "the archive holds: $files"
folder=$e2e_tmp/$release
(cd "$folder" && sha256sum -c SHA256SUMS) || fail "the files' checksums do not verify"
! grep -qv $'\r$' "$folder/README.txt" || fail "the read-me has lines without CRLF"
grep -q "Tintwalk $version" "$folder/README.txt" || fail "the read-me does not name version $version"
echo "ok: $release.zip and its contents verify"

python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$manifest" ||
    fail "the manifest is not well-formed"
if command -v wine >/dev/null 2>&1; then
    reported=$(wine "$folder/tintwalk-render.exe" --version 2>/dev/null | tr -d '\r')
    [ "$reported" = "tintwalk-render $version" ] || fail "the renderer reports '$reported'"
    # An unknown mode ends the saver at once with -1: it loads and starts.
    wine "$folder/tintwalk.scr" /x >/dev/null 2>&1
    [ $? -eq 255 ] || fail "the archived saver does not start"
    echo "ok: the archived renderer reports $version; the archived saver starts"
fi
