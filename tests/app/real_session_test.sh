#!/usr/bin/env bash
# The real program in a desktop session (Xvfb with a window manager), used as a user would:
# - started with files that all fail to open, it reports each and exits with status 1;
# - drags from another X client over the XDND protocol, as a file manager sends them, open
#   scene files dropped over the scene or the menu bar and are refused for anything else;
# - closing its last window ends it, with status 0.
#   real_session_test.sh ORBALIN XDND_DRAG SCENE_FILE
# The test brings its own display, so that its window manager never manages the windows of
# suites running beside it.
set -euo pipefail
orbalin=$1 drag=$2 scene=$3

work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A display of its own: Xvfb writes the number of the free display it took once it is ready.
Xvfb -displayfd 3 -screen 0 1600x1200x24 +extension GLX +render -noreset -nolisten tcp \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)

# Waits until a window whose title starts with NAME exists; prints its id.
window_named() {
    local name=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --name "^$name" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
    return 1
}
# The windows the window manager manages: the program's document windows (and any dialog).
document_windows() { { xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*' || true; } | wc -l; }

# Openbox has taken the screen once it has set its supporting-window property.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# Waits up to thirty seconds for the program to end and sets `status` to its exit status; fails
# when it goes on running. (Not in a subshell: only this shell can collect its child's status.)
wait_for_exit() {
    local pid=$1
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && return 1
    status=0
    wait "$pid" || status=$?
}

echo "-- started with two files that cannot be opened"
"$orbalin" "$work/missing.orbalin" "$work" >"$work/orbalin.log" 2>&1 &
orbalin_pid=$!
pids+=("$orbalin_pid")
reports=0
for _ in $(seq 100); do
    kill -0 "$orbalin_pid" 2>/dev/null || break
    box=$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' || true)
    if [ -n "$box" ] && [ "$box" != 0x0 ]; then
        xdotool key --clearmodifiers Return
        reports=$((reports + 1))
        # The next report takes the place of this one.
        for _ in $(seq 50); do
            [ "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' || true)" != "$box" ] && break
            sleep 0.1
        done
    else
        sleep 0.1
    fi
done
wait_for_exit "$orbalin_pid" || fail "the program went on running with nothing open"
[ "$status" -eq 1 ] || fail "exit status $status when no file opened, expected 1"
[ "$reports" -eq 2 ] || fail "$reports failure reports, expected one for each file"

echo "-- started without files"
"$orbalin" >"$work/orbalin.log" 2>&1 &
orbalin_pid=$!
pids+=("$orbalin_pid")
window=$(window_named 'Untitled') || fail "no document window appeared"
for _ in $(seq 100); do
    [ "$(document_windows)" -eq 1 ] && break
    sleep 0.1
done
[ "$(document_windows)" -eq 1 ] || fail "the window manager does not manage the window"
for name in over-scene over-menu-bar first-of-two second-of-two; do
    cp "$scene" "$work/$name.orbalin"
done
uri() { echo "file://$work/$1.orbalin"; }

# where     x    y    type           data                                           opens
cases=(
    "scene     320  250  text/uri-list  $(uri over-scene)                              over-scene"
    "menu-bar  400  8    text/uri-list  $(uri over-menu-bar)                           over-menu-bar"
    "scene     320  250  text/uri-list  $(uri first-of-two)%0D%0A$(uri second-of-two)  first-of-two,second-of-two"
    "scene     320  250  text/uri-list  http://example.com/remote.orbalin              -"
    "menu-bar  400  8    text/uri-list  http://example.com/remote.orbalin              -"
    "scene     320  250  text/plain     just-some-text                                 -"
)
for case in "${cases[@]}"; do
    read -r where x y type data opens <<<"$case"
    data=${data//%0D%0A/$'\r\n'}
    echo "-- $type over the $where: ${data//$'\r\n'/ }"
    before=$(document_windows)
    # The document window under the drag is the first one, whatever opened over it since.
    timeout 5 xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowraise "$window"
    set +e
    answer=$(timeout 30 "$drag" "$window" "$x" "$y" "$type" "$data")
    status=$?
    set -e
    kill -0 "$orbalin_pid" 2>/dev/null || fail "the program died when a drag came over the $where"
    if [ "$opens" = - ]; then
        [ "$status" -eq 3 ] || fail "expected the drag cursor to refuse, got '$answer' ($status)"
        sleep 1
        [ "$(document_windows)" -eq "$before" ] || fail "a refused drag opened a window"
    else
        [ "$status" -eq 0 ] || fail "expected a drop, got '$answer' ($status)"
        IFS=, read -r -a names <<<"$opens"
        for name in "${names[@]}"; do
            window_named "$name.orbalin" >/dev/null || fail "$name.orbalin did not open"
        done
        for _ in $(seq 50); do
            [ "$(document_windows)" -eq $((before + ${#names[@]})) ] && break
            sleep 0.1
        done
        [ "$(document_windows)" -eq $((before + ${#names[@]})) ] ||
            fail "expected ${#names[@]} new window(s), have $(document_windows) after $before"
    fi
done

echo "-- closing every window"
for id in $(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'); do
    timeout 5 xdotool windowactivate --sync "$id" 2>/dev/null || true
    xdotool key --clearmodifiers ctrl+w
done
wait_for_exit "$orbalin_pid" || fail "the program went on running after its last window closed"
[ "$status" -eq 0 ] || fail "exit status $status after the last window closed, expected 0"
echo "done"
