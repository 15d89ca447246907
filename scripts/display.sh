# Sourced by the scripts. start_xvfb PIDVAR starts a private Xvfb display on
# a free number (wide enough for the 1365x767 pictures of the snapshot
# tests), exports DISPLAY for it and stores the server's process id in the
# variable named PIDVAR; the caller stops the server (kill "$PIDVAR").
# TINTWALK_DISPLAYS="FIRST LAST" narrows the numbers tried (91 to 140), so
# that runs side by side on one machine keep to ranges of their own.
start_xvfb() {
    local -n started_pid=$1
    local n first last
    read -r first last <<<"${TINTWALK_DISPLAYS:-91 140}"
    for n in $(seq "$first" "$last"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1400x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    started_pid=$!
    local i
    for i in $(seq 1 100); do
        if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            export DISPLAY=":$n"
            return 0
        fi
        sleep 0.1
    done
    echo "could not start Xvfb on :$n" >&2
    kill "$started_pid" 2>/dev/null
    return 1
}

# start_xorg_dummy DIR PIDVAR: starts an X server with several monitors
# (Xorg with the dummy video driver, whose outputs DUMMY0, DUMMY1, ...
# xrandr places), its configuration and log in DIR, on a free display number
# from 141 to 240 (or of TINTWALK_DISPLAYS). Exports DISPLAY and stores the
# server's process id in the variable named PIDVAR; the caller stops it.
# Fails where Xorg cannot run (it needs root, or a console).
start_xorg_dummy() {
    local dir=$1 n i first last
    local -n started_xorg=$2
    read -r first last <<<"${TINTWALK_DISPLAYS:-141 240}"
    command -v Xorg >/dev/null 2>&1 && [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
        { echo "Xorg with the dummy driver is not installed" >&2; return 1; }
    # No input devices: tests move the pointer and press keys through XTEST.
    cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 3840 2160
    EndSubSection
EndSection
CONF
    for n in $(seq "$first" "$last"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xorg ":$n" -config "$dir/xorg.conf" -logfile "$dir/xorg.log" -noreset -nolisten tcp \
        -novtswitch -sharevts >/dev/null 2>&1 &
    started_xorg=$!
    for i in $(seq 1 100); do
        if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            export DISPLAY=":$n"
            return 0
        fi
        kill -0 "$started_xorg" 2>/dev/null || break
        sleep 0.1
    done
    kill "$started_xorg" 2>/dev/null
    echo "could not start Xorg on :$n: $(tail -n 3 "$dir/xorg.log" 2>/dev/null)" >&2
    return 1
}

# place_monitors OUTPUT SIZE POSITION...: shows each dummy output with a mode
# of SIZE (made where the server has none of that name) at POSITION
# (XxY) of the X screen, the first one primary, and switches the others off.
place_monitors() {
    local args=() primary=--primary output size position name
    while [ $# -ge 3 ]; do
        output=$1 size=$2 position=$3
        shift 3
        name=${size}_tintwalk
        if ! xrandr | grep -q "^ *$name "; then
            # shellcheck disable=SC2046
            xrandr --newmode "$name" $(cvt "${size%x*}" "${size#*x}" | sed -n 's/^Modeline "[^"]*"//p') ||
                return 1
        fi
        xrandr --addmode "$output" "$name" 2>/dev/null
        args+=(--output "$output" --mode "$name" --pos "$position" $primary)
        primary=
    done
    for output in $(xrandr | awk '/^DUMMY/ { print $1 }'); do
        [[ " ${args[*]} " == *" $output "* ]] || args+=(--output "$output" --off)
    done
    # The dummy outputs count as connected once they show a mode, but the
    # server says so only after probing again, which a plain query does:
    # programs that read the current state (wine) would see one monitor.
    xrandr "${args[@]}" && xrandr >/dev/null
}
