#!/usr/bin/env bash
# The settings dialog under wine: /c, c:1234 and no argument open it with
# its caption, text and "ok"; Enter ends with 1 and stores speed = 49 as a
# REG_DWORD; Esc ends with 0 and stores nothing; a stored 500 is written
# back as 500.
#   win32_dialog.sh TINTWALK_SCR PREVIEW_HOST WINDOW_PROBE
set -u
. "$(dirname "$0")/win32_common.sh"

scr=$1
probe=$3
need_display
need_tools wine xdotool
[ -f "$scr" ] || fail "no saver at $scr"
[ -f "$probe" ] || fail "no window probe at $probe"
wine_ready

key='HKCU\Software\Ostrelle\Tintwalk screensaver'
caption="Tintwalk screensaver"

forget_settings() {
    wine reg delete "$key" /f >/dev/null 2>&1
    ! wine reg query "$key" >/dev/null 2>&1 || fail "cannot remove the settings key"
}

# stored_speed: the speed value as reg prints it ("REG_DWORD 0x31"), or
# nothing when the key or the value is missing.
stored_speed() {
    wine reg query "$key" /v speed 2>/dev/null | tr -d '\r' |
        awk '$1 == "speed" { print $2, $3 }'
}

# open_dialog ARGS...: starts the saver and waits for its dialog.
open_dialog() {
    start_wine "$e2e_tmp/dialog.log" "$scr" "$@"
    dialog_pid=$started_pid
    dialog_window=$(wait_window "$caption" 60)
    wine "$probe" "#32770" "$caption" 30 >"$e2e_tmp/probe.txt" 2>/dev/null ||
        fail "the probe finds no dialog"
}

check_dialog() {
    local what=$1
    grep -q '^child id=65535 class="Static" text="Fully automatic" ' "$e2e_tmp/probe.txt" ||
        fail "$what: no text \"Fully automatic\": $(cat "$e2e_tmp/probe.txt")"
    grep -q '^child id=1 class="Button" text="ok" ' "$e2e_tmp/probe.txt" ||
        fail "$what: no \"ok\" button: $(cat "$e2e_tmp/probe.txt")"
    [ "$(grep -c '^child ' "$e2e_tmp/probe.txt")" -eq 2 ] ||
        fail "$what: not exactly two controls: $(cat "$e2e_tmp/probe.txt")"
    grep -q '^focus text="ok"' "$e2e_tmp/probe.txt" ||
        fail "$what: the focus is not on ok: $(cat "$e2e_tmp/probe.txt")"
}

# press KEY: a key press into the dialog, as a user would type it.
press() {
    timeout 10 xdotool windowfocus --sync "$dialog_window" >/dev/null 2>&1
    xdotool key "$1"
}

# --- /c: Enter stores the default 49 and ends with 1
forget_settings
open_dialog /c
check_dialog "/c"
pass "/c shows the dialog with its caption, its text and ok, which has the focus"
press Return
wait_exit "$dialog_pid" 30
[ "$exit_code" -eq 1 ] || fail "Enter: exit code $exit_code, not 1"
[ "$(stored_speed)" = "REG_DWORD 0x31" ] || fail "Enter: stored speed is '$(stored_speed)'"
pass "Enter ends with 1 and stores speed = 49 as REG_DWORD"

# --- no argument: Esc ends with 0 and stores nothing
forget_settings
open_dialog
check_dialog "no argument"
press Escape
wait_exit "$dialog_pid" 30
[ "$exit_code" -eq 0 ] || fail "Esc: exit code $exit_code, not 0"
! wine reg query "$key" >/dev/null 2>&1 || fail "Esc: the settings key was created"
pass "no argument shows the dialog; Esc ends with 0 and stores nothing"

# --- c:1234 with a stored 500: written back unchanged
wine reg add "$key" /v speed /t REG_DWORD /d 500 /f >/dev/null 2>&1 || fail "cannot store 500"
open_dialog c:1234
check_dialog "c:1234"
press Return
wait_exit "$dialog_pid" 30
[ "$exit_code" -eq 1 ] || fail "c:1234, Enter: exit code $exit_code, not 1"
[ "$(stored_speed)" = "REG_DWORD 0x1f4" ] || fail "a stored 500 came back as '$(stored_speed)'"
pass "c:1234 shows the dialog; a stored 500 is written back as 500"
forget_settings
