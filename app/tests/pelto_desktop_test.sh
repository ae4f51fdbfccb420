# The program on a throw-away X server (run by scripts/desktop-test.sh), from a fresh folder of
# its own: logs in as "sa", types a Chinese company name into the company dialog, opens the about
# box, logs in again and leaves through the menu; a picture of the screen after each step. Then
# the login id kept in cfg.ini and the company row of the new database are checked.
#
# The windows are told apart by their titles (compared whole: xdotool's patterns do not match
# Chinese); the menus are clicked where they stand on the 1024 x 768 screen.
prog_dir=$DT_WORK/program
rm -rf "$prog_dir"
mkdir -p "$prog_dir"
cp "$DT_PROGRAM" "$(dirname "$DT_PROGRAM")/splash.jpg" "$prog_dir/" || dt_fail "could not copy the program"
DT_PROGRAM=$prog_dir/pelto

main_title='澜岳合同管理系统 - 单机版 1.21.111231'

title_shown() {  # TITLE: a visible window has exactly this title
  local w
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] && return 0
  done
  return 1
}

wait_title() {  # TITLE [gone]
  local start=$SECONDS
  while :; do
    if [ "${2:-}" = gone ]; then title_shown "$1" || return 0; else title_shown "$1" && return 0; fi
    dt_running || dt_ended "waiting for the window '$1' ${2:-}"
    [ $((SECONDS - start)) -lt "$DT_TIMEOUT" ] || dt_fail "the window '$1' was not ${2:-shown} within ${DT_TIMEOUT}s"
    sleep 0.1
  done
}

# Picks a menu item: opens the menu at X1 Y1, waits until its window is on the screen, clicks the
# item at X2 Y2 and waits until CHECK (a command) succeeds or the program has ended.
visible_windows() { xdotool search --onlyvisible --class . 2>/dev/null | wc -l; }

menu_pick() {
  local x1=$1 y1=$2 x2=$3 y2=$4 before start
  shift 4
  before=$(visible_windows)
  dt_click "$x1" "$y1"
  start=$SECONDS
  until [ "$(visible_windows)" -gt "$before" ]; do
    dt_running || dt_ended "waiting for the menu at $x1 $y1"
    [ $((SECONDS - start)) -lt "$DT_TIMEOUT" ] || dt_fail "the menu at $x1 $y1 did not open"
    sleep 0.1
  done
  dt_click "$x2" "$y2"
  start=$SECONDS
  until "$@"; do
    dt_running || return 0
    [ $((SECONDS - start)) -lt "$DT_TIMEOUT" ] || dt_fail "the menu item at $x2 $y2 did nothing"
    sleep 0.1
  done
}

program_gone() { ! dt_running; }

dt_start
wait_title '登陆'
sleep 0.5
dt_shot 1-login
# The proposed id is "sa" and the password is empty: Enter in the password box logs in.
dt_key Return
wait_title '公司信息'
sleep 0.5
dt_type '杭州澜岳科技有限公司'
sleep 0.5
dt_shot 2-company
dt_key Return
wait_title '公司信息' gone
wait_title "$main_title"
sleep 1
dt_shot 3-desktop

# 帮助(H) > 关于...
menu_pick 253 32 265 237 title_shown '关于...'
wait_title '关于...'
sleep 0.5
dt_shot 4-about
dt_key Return
wait_title '关于...' gone

# 文件(F) > 重新登陆
menu_pick 30 32 50 209 title_shown '登陆'
wait_title '登陆'
sleep 0.5
dt_shot 5-relogin
dt_key Return
wait_title '登陆' gone
sleep 0.5
dt_shot 6-again

# 文件(F) > 退出系统
menu_pick 30 32 50 257 program_gone
dt_end 0

grep -q '^LastLoginId=sa' "$prog_dir/cfg.ini" || dt_fail "cfg.ini keeps no LastLoginId=sa: $(cat "$prog_dir/cfg.ini")"
name=$(sqlite3 "$prog_dir/pelto.mdb" 'select CompanyName from Company') || dt_fail "the database could not be read"
[ "$name" = '杭州澜岳科技有限公司' ] || dt_fail "the company row holds '$name'"
