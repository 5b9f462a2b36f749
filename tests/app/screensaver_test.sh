#!/usr/bin/env bash
# Orbalin as a screen saver, used as the screen-saver daemon uses it:
# - what it refuses (no X11 display, a Wayland session, mistakes in the options), each said in
#   one line with its status;
# - its XML description, as the daemon's settings dialog reads it, with every value its
#   controls can pass accepted by the program;
# - drawn into a window made by another X client: it fills the window and follows its size,
#   and SIGTERM or SIGINT at any moment (drawing, reading a scene file, starting) ends it with
#   status 0, leaving nothing in the window; a scene file it cannot read leaves random scenes;
# - the real daemon, run by an unprivileged user (the daemon runs no program as root), blanks
#   the screen with a moving scene and ends Orbalin when told to deactivate.
#   screensaver_test.sh ORBALIN HOST_WINDOW XML_DESCRIPTION
set -euo pipefail
orbalin=$1 host_window=$2 xml=$3

# Under the build folder, where the daemon's user can read it (not under a private /tmp).
work=$(mktemp -d "$PWD/screensaver-test.XXXXXX")
chmod 755 "$work"
# shellcheck source=tests/support/session.sh
. "$(dirname "$0")/../support/session.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to sixty seconds for a command to succeed.
wait_until() {
    for _ in $(seq 600); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
# Milliseconds since some fixed moment.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# "DARK COLOURED" of a picture: the share of near-black pixels in thousandths, and how many
# pixels are clearly coloured (not grey).
picture_stats() {
    python3 - "$1" <<'EOF'
import sys
data = open(sys.argv[1], "rb").read()
# A binary PPM: P6, width, height, maximum, then the pixels.
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pixels = data[pos + 1:]
r, g, b = pixels[0::3], pixels[1::3], pixels[2::3]
dark = coloured = 0
for x, y, z in zip(r, g, b):
    top, bottom = max(x, y, z), min(x, y, z)
    dark += top < 40
    coloured += top - bottom > 60
print(dark * 1000 // len(r), coloured)
EOF
}
# True when the picture is a scene: mostly dark, with coloured lines.
is_scene() {
    local dark coloured
    read -r dark coloured < <(picture_stats "$1")
    [ "$dark" -ge 700 ] && [ "$coloured" -ge 50 ]
}
shot() { import -window "$1" "$2" 2>/dev/null; }
# A shot of window $1 into $2 shows a scene.
shows_scene() { shot "$1" "$2" && is_scene "$2"; }
# Ended: gone, or left unreaped by a parent that has exited.
ended() { [ ! -e "/proc/$1" ] || [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" = Z ]; }

# A display of its own, as in a desktop session; nothing else draws on it.
start_xvfb 800x600x24
unset QT_QPA_PLATFORM XSCREENSAVER_WINDOW
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

echo "-- refusals"
# shellcheck disable=SC1111 # the quotes the program prints
# environment (- for none)              arguments                           status  says
cases=(
    "DISPLAY= WAYLAND_DISPLAY=wayland-0  |--root                              |1  |this is a Wayland session"
    "QT_QPA_PLATFORM=wayland             |-root                               |1  |not on the “wayland” platform"
    "DISPLAY=                            |--window-id 0x400001                |1  |DISPLAY is not set"
    "DISPLAY=:65000                      |--root                              |1  |cannot connect to the X11 display"
    "-                                   |--window-id 0x7fffff0               |1  |there is no X11 window 0x7fffff0"
    "XSCREENSAVER_WINDOW=nowindow        |--root                              |1  |XSCREENSAVER_WINDOW holds “nowindow”"
    "-                                   |-window-id 12ab                     |2  |--window-id takes an X11 window id"
    "-                                   |-delay -5                           |2  |--delay takes microseconds"
    "-                                   |--speed 0                           |2  |--speed takes a factor"
    "-                                   |--new-scene-every 1.5               |2  |--new-scene-every takes seconds"
    "-                                   |--root $work/scene.orbalin          |2  |name it with --scene"
    "-                                   |--fps --fullscreen                  |2  |--fullscreen does not go with"
)
for case in "${cases[@]}"; do
    IFS='|' read -r environment arguments status says <<<"$case"
    read -r -a environment <<<"$environment"
    [ "${environment[0]}" = - ] && environment=()
    read -r -a arguments <<<"$arguments"
    status=${status// /}
    says=${says%"${says##*[![:space:]]}"}
    echo "   ${environment[*]} ${arguments[*]}"
    set +e
    env "${environment[@]}" "$orbalin" "${arguments[@]}" >"$work/out" 2>"$work/err"
    got=$?
    set -e
    [ "$got" -eq "$status" ] || fail "status $got, expected $status: $(cat "$work/err")"
    grep -qF -- "$says" "$work/err" || fail "expected '$says' on standard error: $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "wrote on standard output: $(cat "$work/out")"
    # A failure to run is one line; a mistake is followed by the usage.
    if [ "$status" -eq 1 ]; then
        [ "$(wc -l <"$work/err")" -eq 1 ] || fail "more than one line: $(cat "$work/err")"
    fi
done

echo "-- the XML description"
xmllint --noout "$xml" || fail "the description is not well-formed XML"
field() { xmllint --xpath "$1" "$xml"; }
# what the daemon reads                                          expected
fields=(
    "string(/screensaver/@name)                                 |orbalin"
    "string(/screensaver/@gl)                                   |yes"
    "string(/screensaver/command/@arg)                          |--root"
    "string(//number[@id='delay']/@arg)                         |--delay %"
    "string(//number[@id='speed']/@arg)                         |--speed %"
    "string(//boolean[@id='showfps']/@arg-set)                  |--fps"
    "string(//option[@id='scenenever']/@arg-set)                |--new-scene-every 0"
    "boolean(normalize-space(/screensaver/_description))        |true"
    "boolean(string(/screensaver/@_label))                      |true"
)
for entry in "${fields[@]}"; do
    IFS='|' read -r path expected <<<"$entry"
    got=$(field "${path%"${path##*[![:space:]]}"}")
    [ "$got" = "$expected" ] || fail "$path is '$got', expected '$expected'"
done
# Every value a control can pass gets past the command line: the program then looks for the
# window (status 1), where a refused option would be a mistake (status 2).
passed=("$(field 'string(/screensaver/command/@arg)')")
for id in $(field '//number/@id' | grep -o '"[^"]*"' | tr -d '"'); do
    for end in low high default; do
        value=$(field "string(//number[@id='$id']/@$end)")
        passed+=("$(field "string(//number[@id='$id']/@arg)" | sed "s/%/$value/")")
    done
done
while read -r argument; do passed+=("$argument"); done < <(field '//boolean/@arg-set | //option/@arg-set' |
    grep -o '"[^"]*"' | tr -d '"')
for option in "${passed[@]}"; do
    read -r -a words <<<"$option"
    set +e
    "$orbalin" "${words[@]}" --window-id 0x7fffff0 >/dev/null 2>"$work/err"
    got=$?
    set -e
    [ "$got" -eq 1 ] || fail "'$option' from the description is refused: $(cat "$work/err")"
done

echo "-- the daemon's settings dialog"
# The dialog reads descriptions only from the daemon's own folder, a path built into it: as root,
# a private mount shows it a folder holding this one, without touching the system's. A container
# may allow no mount namespace; then this check alone is skipped.
if [ "$(id -u)" -ne 0 ]; then
    echo "   (not root: the dialog's folder cannot be replaced privately; skipped)"
elif ! unshare -m true 2>/dev/null; then
    echo "   (no mount namespaces here, as in a container: the dialog's folder cannot be replaced privately; skipped)"
else
    settings_home=$work/settings-home
    mkdir -p "$settings_home/runtime" "$work/config"
    cp "$xml" "$work/config/orbalin.xml"
    printf 'mode: one\nselected: 0\nprograms: GL: %s --root \\n\n' "$orbalin" \
        >"$settings_home/.xscreensaver"
    chown -R nobody:nogroup "$settings_home"
    chmod 700 "$settings_home/runtime"
    # shellcheck disable=SC2016 # expanded by the inner shell
    unshare -m sh -c 'mount --bind "$1" /usr/share/xscreensaver/config && shift && exec "$@"' - \
        "$work/config" setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env "HOME=$settings_home" "XDG_RUNTIME_DIR=$settings_home/runtime" \
        xscreensaver-settings --debug >"$work/settings.log" 2>&1 &
    settings=$!
    pids+=("$settings")
    # It reads the description of the program selected, then previews it in a window of its own.
    wait_until grep -q "forked [0-9]* (orbalin)" "$work/settings.log" ||
        fail "the dialog did not preview Orbalin: $(cat "$work/settings.log")"
    grep -q "reading /usr/share/xscreensaver/config/orbalin.xml" "$work/settings.log" ||
        fail "the dialog did not read the description: $(cat "$work/settings.log")"
    ! grep -E -i "error|warning|does not exist" "$work/settings.log" ||
        fail "the dialog found fault with the description"
    kill "$settings"
    wait "$settings" 2>/dev/null || true
    # Every preview it started ends with the window it was given.
    sed -n 's/.*forked \([0-9]*\) (orbalin).*/\1/p' "$work/settings.log" >"$work/previews"
    while read -r preview; do
        wait_until ended "$preview" || fail "a preview goes on running without its window"
    done <"$work/previews"
fi

echo "-- drawing into another client's window"
"$host_window" 320 240 >"$work/host" &
pids+=($!)
wait_until test -s "$work/host" || fail "no host window"
host=$(head -n1 "$work/host")
# The size of the one window inside the host (the scene), or nothing.
inner_size() { xwininfo -children -id "$host" | grep -o '[0-9]*x[0-9]*+-*[0-9]*+-*[0-9]*' |
    head -n1 | cut -d+ -f1; }
inner_count() { xwininfo -children -id "$host" | sed -n 's/^ *\([0-9]*\) child.*/\1/p'; }
inner_size_is() { [ "$(inner_size)" = "$1" ]; }
inner_id() { xwininfo -children -id "$host" | sed -n 's/^ *\(0x[0-9a-f]*\) .*+.*/\1/p' | head -n1; }
# A new scene every second: each comes in a new view, at the window's size of the moment.
"$orbalin" --window-id "$host" --new-scene-every 1 >"$work/orbalin.log" 2>&1 &
orbalin_pid=$!
pids+=("$orbalin_pid")
for size in 320x240 640x400 200x500; do
    echo "   $size"
    xdotool windowsize "$host" "${size%x*}" "${size#*x}"
    wait_until inner_size_is "$size" || fail "the scene is $(inner_size) in a $size window"
    wait_until shows_scene "$host" "$work/host.ppm" ||
        fail "no scene in the window: $(picture_stats "$work/host.ppm")"
done
new_scene_after() { [ "$(inner_id)" != "$1" ] && [ "$(inner_count)" = 1 ]; }
wait_until new_scene_after "$(inner_id)" ||
    fail "no new scene after a second"
[ "$(inner_size)" = 200x500 ] || fail "the new scene is $(inner_size) in a 200x500 window"
kill -TERM "$orbalin_pid"
wait "$orbalin_pid" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
[ "$(inner_count)" = 0 ] || fail "the scene's window stayed in the host"

echo "-- ended at any moment"
# A scene file it cannot read leaves random scenes, with a notice in a corner (a second window)
# and one line in the log. Ticking every millisecond, it asks for frame after frame: the signal
# comes while it draws; or while it reads a large scene; or as it starts, once it is past loading
# its libraries (SIGTERM: a shell starts a background job with SIGINT ignored).
printf 'bplist00 damaged' >"$work/damaged.orbalin"
python3 -c "import sys; sys.path.insert(0, sys.argv[1]); import archive_hostile as a
open(sys.argv[2], 'wb').write(a.one_pair(600000))" \
    "$(dirname "$0")/../../bench" "$work/large.orbalin"
# signal  when     options                              windows in the host
cases=(
    "TERM    drawing  --delay 1000                          1"
    "INT     drawing  --delay 1000                          1"
    "TERM    drawing  --delay 1000 --fps                    2"
    "INT     drawing  --delay 1000 --speed 5 --fps          2"
    "TERM    drawing  --speed 0.2                           1"
    "TERM    drawing  --scene $work/damaged.orbalin --fps   3"
    "TERM    reading  --scene $work/large.orbalin           -"
    "TERM    starting --scene $work/large.orbalin           -"
)
# The program has taken SIGTERM in hand (held or caught): it is past loading its libraries.
takes_sigterm() {
    local held caught
    held=$(sed -n 's/^SigBlk:\t//p' "/proc/$1/status") caught=$(sed -n 's/^SigCgt:\t//p' "/proc/$1/status")
    (((0x$held | 0x$caught) & 0x4000))
}
# The saver has read as many bytes as given: it is decoding the scene, or has just done so.
has_read() { [ "$(sed -n 's/^rchar: //p' "/proc/$1/io" 2>/dev/null || echo 0)" -ge "$2" ]; }
# What the program reads before it reads a scene, loading its libraries (a sanitizer's build reads
# more than the scene holds): as much as it reads to say its version, as near as can be seen.
"$orbalin" --version >/dev/null &
version_pid=$!
startup_reads=0
while ! ended "$version_pid"; do
    reads=$(sed -n 's/^rchar: //p' "/proc/$version_pid/io" 2>/dev/null) && [ -n "$reads" ] &&
        startup_reads=$reads
done
wait "$version_pid" || fail "orbalin --version failed"
for case in "${cases[@]}"; do
    read -r -a words <<<"$case"
    signal=${words[0]} when=${words[1]} windows=${words[-1]} options=("${words[@]:2:${#words[@]}-3}")
    "$orbalin" --window-id "$host" "${options[@]}" >"$work/orbalin.log" 2>&1 &
    orbalin_pid=$!
    pids+=("$orbalin_pid")
    case $when in
    drawing)
        wait_until shows_scene "$host" "$work/host.ppm" || fail "no scene in the window"
        [ "$(inner_count)" = "$windows" ] ||
            fail "$(inner_count) windows in the host, expected $windows"
        ;;
    reading)
        wait_until has_read "$orbalin_pid" "$((startup_reads + $(stat -c %s "$work/large.orbalin")))" ||
            fail "the scene is never read"
        ;;
    starting) wait_until takes_sigterm "$orbalin_pid" || fail "SIGTERM is never taken in hand" ;;
    esac
    sent=$(now_ms)
    kill "-$signal" "$orbalin_pid"
    wait "$orbalin_pid" && status=0 || status=$?
    echo "   SIG$signal $when ${options[*]}: status $status after $(($(now_ms) - sent)) ms"
    [ "$status" -eq 0 ] || fail "exit status $status after SIG$signal: $(cat "$work/orbalin.log")"
    [ "$(inner_count)" = 0 ] || fail "the scene's window stayed in the host"
    said=0
    [[ ${options[*]} == *damaged* ]] && said=1
    # shellcheck disable=SC1111 # the quotes the program prints
    [ "$(grep -c "“damaged.orbalin” could not be opened" "$work/orbalin.log")" = "$said" ] ||
        fail "the damaged file named $said times in the log: $(cat "$work/orbalin.log")"
done

echo "-- the screen-saver daemon"
# The daemon's user must reach its home and the program. A build in a private home (/root, as in
# a container) is out of its reach: then both go to a folder of their own in /tmp.
daemon_orbalin=$orbalin home=$work/home
if [ "$(id -u)" -eq 0 ] &&
    ! setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$orbalin"; then
    daemon_dir=$(mktemp -d /tmp/screensaver-daemon.XXXXXX)
    cleanup_also+=("$daemon_dir")
    chmod 755 "$daemon_dir"
    cp "$orbalin" "$daemon_dir/orbalin"
    daemon_orbalin=$daemon_dir/orbalin home=$daemon_dir/home
fi
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
cat >"$home/.xscreensaver" <<EOF
mode:		one
selected:	0
timeout:	0:30:00
cycle:		0:30:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
programs:	GL: $daemon_orbalin --root	\n
EOF
# The daemon and its programs run as an unprivileged user with a home of their own.
as_user=(env "HOME=$home" "XDG_RUNTIME_DIR=$home/runtime")
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${as_user[@]}")
fi
"${as_user[@]}" xscreensaver -no-splash -verbose >"$work/daemon.log" 2>&1 &
pids+=($!)
daemon_answers() { "${as_user[@]}" xscreensaver-command -time >/dev/null 2>&1; }
wait_until daemon_answers ||
    fail "the daemon does not answer: $(cat "$work/daemon.log")"
# The program the daemon started, as its log names it.
saver_pid() { sed -n 's/.*forked ".*orbalin --root" in pid \([0-9]*\) on window.*/\1/p' \
    "$work/daemon.log" | tail -n1; }
"${as_user[@]}" xscreensaver-command -activate >/dev/null
saver_started() { [ -n "$(saver_pid)" ]; }
wait_until saver_started || fail "the daemon did not start Orbalin: $(cat "$work/daemon.log")"
saver=$(saver_pid)
wait_until shows_scene root "$work/first.ppm" ||
    fail "no scene on the blanked screen: $(picture_stats "$work/first.ppm")"
moved() { shows_scene root "$work/later.ppm" && ! cmp -s "$work/first.ppm" "$work/later.ppm"; }
wait_until moved || fail "the scene does not move"
sent=$(now_ms)
"${as_user[@]}" xscreensaver-command -deactivate >/dev/null
wait_until ended "$saver" || fail "Orbalin goes on running after the daemon deactivated"
echo "   ended $(($(now_ms) - sent)) ms after -deactivate"
[ "$(saver_pid)" = "$saver" ] || fail "the daemon started Orbalin again"
# Nothing left in the user's home but what the daemon keeps there.
left=$(cd "$home" && find . -mindepth 1 ! -path ./runtime ! -path ./.xscreensaver | sort)
[ -z "$left" ] || fail "left behind in the home folder: $left"
echo "done"
