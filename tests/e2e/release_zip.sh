#!/usr/bin/env bash
# The Windows release archive: named by the version, its checksum and those
# of the files inside verify; it holds exactly the saver, the renderer, the
# read-me (CRLF, naming the version) and the sums. The manifest is
# well-formed XML (Windows refuses to start a program whose manifest is
# not); under wine the archived renderer reports the version and the
# archived saver starts.
#   release_zip.sh ZIP VERSION MANIFEST
zip=$1
version=$2
manifest=$3
. "$(dirname "$0")/win32_common.sh"

release=tintwalk-$version-windows-x64
folder=$e2e_tmp/$release
[ "$(basename "$zip")" = "$release.zip" ] || fail "the archive is named $(basename "$zip")"
(cd "$(dirname "$zip")" && sha256sum -c "$release.zip.sha256") || fail "the archive's checksum does not verify"
(cd "$e2e_tmp" && cmake -E tar xf "$zip") || fail "the archive does not extract"
files=$(cd "$e2e_tmp" && find . -type f | sort | tr '\n' ' ')
[ "$files" = "./$release/README.txt ./$release/SHA256SUMS ./$release/tintwalk-render.exe ./$release/tintwalk.scr " ] ||
    fail "the archive holds: $files"
(cd "$folder" && sha256sum -c SHA256SUMS) || fail "the files' checksums do not verify"
! grep -qv $'\r$' "$folder/README.txt" || fail "the read-me has lines without CRLF"
grep -q "Tintwalk $version" "$folder/README.txt" || fail "the read-me does not name version $version"
python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$manifest" ||
    fail "the manifest is not well-formed"
pass "$release.zip, its contents and the manifest"

if command -v wine >/dev/null 2>&1; then
    reported=$(wine "$folder/tintwalk-render.exe" --version 2>/dev/null | tr -d '\r')
    [ "$reported" = "tintwalk-render $version" ] || fail "the renderer reports '$reported'"
    wine "$folder/tintwalk.scr" /x >/dev/null 2>&1  # an unknown mode: -1 once started
    [ $? -eq 255 ] || fail "the archived saver does not start"
    pass "the archived renderer reports $version; the archived saver starts"
fi
