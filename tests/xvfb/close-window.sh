# shellcheck shell=bash
# Sourced by the end-to-end scripts: closing a program's window as a user does.

wait_exit() { # PID [TENTHS] -> its exit status, or 124 after TENTHS/10 s (10 s)
    for _ in $(seq 1 "${2:-100}"); do
        kill -0 "$1" 2>/dev/null || { wait "$1"; return $?; }
        sleep 0.1
    done
    return 124
}

close_window() { # WINDOW PID -> the program's exit status after Alt+F4
    xdotool windowactivate --sync "$1" key --clearmodifiers alt+F4
    wait_exit "$2" 50
    local status=$?
    # A key sent while the window manager is still handing the focus over can
    # go astray on a loaded machine; a window still shown never got it, so it
    # gets the key once more. A window gone has the program ten more seconds
    # to end.
    [ "$status" -eq 124 ] || return "$status"
    if xdotool search --onlyvisible --name '^Pellix' 2>/dev/null | grep -qx "$1"; then
        echo "$(basename "$0"): Alt+F4 did not reach the window; sending it again" >&2
        xdotool windowactivate --sync "$1" key --clearmodifiers alt+F4
    fi
    wait_exit "$2"
}
