#!/bin/sh
# Runs the demonstration program on a throw-away X server, clicks its pad, types into it, opens
# its menu and chooses an item, then has it take a screenshot through the back end.
# Usage: sdl_demo_test.sh <win_demo> <work folder>
set -u
demo=$1
work=$2
mkdir -p "$work"
log="$work/demo.log"
shot="$work/demo.png"
rm -f "$log" "$shot"

# The server picks a free display number itself and reports it.
rm -f "$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
i=0
until [ -s "$work/display" ]; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }; sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "no connection to $DISPLAY"; exit 1; }; sleep 0.1
done

# The X and desktop-bus libraries under SDL keep blocks to the end of the process; leaks of
# the window layer itself are the headless tests' business.
ASAN_OPTIONS=detect_leaks=0 SDL_VIDEODRIVER=x11 "$demo" "$shot" >"$log" 2>&1 &
demo_pid=$!
wait_for() {  # a line matching $1 in the log
  i=0
  until grep -q "$1" "$log"; do
    i=$((i + 1)); [ $i -gt 100 ] && { echo "no '$1' from the demo:"; cat "$log"; exit 1; }; sleep 0.1
  done
}
wait_for '^ready'
# The frame is mapped by the X server before anything is sent to it.
timeout 10 xdotool search --sync --onlyvisible --name '.' >/dev/null || { echo "no window mapped"; exit 1; }
set -- $(grep '^ready' "$log")
padx=$3; pady=$4; menux=$6; menuy=$7

xdotool mousemove "$padx" "$pady" click 1
wait_for '^click'
xdotool type --delay 50 'ab'
wait_for '^char 0x62'
# A character beyond ASCII comes as text (as from an input method): its two CP936 bytes.
xdotool type --delay 50 '合'
wait_for '^char 0xCF'
xdotool mousemove "$menux" "$menuy" click 1
sleep 0.3
xdotool key Down Return
wait_for '^command 101'
xdotool mousemove "$padx" "$pady" click 1
sleep 0.2
xdotool key F12
wait_for '^shot'
i=0
while kill -0 "$demo_pid" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "the demo did not end"; exit 1; }; sleep 0.1
done
wait "$demo_pid"
status=$?
demo_pid=

fail=0
[ "$status" -eq 0 ] || { echo "the demo ended with $status"; fail=1; }
grep -q '^char 0x61' "$log" || { echo "typed 'a' missing"; fail=1; }
grep -A1 '^char 0xBA' "$log" | grep -q '^char 0xCF' || { echo "lead byte before trail byte missing"; fail=1; }
# The pad's colour (255 255 192) where no text is drawn.
grep -q '^shot 255 255 192' "$log" || { echo "screenshot colour wrong"; fail=1; }
[ -s "$shot" ] || { echo "no screenshot file"; fail=1; }
[ $fail -eq 0 ] || cat "$log"
exit $fail
