#!/usr/bin/env bash
# Two copies of the real program on a private X display: one hosts, the other
# joins 127.0.0.1, both press ready, and both tables must end up dealt. Only
# the UI is used: menus, the join dialog and the ready buttons.
#
#   two_windows.sh FLINTHAND [SCREENSHOT_DIR]
#
# The screenshots stay in SCREENSHOT_DIR (a new temporary folder if none is
# given) for a person to look at.
set -euo pipefail

program=${1:?usage: two_windows.sh FLINTHAND [SCREENSHOT_DIR]}
[[ -x $program ]] || { echo "FAIL: $program is not an executable" >&2; exit 2; }
program=$(realpath "$program")
shots=${2:-$(mktemp -d /tmp/flinthand-e2e-screens.XXXXXX)}
mkdir -p "$shots"
rm -f "$shots"/[1-5]-*.png

work=$(mktemp -d /tmp/flinthand-e2e.XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
    echo "FAIL: $*" >&2
    echo "screenshots: $shots" >&2
    for log in "$work"/*.log; do
        [[ -s $log ]] || continue
        echo "--- last lines of $(basename "$log")" >&2
        tail -n 15 "$log" >&2
    done
    exit 1
}

# The game always plays on port 418, which only root or a program given
# cap_net_bind_service may take; without either the test cannot run.
unprivileged_from=$(cat /proc/sys/net/ipv4/ip_unprivileged_port_start 2>/dev/null || echo 1024)
if [[ $(id -u) -ne 0 && $unprivileged_from -gt 418 ]] && ! getcap "$program" 2>/dev/null | grep -q cap_net_bind_service; then
    echo "SKIP: hosting on port 418 needs root or: sudo setcap cap_net_bind_service=+ep $program"
    exit 77
fi
if ss -ltn 2>/dev/null | awk '{print $4}' | grep -Eq '[:.]418$'; then
    fail "port 418 is already taken; is another copy running?"
fi

# ---- A display of our own -------------------------------------------------
display=
for n in $(seq 87 140); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
        display=:$n
        break
    fi
done
[[ -n $display ]] || fail "no free X display number"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not come up on $display"

export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

# Starts the program in a working folder of its own (it keeps sname.ini there)
# and prints the pid.
start_copy() {
    local name=$1
    mkdir -p "$work/$name"
    (cd "$work/$name" && exec "$program" >"$work/$name.log" 2>&1) &
    echo $!
}

# The main window of a copy, once it is on the screen.
main_window() {
    local pid=$1 id
    id=$(timeout 60 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Flinthand' | head -n 1) || true
    [[ -n $id ]] || fail "no window of pid $pid appeared"
    echo "$id"
}

shot() {
    import -window "$1" "$shots/$2.png" || fail "could not take a screenshot of $2"
}

# The colour of one pixel as #RRGGBB.
pixel() {
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# Distinct colours in a rectangle of a screenshot.
colours() {
    convert "$1" -crop "$2x$3+$4+$5" +repage -format '%k' info:
}

# Rows above the table: the first row of the cloth colour at x = 5.
menu_offset() {
    local y
    for y in $(seq 0 80); do
        if [[ $(pixel "$1" 5 "$y") == "#008000" ]]; then
            echo "$y"
            return
        fi
    done
    fail "no cloth found at the left edge of $1"
}

focus() {
    xdotool windowraise "$1"
    xdotool windowfocus --sync "$1" || true
    sleep 0.3
}

title_is() {
    [[ $(xdotool getwindowname "$1" 2>/dev/null || true) == "$2" ]]
}

join_dialog_of() {
    local id
    id=$(xdotool search --all --onlyvisible --pid "$1" --name '^Client Connect Options$' 2>/dev/null | head -n 1)
    [[ -n $id ]] && echo "$id"
}

# Polls a command for up to ten seconds.
eventually() {
    for _ in $(seq 50); do
        "$@" >/dev/null && return 0
        sleep 0.2
    done
    return 1
}

# Opens the Network menu with Alt+N and picks an item by its mnemonic until
# the check given after them holds. A slow start can swallow the first keys,
# so a few tries are allowed; Escape first closes a menu left open.
network_menu() {
    local window=$1 key=$2
    shift 2
    for _ in 1 2 3; do
        focus "$window"
        xdotool key --clearmodifiers Escape
        xdotool key --clearmodifiers alt+n
        sleep 0.8
        xdotool key --clearmodifiers "$key"
        eventually "$@" && return 0
    done
    return 1
}

# ---- Two copies side by side ----------------------------------------------
host_pid=$(start_copy host)
pids+=("$host_pid")
client_pid=$(start_copy client)
pids+=("$client_pid")
host=$(main_window "$host_pid")
client=$(main_window "$client_pid")
# Without a window manager both would sit in the same place.
xdotool windowmove --sync "$host" 0 0 || xdotool windowmove "$host" 0 0
xdotool windowmove --sync "$client" 560 0 || xdotool windowmove "$client" 560 0
sleep 0.5

# ---- Host ---------------------------------------------------------------
network_menu "$host" h title_is "$host" "Flinthand - Server" \
    || fail "Network > Host a Game did not make the first copy a server"
shot "$host" 1-host-listening

# ---- Join ---------------------------------------------------------------
network_menu "$client" j join_dialog_of "$client_pid" || fail "Network > Join a Game did not open the join dialog"
dialog=$(join_dialog_of "$client_pid")
focus "$dialog"
xdotool type --delay 40 127.0.0.1
shot "$dialog" 2-join-dialog
# "Connect to Server.." sits at (18, 69), 150 x 22 px, in the dialog.
xdotool mousemove --sync --window "$dialog" 93 80 click 1
eventually title_is "$client" "Flinthand - Client" \
    || fail "the second copy did not join; its title is '$(xdotool getwindowname "$client")'"
sleep 1

shot "$host" 3-host-connected
shot "$client" 3-client-connected
host_offset=$(menu_offset "$shots/3-host-connected.png")
client_offset=$(menu_offset "$shots/3-client-connected.png")

# Before anyone is ready the play piles are bare cloth, down to the ready button at y = 252.
for who in host client; do
    offset_var=${who}_offset
    [[ $(colours "$shots/3-$who-connected.png" 166 84 147 $((168 + ${!offset_var}))) == 1 ]] \
        || fail "the $who table shows something before the deal"
    # The ready button covers (130, 252) .. (330, 282): not cloth any more.
    [[ $(pixel "$shots/3-$who-connected.png" 230 $((257 + ${!offset_var}))) != "#008000" ]] \
        || fail "no ready button on the $who window"
done

# ---- Ready ----------------------------------------------------------------
xdotool mousemove --sync --window "$host" 230 $((267 + host_offset)) click 1
sleep 0.5
xdotool mousemove --sync --window "$client" 230 $((267 + client_offset)) click 1

# A five second countdown, then the server deals.
dealt=no
for _ in $(seq 60); do
    sleep 1
    shot "$host" 4-host-dealt
    shot "$client" 4-client-dealt
    all=yes
    for who in host client; do
        offset_var=${who}_offset
        # Only the rows above y = 250, where the countdown text runs.
        for x in 147 242; do
            if [[ $(colours "$shots/4-$who-dealt.png" 71 82 "$x" $((168 + ${!offset_var}))) -le 1 ]]; then
                all=no
            fi
        done
    done
    if [[ $all == yes ]]; then
        dealt=yes
        break
    fi
done
[[ $dealt == yes ]] || fail "the tables were not dealt within a minute"

# Both rows of five piles hold cards, on both tables.
for who in host client; do
    offset_var=${who}_offset
    for y in 20 312; do
        for pile in 0 1 2 3 4; do
            x=$((20 + 86 * pile))
            [[ $(colours "$shots/4-$who-dealt.png" 71 96 "$x" $((y + ${!offset_var}))) -gt 1 ]] \
                || fail "the $who table has no card at pile $pile of the row at $y"
        done
    done
done
# The client sees the deal mirrored: each copy's own row is the other's
# opponent row. Only the rows above y = 125 count, where "Can't Proceed" of a
# stall would begin.
row() {
    convert "$1" -crop "416x105+20+$(($2 + $3))" +repage "$4"
}
row "$shots/4-host-dealt.png" 20 "$host_offset" "$work/host-top.png"
row "$shots/4-host-dealt.png" 312 "$host_offset" "$work/host-bottom.png"
row "$shots/4-client-dealt.png" 20 "$client_offset" "$work/client-top.png"
row "$shots/4-client-dealt.png" 312 "$client_offset" "$work/client-bottom.png"
for pair in "host-top client-bottom" "host-bottom client-top"; do
    read -r mine theirs <<<"$pair"
    differing=$(compare -metric AE "$work/$mine.png" "$work/$theirs.png" null: 2>&1 || true)
    [[ $differing == 0 ]] || fail "the $mine row and the $theirs row differ in $differing pixels: the tables are not mirrored"
done

# ---- A click ---------------------------------------------------------------
# The client picks up its rightmost pile: its top card (at y = 332, under five
# backs) turns into a colour negative there, and on the host, where it is the
# opponent's pile, under four backs at y = 40. A stall's countdown ignores
# clicks for three seconds, so the click is repeated until it shows.
top_card() {
    convert "$1" -crop "71x96+364+$2" +repage "$3"
}
top_card "$shots/4-client-dealt.png" $((332 + client_offset)) "$work/client-card.png"
top_card "$shots/4-host-dealt.png" $((40 + host_offset)) "$work/host-card.png"
convert "$work/client-card.png" -negate "$work/client-card-negative.png"
convert "$work/host-card.png" -negate "$work/host-card-negative.png"
selected=no
for _ in $(seq 12); do
    xdotool mousemove --sync --window "$client" 399 $((380 + client_offset)) click 1
    sleep 1
    shot "$client" 5-client-selected
    shot "$host" 5-host-sees-selection
    top_card "$shots/5-client-selected.png" $((332 + client_offset)) "$work/client-now.png"
    top_card "$shots/5-host-sees-selection.png" $((40 + host_offset)) "$work/host-now.png"
    if [[ $(compare -metric AE "$work/client-now.png" "$work/client-card-negative.png" null: 2>&1 || true) == 0 &&
          $(compare -metric AE "$work/host-now.png" "$work/host-card-negative.png" null: 2>&1 || true) == 0 ]]; then
        selected=yes
        break
    fi
done
[[ $selected == yes ]] || fail "a click on the client's pile did not show as selected on both tables"

kill -0 "$host_pid" 2>/dev/null || fail "the hosting copy died"
kill -0 "$client_pid" 2>/dev/null || fail "the joining copy died"

echo "PASS: both tables dealt, a selection shown on both; screenshots in $shots"
