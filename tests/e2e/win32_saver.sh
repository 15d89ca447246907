#!/usr/bin/env bash
# tintwalk.scr under wine, one saver start per row of the table at the end:
# full screen with each drawing method, on one monitor and across two, and the
# preview in a host window, whose pictures must equal tintwalk-render.exe's
# pixel for pixel before an input or the host's end ends them with 0; the
# lines on a redirected standard output; the settings dialog and what it
# stores; the installer, silent both ways, and the saver it installs.
#   win32_saver.sh TINTWALK_SCR TINTWALK_RENDER_EXE PREVIEW_HOST SETUP_EXE
set -u
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/../../scripts/display.sh"

[ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display"; exit 77; }
need_tools wine xdotool xwininfo import convert compare identify winepath
scr=$1 render=$2 host=$3 setup=$4
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ] || timeout 180 wineboot -i >/dev/null 2>&1
# The size of the X screen, every monitor together.
screen_size() {
    read -r width height < <(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { print w, $2 }')
}
screen_size
key='HKCU\Software\Ostrelle\Tintwalk screensaver'
log=$e2e_tmp/saver.log
ticks=40

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start PROGRAM ARGS...: a Windows program in the background, writing to log.
start() {
    rm -f "$log"
    wine "$@" >"$log" 2>&1 &
    pid=$!
    e2e_pids+=("$pid")
}

# ends CODE: the started program ends within a minute, with CODE.
ends() {
    wait_until 60 process_gone "$pid" || fail "$pid did not end"
    wait "$pid"
    local code=$?
    [ "$code" -eq "$1" ] || fail "exit code $code, not $1: $(tail -3 "$log")"
}

# same_picture WIDTH HEIGHT: once the saver's clock has stopped, the
# nameless off-screen window of that size, where wine draws OpenGL, shows the
# renderer's picture of the saver's community and seed.
same_picture() {
    local size=${1}x$2 community seed id w h
    local shot=$e2e_tmp/shot.png expected=$e2e_tmp/render.png
    wait_until 120 grep -q '^frame clock stopped' "$log" || fail "no stop: $(tail -3 "$log")"
    community=$(tr -d '\r' <"$log" | sed -n "s/^community '\(.*\)' : habitat.*/\1/p")
    seed=$(tr -d '\r' <"$log" | sed -n 's/^Biotope::Create([0-9, ]*, \([0-9]*\))$/\1/p')
    wine "$render" --community "$community" --seed "$seed" --size "$size" --ticks "$ticks" \
        --output "$(winepath -w "$expected")" >/dev/null 2>&1 || fail "no render: $(cat "$log")"
    for id in $(xwininfo -root -tree |
        awk -v size=" $size+" '/\(has no name\): \(\)/ && index($0, size) { print $1 }'); do
        import -silent -window "$id" "$shot" || continue
        # Wine keeps its window at (-1, -1): the top row and left column are not seen.
        read -r w h <<<"$(identify -format "%w %h" "$shot")"
        convert "$expected" -gravity SouthEast -crop "${w}x$h+0+0" +repage "$e2e_tmp/crop.png"
        [ "$(compare -metric AE "$shot" "$e2e_tmp/crop.png" null: 2>&1)" = 0 ] && return 0
    done
    fail "'$community', seed $seed at $size: not the renderer's picture"
}

# full_screen METHOD DRIVER USED INPUT [X Y]: the saver told to draw with
# METHOD on DRIVER, the pointer at X Y (the middle), covers the whole X screen,
# uses USED and paints the renderer's picture; INPUT ends it with 0.
full_screen() {
    xdotool mousemove "${5:-$((width / 2))}" "${6:-$((height / 2))}"
    TINTWALK_TEST_HOOK_STOP_TICKING_AFTER=$ticks TINTWALK_DRAW=$1 GALLIUM_DRIVER=$2 start "$scr" /s
    same_picture "$width" "$height"
    [ "$(xwininfo -name 'Screen Saver' | awk '/Absolute|Width|Height/ { printf "%s ", $NF }')" = \
        "0 0 $width $height " ] || fail "the saver does not cover $width x $height"
    grep -q "^GlPresenter::Start([0-9, ]*): $3 on $2" "$log" || fail "$(grep '^GlPresenter' "$log")"
    case $4 in
        key) xdotool key space ;;
        click) xdotool click 1 ;;
        travel)  # a pointer travel of 4 is tolerated, the fifth pixel ends it
            xdotool mousemove_relative 2 2
            sleep 2
            process_alive "$pid" || fail "a pointer travel of 4 ended the saver"
            xdotool mousemove_relative 1 0
            ;;
    esac
    ends 0
}

# lines: a saver run without the test clock, ended by a key, has all its
# progress lines in a redirected standard output.
lines() {
    start "$scr" /s
    wait_until 60 xdotool search --name '^Screen Saver$' || fail "no saver window"
    sleep 2
    xdotool key space
    ends 0
    [ "$(grep -cE '^(GlPresenter::Start|Biotope::Create|created |genes )' "$log")" = 13 ] ||
        fail "lines lost: $(cat "$log")"
}

# dialog ARGS KEY STORED EXIT AFTER: with STORED in the registry ("-": none),
# the saver started with ARGS ("-": none) shows its settings; KEY ends them
# with EXIT, leaving AFTER stored.
dialog() {
    wine reg delete "$key" /f >/dev/null 2>&1
    [ "$3" = - ] || wine reg add "$key" /v speed /t REG_DWORD /d "$3" /f >/dev/null 2>&1 ||
        fail "cannot store $3"
    start "$scr" ${1#-}
    wait_until 60 xdotool search --name '^Tintwalk screensaver$' || fail "no settings dialog"
    for _ in 1 2 3 4 5 6; do  # it may show before it takes keys
        timeout 10 xdotool search --name '^Tintwalk screensaver$' windowfocus --sync >/dev/null 2>&1
        xdotool key "$2"
        wait_until 5 process_gone "$pid" && break
    done
    ends "$4"
    stored=$(wine reg query "$key" 2>/dev/null | tr -d '\r' | awk '$1 == "speed" { print $3 }')
    [ "${stored:-none}" = "$5" ] || fail "speed ${stored:-none} stored, not $5"
}

# preview WIDTH HEIGHT: the saver paints in a host window of that size and
# ends with 0 when the host goes.
preview() {
    TINTWALK_TEST_HOOK_STOP_TICKING_AFTER=$ticks start "$host" "$(winepath -w "$scr")" "$1" "$2" \
        "$(winepath -w "$e2e_tmp/go")"
    same_picture "$1" "$2"
    touch "$e2e_tmp/go"
    ends 0
}

# monitors X Y OUTPUT SIZE POSITION...: on an X server with the dummy
# outputs placed so (the first primary), the saver started with the pointer at
# X Y of the X screen covers every monitor and what lies between them with
# one picture, and pointer travel ends it. Windows' virtual screen starts at
# the primary monitor's corner, so its origin is negative here.
monitors() {
    local x=$1 y=$2 shown=$DISPLAY
    shift 2
    if [ -z "${xorg_display:-}" ]; then
        mkdir -p "$e2e_tmp/xorg"
        if ! start_xorg_dummy "$e2e_tmp/xorg" xorg_pid; then
            [ "$(id -u)" != 0 ] || fail "Xorg did not start"
            echo "skip: monitors $x $y $*: Xorg runs for root only"
            return
        fi
        e2e_pids+=("$xorg_pid")
        xorg_display=$DISPLAY
    fi
    # Wine learns the monitors when its server starts: let the last one end.
    wineserver -w
    export DISPLAY=$xorg_display
    place_monitors "$@" >/dev/null || fail "cannot place the monitors $*"
    screen_size
    full_screen auto llvmpipe texture travel "$x" "$y"
    wineserver -w
    export DISPLAY=$shown
    screen_size
}

# The drive's files and the registry's keys, for a comparison before and after.
state() {
    wineserver -w
    (cd "$WINEPREFIX/drive_c" && find . | sort) >"$e2e_tmp/$1.files"
    cat "$WINEPREFIX"/{system,user}.reg | sed -n 's/^\(\[.*\]\) [0-9]*$/\1/p' | sort >"$e2e_tmp/$1.keys"
}

# installed: the silent install puts the saver where the Screen Saver
# Settings find it, makes it the current saver and lists it with the
# installed programs; the saver runs from there; the silent uninstall takes
# away every file, key and value that the install or the saver added. Only
# the uninstaller's copy of itself in the temporary folder stays, for the
# system to delete at the next start.
installed() {
    local scr uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintwalk'
    local name value
    [ -f "$setup" ] || fail "no installer $setup"
    state before
    wine "$setup" /S || fail "the silent install failed"
    wineserver -w
    scr=$(wine reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE | tr -d '\r' |
        sed -n 's/^ *SCRNSAVE.EXE *REG_SZ *//p')
    [ "$scr" = 'C:\windows\system32\tintwalk.scr' ] || fail "the current saver is '$scr'"
    while read -r name value; do
        wine reg query "$uninstall" /v "$name" | tr -d '\r' | grep -qE "^ *$name +REG_[A-Z]+ +$value$" ||
            fail "$name is not $value"
    done <<EOF
DisplayName Tintwalk screensaver
DisplayVersion [0-9]+\.[0-9]+\.[0-9]+
Publisher Ostrelle
DisplayIcon C:\\\\windows\\\\system32\\\\tintwalk.scr,0
UninstallString "C:\\\\Program Files\\\\Tintwalk\\\\uninstall.exe"
EstimatedSize 0x[0-9a-f]{3,}
EOF
    full_screen auto llvmpipe texture key
    wine reg add "$key" /v speed /t REG_DWORD /d 49 /f >/dev/null 2>&1
    wine 'C:\Program Files\Tintwalk\uninstall.exe' /S || fail "the silent uninstall failed"
    state after
    comm -13 "$e2e_tmp/before.files" "$e2e_tmp/after.files" | grep -v '^\./users/[^/]*/Temp/~nsu' &&
        fail "files left behind"
    comm -13 "$e2e_tmp/before.keys" "$e2e_tmp/after.keys" | grep . && fail "keys left behind"
    ! wine reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE >/dev/null 2>&1 ||
        fail "SCRNSAVE.EXE is still set"
}

while read -r -u 3 mode arguments; do
    # shellcheck disable=SC2086
    "$mode" $arguments
    echo "ok: $mode $arguments"
done 3<<'EOF'
full_screen auto llvmpipe texture key
full_screen points llvmpipe points travel
full_screen tiles softpipe tiles click
lines
dialog /c Return - 1 0x31
dialog - Escape - 0 none
dialog c:1234 Return 500 1 0x1f4
preview 152 112
monitors 320 240 DUMMY0 800x600 640x0 DUMMY1 640x480 0x0
monitors 400 1068 DUMMY0 800x600 0x768 DUMMY1 1024x768 0x0
installed
EOF
