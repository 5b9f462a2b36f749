#!/usr/bin/env bash
# The real program in a desktop session (Xvfb with a window manager), used as a user would:
# - started with files that all fail to open, it reports each and exits with status 1;
# - drags from another X client over the XDND protocol, as a file manager sends them, open
#   scene files dropped over the scene or the menu bar and are refused for anything else;
# - closing its last window ends it, with status 0.
#   real_session_test.sh ORBALIN XDND_DRAG ROOT_PROPERTY_WATCH SCENE_FILE
# The test brings its own display, so that its window manager never manages the windows of
# suites running beside it.
set -euo pipefail
orbalin=$1 drag=$2 watch=$3 scene=$4

work=$(mktemp -d)
# shellcheck source=tests/support/session.sh
. "$(dirname "$0")/../support/session.sh"
fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        echo "windows on the display:" >&2
        for id in $(xdotool search --name . 2>/dev/null); do
            echo "  $(xdotool getwindowname "$id") ($(xwininfo -id "$id" | grep -o 'Map State: .*'))" >&2
        done
    fi
    [ -s "$work/orbalin.log" ] && { echo "the program said:"; cat "$work/orbalin.log"; } >&2
    exit 1
}

start_xvfb 1600x1200x24
export QT_QPA_PLATFORM=xcb

# Watches a property of the root window, calling PREDICATE with each of its values (the first
# one at once, then each change) until it holds; fails after two minutes without a change.
await_root() {
    local property=$1 predicate=$2 line found=1
    coproc WATCH { exec "$watch" "$property"; }
    local watcher=$WATCH_PID
    while IFS= read -r -t 120 line <&"${WATCH[0]}"; do
        if "$predicate" "$line"; then
            found=0
            break
        fi
    done
    kill "$watcher" 2>/dev/null || true
    wait "$watcher" 2>/dev/null || true
    return $found
}
ids_in() { grep -o '0x[0-9a-f]*' <<<"$1" | grep -vx 0x0 || true; }

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
# Openbox has taken the screen once it has set its supporting-window property.
wm_ready() { [ -n "$(ids_in "$1")" ]; }
await_root _NET_SUPPORTING_WM_CHECK wm_ready || fail "openbox did not start"

# The windows the window manager manages: the program's document windows (and any dialog).
client_list=
managed() { client_list=$(ids_in "$1"); }
document_windows() {
    await_root _NET_CLIENT_LIST managed
    if [ -n "$client_list" ]; then wc -l <<<"$client_list"; else echo 0; fi
}
# Waits until the window manager manages a window whose title starts with NAME; prints its id.
title= named=
has_named() {
    local id
    managed "$1"
    for id in $client_list; do
        case $(xdotool getwindowname "$id" 2>/dev/null || true) in
        "$title"*) named=$id && return 0 ;;
        esac
    done
    return 1
}
window_named() {
    title=$1
    await_root _NET_CLIENT_LIST has_named && echo "$named"
}

# Each run of the program ends by itself within this long, or counts as going on running.
run_orbalin() { timeout -k 10 240 "$orbalin" "$@"; }
# Waits for the program to end and sets `status` to its exit status; fails when it went on
# running. (Not in a subshell: only this shell can collect its child's status.)
wait_for_exit() {
    status=0
    wait "$1" || status=$?
    [ "$status" -ne 124 ] && [ "$status" -ne 137 ]
}

echo "-- started with two files that cannot be opened"
run_orbalin "$work/missing.orbalin" "$work" >"$work/orbalin.log" 2>&1 &
orbalin_pid=$!
pids+=("$orbalin_pid")
# Each report comes up as the active window: Return dismisses it, and the next takes its place.
reports=0 last_box=
dismiss_report() {
    local box
    box=$(ids_in "$1")
    [ -n "$box" ] && [ "$box" != "$last_box" ] || return 1
    last_box=$box
    # The window manager names the active window before the program has taken the focus.
    timeout 30 xdotool windowfocus --sync "$box"
    xdotool key --clearmodifiers Return
    reports=$((reports + 1))
    [ "$reports" -eq 2 ]
}
await_root _NET_ACTIVE_WINDOW dismiss_report || fail "$reports failure reports, expected two"
wait_for_exit "$orbalin_pid" || fail "the program went on running with nothing open"
[ "$status" -eq 1 ] || fail "exit status $status when no file opened, expected 1"

echo "-- started without files"
run_orbalin >"$work/orbalin.log" 2>&1 &
orbalin_pid=$!
pids+=("$orbalin_pid")
window=$(window_named 'Untitled') || fail "no document window appeared"
[ "$(document_windows)" -eq 1 ] || fail "more than one window at start-up"
probes=0
for name in over-scene over-menu-bar first-of-two second-of-two; do
    cp "$scene" "$work/$name.orbalin"
done
uri() { echo "file://$work/$1.orbalin"; }

# Drags DATA of TYPE over the first window at WHERE (scene or menu-bar, found from the window's
# real size); prints the drag's answer and sets `status`.
drag_over() {
    local where=$1 type=$2 data=$3 width height x y
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
    width=$WIDTH height=$HEIGHT
    x=$((width / 2))
    case $where in
    scene) y=$((height / 2 + 20)) ;;
    menu-bar) y=8 ;;
    esac
    # The document window under the drag is the first one, whatever opened over it since: it
    # is brought forward, and the drag waits until it is on top there.
    timeout 30 xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowraise "$window"
    set +e
    answer=$(timeout 90 "$drag" "$window" "$x" "$y" "$type" "$data")
    status=$?
    set -e
}
# Waits for the windows of the scene files NAMES to open and be managed, then checks that
# they are the only windows opened since there were BEFORE.
expect_opened() {
    local before=$1 name
    shift
    # Whatever else the drags opened was mapped before these windows, and so is managed by now.
    for name in "$@"; do
        window_named "$name.orbalin" >/dev/null || fail "$name.orbalin did not open"
    done
    [ "$(document_windows)" -eq $((before + $#)) ] ||
        fail "expected $# new window(s), have $(document_windows) after $before"
}

# where     type           data                                           opens
cases=(
    "scene     text/uri-list  $(uri over-scene)                              over-scene"
    "menu-bar  text/uri-list  $(uri over-menu-bar)                           over-menu-bar"
    "scene     text/uri-list  $(uri first-of-two)%0D%0A$(uri second-of-two)  first-of-two,second-of-two"
    "scene     text/uri-list  http://example.com/remote.orbalin              -"
    "menu-bar  text/uri-list  http://example.com/remote.orbalin              -"
    "scene     text/plain     just-some-text                                 -"
)
for case in "${cases[@]}"; do
    read -r where type data opens <<<"$case"
    data=${data//%0D%0A/$'\r\n'}
    echo "-- $type over the $where: ${data//$'\r\n'/ }"
    before=$(document_windows)
    drag_over "$where" "$type" "$data"
    kill -0 "$orbalin_pid" 2>/dev/null || fail "the program died when a drag came over the $where"
    if [ "$opens" = - ]; then
        [ "$status" -eq 3 ] || fail "expected the drag cursor to refuse, got '$answer' ($status)"
        # A scene file dropped next opens alone: the refused drag, which came first, opened
        # nothing.
        probes=$((probes + 1))
        cp "$scene" "$work/after-refusal-$probes.orbalin"
        drag_over "$where" text/uri-list "$(uri "after-refusal-$probes")"
        [ "$status" -eq 0 ] || fail "expected a drop after the refusal, got '$answer' ($status)"
        expect_opened "$before" "after-refusal-$probes"
    else
        [ "$status" -eq 0 ] || fail "expected a drop, got '$answer' ($status)"
        IFS=, read -r -a names <<<"$opens"
        expect_opened "$before" "${names[@]}"
    fi
done

echo "-- closing every window"
# One at a time: each is brought forward, closed with its key, and gone before the next.
first_client() { managed "$1"; }
gone=
closed() { managed "$1"; ! grep -qx "$gone" <<<"$client_list"; }
while await_root _NET_CLIENT_LIST first_client && [ -n "$client_list" ]; do
    gone=$(head -n1 <<<"$client_list")
    timeout 30 xdotool windowactivate --sync "$gone" 2>/dev/null &&
        timeout 30 xdotool windowfocus --sync "$gone" ||
        fail "window $gone did not come forward"
    xdotool key --clearmodifiers ctrl+w
    await_root _NET_CLIENT_LIST closed || fail "window $gone did not close"
done
wait_for_exit "$orbalin_pid" || fail "the program went on running after its last window closed"
[ "$status" -eq 0 ] || fail "exit status $status after the last window closed, expected 0"
echo "done"
