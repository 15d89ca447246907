#!/usr/bin/env bash
# The settings dialog under wine: /c, c:1234 and no argument open it with its
# caption, text and "ok" (focused); Enter ends with 1 and stores speed as a
# REG_DWORD (49 by default, a stored 500 unchanged); Esc ends with 0 and
# stores nothing.
#   win32_dialog.sh TINTWALK_SCR PREVIEW_HOST WINDOW_PROBE
set -u
. "$(dirname "$0")/win32_common.sh"

win32_start "$@"
scr=$1 probe=$3

key='HKCU\Software\Ostrelle\Tintwalk screensaver'
caption="Tintwalk screensaver"
probed=$e2e_tmp/probe.txt

# stored: the speed as reg prints it ("REG_DWORD 0x31"), "none" without the key.
stored() {
    wine reg query "$key" >"$e2e_tmp/reg.txt" 2>/dev/null || { echo none; return; }
    tr -d '\r' <"$e2e_tmp/reg.txt" | awk '$1 == "speed" { print $2, $3 }'
}

# dialog ARGS KEY STORED EXIT AFTER: with STORED in the registry ("-": no
# key), opens the dialog, checks it, presses KEY and expects EXIT and AFTER.
dialog() {
    local args=$1 press=$2 before=$3 code=$4 after=$5 window pid
    wine reg delete "$key" /f >/dev/null 2>&1
    if [ "$before" != - ]; then
        wine reg add "$key" /v speed /t REG_DWORD /d "$before" /f >/dev/null 2>&1 ||
            fail "cannot store $before"
    fi
    # shellcheck disable=SC2086
    start_wine "$e2e_tmp/dialog.log" "$scr" $args
    pid=$started_pid
    window=$(wait_window "$caption" 60)
    wine "$probe" "#32770" "$caption" 30 >"$probed" 2>/dev/null || fail "the probe finds no dialog"
    grep -q '^child id=65535 class="Static" text="Fully automatic" ' "$probed" &&
        grep -q '^child id=1 class="Button" text="ok" ' "$probed" &&
        [ "$(grep -c '^child ' "$probed")" -eq 2 ] && grep -q '^focus text="ok"' "$probed" ||
        fail "'$args': the dialog is not its text and a focused ok: $(cat "$probed")"
    timeout 10 xdotool windowfocus --sync "$window" >/dev/null 2>&1
    xdotool key "$press"
    wait_exit "$pid" 30
    [ "$exit_code" -eq "$code" ] || fail "'$args', $press: exit code $exit_code, not $code"
    [ "$(stored)" = "$after" ] || fail "'$args', $press: stored speed '$(stored)', not '$after'"
    pass "'$args' shows the dialog; $press ends with $code and leaves '$after'"
}

dialog /c Return - 1 "REG_DWORD 0x31"
dialog "" Escape - 0 none
dialog c:1234 Return 500 1 "REG_DWORD 0x1f4"
wine reg delete "$key" /f >/dev/null 2>&1
exit 0
