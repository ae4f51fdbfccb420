#!/usr/bin/env bash
# Runs one desktop test: a throw-away X server, the program under test on it, and a scenario that
# drives the program with xdotool and waits on what the program reports.
#
#   desktop-test.sh <scenario.sh> <work folder> <program> [program arguments...]
#
# Tests do not call this by hand: pelto_desktop_test() in cmake/Pelto.cmake adds the ctest test.
#
# The program reports what it handles on standard output, one flushed line each ("ready ...",
# "click 12 30", "char 0x61", "command 101"); the scenario waits on those lines, never on a fixed
# sleep. The scenario is a bash file sourced once the X server is up, with these at hand:
#
#   dt_start [args...]     start the program (with the test's arguments if none are given);
#                          its standard output and error go to $DT_LOG
#   dt_expect ERE [secs]   wait for the next line of the log after the last one matched that
#                          matches ERE, and leave it in DT_LINE; fails at once if the program ended
#   dt_window [name ERE]   wait until a window of that name is mapped
#   dt_click X Y [button]  move the pointer to screen X Y and click (button 1 by default)
#   dt_type TEXT           type UTF-8 text; characters beyond ASCII get keys of their own first
#   dt_keymap TEXT         only give those characters their keys (dt_type does it itself)
#   dt_key KEY...          press keys by X name: Return, Down, F12, ctrl+s
#   dt_shot NAME           save the screen as $DT_WORK/NAME.png
#   dt_end [status]        wait for the program to end; fail unless it ends with status (0)
#   dt_fail MESSAGE        fail the test
#   DT_WORK, DT_LOG, DT_PROGRAM, DT_PID, DT_LINE, DT_TIMEOUT
#
# Each wait lasts at most DT_TIMEOUT seconds (180: on a loaded machine a sanitizer build can be
# slow to start), but ends at once when the program has died. A failed test keeps the log and a
# picture of the screen (failure.png) in the work folder. A minimal scenario:
#
#   dt_start
#   dt_expect '^ready'
#   dt_click 200 150
#   dt_type '合同'
#   dt_expect '^char 0xCD'
#   dt_key F12
#   dt_end 0
set -u
[ $# -ge 3 ] || {
  echo "usage: $0 <scenario.sh> <work folder> <program> [arguments...]" >&2
  exit 2
}
DT_SCENARIO=$1
DT_WORK=$2
DT_PROGRAM=$3
shift 3
DT_ARGS=("$@")
DT_TIMEOUT=${DT_TIMEOUT:-180}
DT_LOG=$DT_WORK/program.log
DT_PID=
DT_LINE=
DT_SEEN=0  # lines of the log already matched or passed over
mkdir -p "$DT_WORK"
rm -f "$DT_WORK"/*.png "$DT_LOG" "$DT_WORK/display"
# xdotool reads its text by the locale; ctest may run in the C locale.
export LC_ALL=C.UTF-8

dt_fail() {
  echo "desktop test: $*" >&2
  exit 1
}

# The X server: it picks a free display itself and reports it; its screen is kept in a file
# (-fbdir) so that pictures can be taken without a client. It must not reset when its last client
# leaves: that would undo the keyboard settings made below before the program connects.
Xvfb -displayfd 5 -noreset -screen 0 "${DT_SCREEN:-1024x768x24}" -fbdir "$DT_WORK" -nolisten tcp \
  5>"$DT_WORK/display" >"$DT_WORK/xvfb.log" 2>&1 &
DT_XVFB=$!

dt_cleanup() {
  local status=$?
  if [ "$status" -ne 0 ]; then
    dt_shot failure 2>/dev/null
    if [ -s "$DT_LOG" ]; then
      echo "--- the program's output ($DT_LOG):"
      tail -n 80 "$DT_LOG"
    fi
    echo "--- the screen then: $DT_WORK/failure.png"
  fi
  if [ -n "$DT_PID" ]; then
    kill "$DT_PID" 2>/dev/null
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$DT_PID" 2>/dev/null || break; sleep 0.2; done
    kill -9 "$DT_PID" 2>/dev/null
  fi
  kill "$DT_XVFB" 2>/dev/null
  wait 2>/dev/null
  rm -f "$DT_WORK/Xvfb_screen0"
  exit "$status"
}
trap dt_cleanup EXIT

dt_until() {  # what, command...: run the command until it succeeds, the time is up, or the X server dies
  local what=$1 start=$SECONDS
  shift
  until "$@"; do
    kill -0 "$DT_XVFB" 2>/dev/null || dt_fail "the X server ended while waiting for $what: $(cat "$DT_WORK/xvfb.log")"
    [ $((SECONDS - start)) -lt "$DT_TIMEOUT" ] || dt_fail "no $what within ${DT_TIMEOUT}s"
    sleep 0.05
  done
}
dt_until "display from Xvfb" test -s "$DT_WORK/display"
export DISPLAY=":$(head -n1 "$DT_WORK/display")"
dt_until "connection to $DISPLAY" xdotool getmouselocation >/dev/null 2>&1
# A key held longer than the repeat delay (a starved xdotool between press and release) must not
# repeat.
xset r off

dt_running() {
  [ -n "$DT_PID" ] && kill -0 "$DT_PID" 2>/dev/null
}

dt_start() {
  [ -z "$DT_PID" ] || dt_fail "the program is already running"
  [ $# -gt 0 ] || set -- ${DT_ARGS[@]+"${DT_ARGS[@]}"}
  # The X and desktop-bus libraries keep blocks to the end of the process; leaks are the headless
  # tests' business.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" SDL_VIDEODRIVER=x11 \
    "$DT_PROGRAM" "$@" >"$DT_LOG" 2>&1 &
  DT_PID=$!
  DT_SEEN=0
}

dt_ended() {  # fails the test: the program is gone
  local status
  wait "$DT_PID"
  status=$?
  DT_PID=
  dt_fail "the program ended (status $status) $*"
}

dt_find() {  # ERE: the next matching line after DT_SEEN, into DT_LINE
  local hit
  hit=$(tail -n +$((DT_SEEN + 1)) "$DT_LOG" 2>/dev/null | grep -n -E -m1 -- "$1") || return 1
  DT_SEEN=$((DT_SEEN + ${hit%%:*}))
  DT_LINE=${hit#*:}
  DT_TYPED=()
}

dt_expect() {
  local re=$1 limit=${2:-$DT_TIMEOUT} start=$SECONDS
  [ -n "$DT_PID" ] || dt_fail "dt_expect '$re' with no program started"
  until dt_find "$re"; do
    if ! dt_running; then
      dt_find "$re" && return 0  # its last words
      dt_ended "before a line matching '$re'"
    fi
    [ $((SECONDS - start)) -lt "$limit" ] || dt_fail "no line matching '$re' within ${limit}s"
    sleep 0.05
  done
}

dt_window() {
  local re=${1:-.} start=$SECONDS
  until xdotool search --onlyvisible --name "$re" >/dev/null 2>&1; do
    dt_running || dt_ended "before its window '$re' was mapped"
    [ $((SECONDS - start)) -lt "$DT_TIMEOUT" ] || dt_fail "no window '$re' mapped within ${DT_TIMEOUT}s"
    sleep 0.05
  done
}

dt_click() {
  dt_running || dt_ended "before a click at $1 $2"
  xdotool mousemove --sync "$1" "$2" click "${3:-1}" || dt_fail "xdotool could not click at $1 $2"
}

dt_key() {
  dt_running || dt_ended "before the keys $*"
  xdotool key --delay 40 "$@" || dt_fail "xdotool could not press $*"
}

# Characters that are not on the keyboard map: xdotool would put each on a spare key just before
# pressing it and take it off right after, and a loaded program reads the map after the change
# back. So each such character is put on a spare key (two a key, plain and shifted) before it is
# typed, and stays there. A key is reused only for characters typed before the program's last
# reported line.
declare -A DT_KEY_OF=()  # keysym -> keycode
declare -A DT_SYMS=()    # keycode -> its keysyms
DT_SPARE=()
DT_TYPED=()  # keycodes typed since the last reported line

dt_keysyms() {  # TEXT: the keysym names of its characters beyond ASCII, one a line
  printf '%s' "$1" | iconv -f UTF-8 -t UTF-32BE | od -An -v -tx1 | tr -s ' \n' '  ' |
    awk 'function hex(s,  i, n) { for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1; return n }
      { for (i = 1; i + 3 <= NF; i += 4) { c = hex($i $(i+1) $(i+2) $(i+3)); if (c > 127) printf "U%04X\n", c } }'
}

dt_keymap() {
  local sym code changed=() wanted
  wanted=$(dt_keysyms "$1" | sort -u) || dt_fail "text is not UTF-8: $1"
  [ ${#DT_SPARE[@]} -gt 0 ] || mapfile -t DT_SPARE < <(xmodmap -pke | awk 'NF == 3 && $2 > 8 { print $2 }' | sort -rn)
  for sym in $wanted; do
    [ -z "${DT_KEY_OF[$sym]:-}" ] || continue
    code=
    for c in "${DT_SPARE[@]}"; do  # a key with room
      set -- ${DT_SYMS[$c]:-}
      if [ $# -lt 2 ]; then code=$c; break; fi
    done
    if [ -z "$code" ]; then  # a key none of whose characters is in this text or still unread
      for c in "${DT_SPARE[@]}"; do
        case " ${DT_TYPED[*]:-} " in *" $c "*) continue ;; esac
        local s busy=
        for s in ${DT_SYMS[$c]}; do
          grep -qx "$s" <<<"$wanted" && busy=1
        done
        [ -n "$busy" ] && continue
        for s in ${DT_SYMS[$c]}; do unset "DT_KEY_OF[$s]"; done
        DT_SYMS[$c]=
        code=$c
        break
      done
    fi
    [ -n "$code" ] || dt_fail "more characters beyond ASCII than spare keys; expect a reported line between texts"
    DT_SYMS[$code]="${DT_SYMS[$code]:-} $sym"
    DT_KEY_OF[$sym]=$code
    changed+=("$code")
  done
  [ ${#changed[@]} -gt 0 ] || return 0
  local args=()
  for code in $(printf '%s\n' "${changed[@]}" | sort -u); do
    args+=(-e "keycode $code = ${DT_SYMS[$code]}")
  done
  xmodmap "${args[@]}" || dt_fail "xmodmap could not set the keys for: $1"
  local map
  map=$(xmodmap -pke)
  for code in "${changed[@]}"; do
    grep -q "^keycode *$code = ${DT_SYMS[$code]# }\b" <<<"$map" || dt_fail "the X server did not keep keycode $code = ${DT_SYMS[$code]}"
  done
}

dt_type() {
  local sym
  dt_running || dt_ended "before typing '$1'"
  dt_keymap "$1"
  for sym in $(dt_keysyms "$1"); do DT_TYPED+=("${DT_KEY_OF[$sym]}"); done
  xdotool type --delay 40 "$1" || dt_fail "xdotool could not type '$1'"
}

dt_shot() {
  [ -f "$DT_WORK/Xvfb_screen0" ] || return 1
  xwdtopnm "$DT_WORK/Xvfb_screen0" 2>/dev/null | pnmtopng >"$DT_WORK/$1.png" 2>/dev/null
}

dt_end() {
  local want=${1:-0} start=$SECONDS status
  [ -n "$DT_PID" ] || dt_fail "dt_end with no program started"
  while dt_running; do
    [ $((SECONDS - start)) -lt "$DT_TIMEOUT" ] || dt_fail "the program did not end within ${DT_TIMEOUT}s"
    sleep 0.05
  done
  wait "$DT_PID"
  status=$?
  DT_PID=
  [ "$status" -eq "$want" ] || dt_fail "the program ended with status $status, not $want"
}

# shellcheck source=/dev/null
. "$DT_SCENARIO"
