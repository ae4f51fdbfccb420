# The forms demonstration on a throw-away X server (run by scripts/desktop-test.sh): opens the
# modal dialog, tabs to its third edit box, types Chinese text, closes it with Enter, resizes a
# borderless form by its right edge, gives the main form a new caption that the desktop shows as
# its title, and takes a screenshot.
dt_start "$DT_WORK/forms_demo.png"
dt_expect '^ready'
dt_window

dt_key F2
dt_expect '^dialog'
dt_expect '^focus Edit1'
dt_key Tab
dt_expect '^focus Edit2'
dt_key Tab
dt_expect '^focus Edit3'
dt_type '合同'
dt_shot dialog
dt_key Return
# The dialog's answer is mrOk (1) and the third box holds 合同 in CP936.
dt_expect '^closed'
[ "$DT_LINE" = "closed 1 BACFCDAC" ] || dt_fail "dialog ended wrong: $DT_LINE"

dt_key F3
dt_expect '^borderless'
read -r _ bx by bw bh <<<"$DT_LINE"
edge_x=$((bx + bw - 2))
edge_y=$((by + bh / 2))
xdotool mousemove --sync "$edge_x" "$edge_y" mousedown 1 || dt_fail "xdotool could not press"
xdotool mousemove --sync $((edge_x + 60)) "$edge_y" || dt_fail "xdotool could not move"
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_expect "^resized $bx $by $((bw + 60)) $bh"

# A new caption reaches the native window's title.
dt_key F4
dt_expect '^caption'
dt_window 'saved$'

dt_key F12
dt_expect '^shot'
dt_end 0
[ -s "$DT_WORK/forms_demo.png" ] || dt_fail "no screenshot file"
