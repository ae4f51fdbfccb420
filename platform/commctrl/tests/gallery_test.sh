# The gallery on a throw-away X server (run by scripts/desktop-test.sh): clicks a button and a
# check box, types Latin and Chinese text into an edit, opens a drop-down list and picks an
# item, then has the gallery take a screenshot through the back end and end. Then the common
# controls' page: switches a tab, presses the up-down's arrow, opens a tree node, ticks the date
# picker's box, opens its calendar and clicks a day, clicks a tool button and its drop-down arrow,
# waits for a tool tip, clicks an alignment button twice, and takes its screenshot.
dt_start "$DT_WORK/gallery.png"
dt_expect '^ready'
dt_window
read -r _ _ pushx pushy _ checkx checky _ editx edity _ combox comboy <<<"$DT_LINE"

dt_click "$pushx" "$pushy"
dt_expect '^command 1 0$'
dt_click "$checkx" "$checky"
dt_expect '^command 3 0$'
dt_expect '^checked 1$'

dt_click "$editx" "$edity"
dt_type 'ab'
dt_expect '^edit ab$'
dt_type '合同'
dt_expect '^edit ab合同$'

dt_click "$combox" "$comboy"
dt_expect '^command 30 7$'
dt_expect '^dropped'
read -r _ itemx itemy <<<"$DT_LINE"
dt_shot dropped
dt_click "$itemx" "$itemy"
# The classic order: the choice is kept, the list closes, then the new selection is told.
dt_expect '^command 30 9$'
dt_expect '^command 30 8$'
dt_expect '^command 30 1$'
dt_expect '^selected 2 '
[ "$DT_LINE" = "selected 2 发票" ] || dt_fail "picked the wrong item: $DT_LINE"

dt_key F12
dt_expect '^shot'
# The push button's face, then the list box's selected row (the system's highlight).
[ "$DT_LINE" = "shot 212 208 200 / 10 36 106" ] || dt_fail "screenshot colours wrong: $DT_LINE"
dt_end 0
[ -s "$DT_WORK/gallery.png" ] || dt_fail "no screenshot file"

# ---- The common controls' page ----------------------------------------------------------------
dt_start --common "$DT_WORK/common.png"
dt_expect '^ready'
dt_window
read -r _ _ tabx taby _ upx upy _ boxx boxy _ dropx dropy _ treex treey <<<"$DT_LINE"
dt_expect '^tools '
read -r _ _ newx newy _ arrowx arrowy _ centerx centery _ rightx righty <<<"$DT_LINE"

dt_click "$tabx" "$taby"
dt_expect '^tab 1$'
dt_click "$upx" "$upy"
dt_expect '^updown 6 6$'
dt_click "$treex" "$treey"
dt_expect '^tree expanded 合同管理 3$'

# The picker starts unticked on 31 March 2026: the box ticks it, its calendar chooses the 12th.
dt_click "$boxx" "$boxy"
dt_expect '^picker change 2026-3-31$'
dt_click "$dropx" "$dropy"
dt_expect '^picker dropdown'
read -r _ _ dayx dayy <<<"$DT_LINE"
dt_shot picker_dropped
dt_click "$dayx" "$dayy"
dt_expect '^picker change 2026-3-12$'
dt_expect '^picker closeup$'

# The tool bar: a push on "新建" and on its arrow, a tip, and the alignment group keeping one down.
dt_click "$newx" "$newy"
dt_expect '^command 201 0$'
dt_click "$arrowx" "$arrowy"
dt_expect '^dropdown 201$'
xdotool mousemove --sync "$rightx" "$righty" || dt_fail "xdotool could not move the pointer"
dt_expect '^tip 213 '
[ "$DT_LINE" = "tip 213 右对齐" ] || dt_fail "wrong tip: $DT_LINE"
dt_click "$centerx" "$centery"
dt_expect '^command 212 0$'
dt_expect '^aligned 212$'
dt_click "$centerx" "$centery"
dt_expect '^command 212 0$'
dt_expect '^aligned 212$'

dt_key F12
dt_expect '^shot'
# The empty progress bar's inside (the face colour), the full one's (the highlight), the
# calendar's title (the active caption) and the ticked box's tick (the window text).
[ "$DT_LINE" = "shot 212 208 200 / 10 36 106 / 10 36 106 / 0 0 0" ] || dt_fail "common page colours wrong: $DT_LINE"
dt_end 0
[ -s "$DT_WORK/common.png" ] || dt_fail "no screenshot of the common page"
