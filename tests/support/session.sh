# shellcheck shell=bash disable=SC2154 # work and fail come from the script that sources this
# Sourced by scripts that run programs on a display of their own (the session tests and the
# benchmarks): every process a script starts ends with it, and so does its scratch folder.
#   work=$(mktemp -d); . tests/support/session.sh
# Each process started goes into `pids`; on exit they are ended newest first (a window
# manager outlives its clients, a display its window manager), then `work` is removed unless
# KEEP_WORK is set. Scripts define `fail` before calling the starters below.
pids=()
# Whether a process runs (not ended, nor ended and waiting to be reaped).
running() { [ -e "/proc/$1" ] && [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" != Z ]; }
# Ends a process: asked first, then, if it still runs ten seconds later, killed, and named on
# standard error so that what hung is known.
end_process() {
    local pid=$1 _
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 100); do
        running "$pid" || break
        sleep 0.1
    done
    if running "$pid"; then
        echo "cleanup: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) ($pid) ignored SIGTERM" >&2
        kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
}
# Folders besides $work that go at the end.
cleanup_also=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        end_process "${pids[i]}"
    done
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$work" "${cleanup_also[@]}"
}
trap cleanup EXIT

# start_xvfb WxHxDEPTH: an X display of its own, on the first free number, exported as DISPLAY
# (and no Wayland display beside it). Xvfb writes that number once it is ready, and the pipe
# ends at once if it fails, so nothing waits on a guess.
start_xvfb() {
    local number
    mkfifo "$work/display"
    Xvfb -displayfd 3 -screen 0 "$1" +extension GLX +render -noreset -nolisten tcp \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    read -r -t 120 number <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=:$number
    unset WAYLAND_DISPLAY
}

# start_weston SOCKET WIDTH HEIGHT: a headless Weston whose runtime folder is `work` (mode
# 0700, as mktemp makes it); waits for its socket, which it makes once it takes clients.
start_weston() {
    local socket=$1 _
    XDG_RUNTIME_DIR=$work weston --backend=headless-backend.so --use-pixman --no-config \
        --socket="$socket" --width="$2" --height="$3" >"$work/weston.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1200); do
        [ -S "$work/$socket" ] && return 0
        kill -0 "${pids[-1]}" 2>/dev/null || break
        sleep 0.1
    done
    fail "Weston did not start: $(cat "$work/weston.log")"
}
