# The report controls' demonstration on a throw-away X server (run by scripts/desktop-test.sh):
# drags a tool bar along its dock by its grip, tears it off into a floating window, drags that
# window back over the top dock so that the bar docks again, and takes screenshots on the way.
dt_start "$DT_WORK/report_controls_demo.png"
dt_expect '^place TopDock '
read -r _ _ tdx tdy tdw tdh <<<"$DT_LINE"
dt_expect '^place Format '
read -r _ _ fx fy fw fh <<<"$DT_LINE"
dt_expect '^ready'
dt_window
dt_shot docked

# Along its row: the grip dragged 60 pixels to the right.
gx=$((fx + 4))
gy=$((fy + 12))
xdotool mousemove --sync "$gx" "$gy" mousedown 1 || dt_fail "xdotool could not press the grip"
for step in 20 40 60; do
  xdotool mousemove --sync $((gx + step)) "$gy" || dt_fail "xdotool could not move"
done
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_expect '^bar Format dock TopDock 60 26$'

# Past the start of the dock: torn off, its window following the mouse into the work area.
gx=$((gx + 60))
xdotool mousemove --sync "$gx" "$gy" mousedown 1 || dt_fail "xdotool could not press the grip"
xdotool mousemove --sync $((gx - 100)) "$gy" || dt_fail "xdotool could not move"
dt_expect '^bar Format float '
for step in 1 2 3 4; do
  xdotool mousemove --sync $((gx - 100 + step * 80)) $((gy + step * 50)) || dt_fail "xdotool could not move"
done
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_expect "^bar Format float $((gx - 100 + 320 - 10)) "
read -r _ _ _ wx wy <<<"$DT_LINE"
dt_shot floating

# The floating window's title dragged over the top dock: the bar docks there again.
xdotool mousemove --sync $((wx + 20)) $((wy + 8)) mousedown 1 || dt_fail "xdotool could not press the title"
for step in 1 2 3 4; do
  xdotool mousemove --sync $((wx + 20 + (tdx + 200 - wx - 20) * step / 4)) \
    $((wy + 8 + (tdy + 10 - wy - 8) * step / 4)) || dt_fail "xdotool could not move"
done
dt_expect '^bar Format dock TopDock '
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_shot redocked

dt_key F12
dt_expect '^shot$'
dt_end 0
