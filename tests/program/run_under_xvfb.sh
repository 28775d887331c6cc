#!/usr/bin/env bash
# The client as a whole on a private X server: first start writes the default
# settings file (21 bytes, mode 0600), the window comes up with its caption,
# size and position, shows the link state and address in red, and the menu
# "程序(&S)" -> "退出程序(&Q)" by keyboard ends it with exit code 0, leaving
# the file as it was.
#   run_under_xvfb.sh PROGRAM OUTPUT_DIR
# PROGRAM is a client build that takes its system directory from
# TARNWICK_TEST_SYSTEM_DIR; the screenshot goes to OUTPUT_DIR/window.png.
set -euo pipefail

program=$1
out=$2
title='Tarnwick域名系统'
screen_w=1024
screen_h=768
client_w=229
client_h=117

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$out/program.log" ]; then
        echo "--- program output" >&2
        cat "$out/program.log" >&2
    fi
    exit 1
}

# Polls a command until it succeeds or the deadline (seconds) passes.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# The X server picks a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

system_dir="$work/system"
mkdir "$system_dir"
settings="$system_dir/tarnwick.ini"
mkdir -m 700 "$work/runtime"
mkdir -p "$out"

env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" \
    TARNWICK_TEST_SYSTEM_DIR="$system_dir" "$program" >"$out/program.log" 2>&1 &
app_pid=$!

# First start: the default file, exactly, private to its owner.
wait_for 60 test -f "$settings" || fail "no settings file was written"
printf '\r\n\r\n1\r\n0\r\n127.0.0.1\r\n' >"$work/default.ini"
wait_for 10 cmp -s "$settings" "$work/default.ini" || fail "settings file is not the 21-byte default"
[ "$(stat -c %a "$settings")" = 600 ] || fail "settings file mode is $(stat -c %a "$settings"), not 600"
stamp_before=$(stat -c %Y.%y "$settings")

window_id() { xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window_id)" ]; }
wait_for 60 has_window || fail "no visible window named $title"
window=$(window_id)

# Size: the fixed client area under a menu bar; centred on the screen.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq "$client_w" ] || fail "window width $WIDTH, not $client_w"
menu_h=$((HEIGHT - client_h))
[ "$menu_h" -gt 0 ] && [ "$menu_h" -lt 60 ] || fail "window height $HEIGHT leaves no sane menu bar"
centred() { local got=$1 want=$2; [ $((got - want)) -le 1 ] && [ $((want - got)) -le 1 ]; }
centred "$X" $(((screen_w - WIDTH) / 2)) || fail "window left edge $X is not centred"
centred "$Y" $(((screen_h - HEIGHT) / 2)) || fail "window top edge $Y is not centred"

# Screenshot of the window alone.
xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "png:$out/window.png" ||
    fail "screenshot failed"

# Pixels of a client-area rectangle whose colour is close to pure red.
red_pixels() {
    local left=$1 top=$2 w=$3 h=$4
    convert "$out/window.png" -crop "${w}x${h}+${left}+$((menu_h + top))" +repage -depth 8 txt:- |
        awk -F'[(),]+' '/^[0-9]+,[0-9]+:/ { if ($3 + 0 >= 180 && $4 + 0 <= 100 && $5 + 0 <= 100) n++ }
             END { print n + 0 }'
}
# "未连接" (Label5) and "127.0.0.1" (Label7) are red; "IP：" (Label6) between them is not.
[ "$(red_pixels 44 100 36 13)" -ge 15 ] || fail "no red link-state text where Label5 stands"
[ "$(red_pixels 125 100 60 13)" -ge 15 ] || fail "no red address where Label7 stands"
[ "$(red_pixels 100 100 24 13)" -eq 0 ] || fail "red pixels where Label6 stands"

# Exit by keyboard through the menu: Alt+S opens "程序(&S)", Q chooses "退出程序(&Q)".
xdotool windowfocus --sync "$window"
xdotool key alt+s
menu_open() { [ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -ge 2 ]; }
wait_for 20 menu_open || fail "Alt+S opened no menu"
xdotool key q
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 30 app_ended || fail "the program did not end after 退出程序(&Q)"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "exit code $status, not 0"

# Nothing is saved at exit.
cmp -s "$settings" "$work/default.ini" || fail "the settings file changed at exit"
[ "$(stat -c %Y.%y "$settings")" = "$stamp_before" ] || fail "the settings file was rewritten at exit"
echo "PASS: program under Xvfb on $DISPLAY; screenshot $out/window.png"
