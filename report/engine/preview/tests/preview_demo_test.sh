# The preview's demonstration on a throw-away X server (run by scripts/desktop-test.sh): opens
# the preview while the report is prepared, sets 50 %, goes to page 3 by the page box and the
# buttons, zooms with the zoom tool, finds a Chinese word and checks in screenshots that exactly
# the found rectangle is inverted where the page drew it, continues with F3, opens the page
# settings, prints through the print dialog to a file that pdftotext reads, then moves, tears off
# and docks again the main window's tool bar, and takes screenshots on the way.
dt_start "$DT_WORK/preview_demo.png"
dt_expect '^place TopDock '
read -r _ _ tdx tdy _ _ <<<"$DT_LINE"
dt_expect '^place ReportBar '
read -r _ _ bx by _ _ <<<"$DT_LINE"
dt_expect '^place PreviewButton '
read -r _ _ vx vy vw vh <<<"$DT_LINE"
dt_expect '^ready'
dt_window
dt_shot main

# The preview opens at once; the pages come while it shows.
dt_click $((vx + vw / 2)) $((vy + vh / 2))
dt_expect '^progress start'
dt_expect '^progress page 2$'
dt_shot preparing
dt_expect '^progress stop [1-9]'
dt_expect '^place PrintB '
read -r _ _ prx pry prw prh <<<"$DT_LINE"
dt_expect '^place FindB '
read -r _ _ fx fy fw fh <<<"$DT_LINE"
dt_expect '^place ZoomCB '
read -r _ _ zx zy zw zh <<<"$DT_LINE"
dt_expect '^place PageE '
read -r _ _ ex ey ew eh <<<"$DT_LINE"
dt_expect '^place PageSettingsB '
read -r _ _ sx sy sw sh <<<"$DT_LINE"
dt_expect '^place ZoomToolB '
read -r _ _ ztx zty ztw zth <<<"$DT_LINE"
dt_expect '^place HandToolB '
read -r _ _ htx hty htw hth <<<"$DT_LINE"
dt_expect '^place PriorB '
read -r _ _ pbx pby pbw pbh <<<"$DT_LINE"
dt_expect '^place NextB '
read -r _ _ nbx nby nbw nbh <<<"$DT_LINE"
dt_expect '^place Workspace '
read -r _ _ wsx wsy wsw wsh <<<"$DT_LINE"
dt_expect '^prepared '
read -r _ pages <<<"$DT_LINE"
[ "$pages" -ge 5 ] || dt_fail "only $pages pages prepared"
dt_expect '^view zoom [0-9]+ page 1$'
dt_shot prepared

# Per cent typed into the zoom box.
zoom_to() {
  dt_click $((zx + 10)) $((zy + zh / 2))
  dt_key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  dt_type "$1"
  dt_key Return
  dt_expect "^view zoom $1 page"
}
zoom_to 50

# The zoom tool adds a quarter per click; the hand tool takes over again.
dt_click $((ztx + ztw / 2)) $((zty + zth / 2))
dt_click $((wsx + wsw / 2)) $((wsy + wsh / 2))
dt_expect '^view zoom 75 '
dt_click $((htx + htw / 2)) $((hty + hth / 2))
zoom_to 50

# Page 3 typed into the page box, then one on and one back by the buttons.
dt_click $((ex + ew / 2)) $((ey + eh / 2))
dt_key End BackSpace BackSpace BackSpace BackSpace
dt_type '3'
dt_key Return
dt_expect '^view zoom 50 page 3$'
dt_click $((nbx + nbw / 2)) $((nby + nbh / 2))
dt_expect '^view zoom 50 page 4$'
dt_click $((pbx + pbw / 2)) $((pby + pbh / 2))
dt_expect '^view zoom 50 page 3$'
dt_shot page3

# The find dialog: a client's name; the first hit on page 3 is its group header.
dt_click $((fx + fw / 2)) $((fy + fh / 2))
dt_expect '^dialog TfrxSearchDialog '
dt_type '戊公司'
dt_shot find-dialog
dt_key Return
dt_expect '^found page 3 '
read -r _ _ _ rx ry rw rh _ record1 <<<"$DT_LINE"
[ "$rw" -gt 10 ] && [ "$rh" -gt 3 ] || dt_fail "found rectangle $rw x $rh"
dt_shot found
dt_key F11
dt_expect '^shots$'
read -r _ inverted _ inside _ ink _ same _ ring <<<"$("$DT_PROGRAM" --inverted "$DT_WORK/found.png" "$DT_WORK/plain.png" "$rx" "$ry" "$rw" "$rh")"
echo "found rectangle $rx $ry $rw $rh: inverted $inverted of $inside, ink $ink, unchanged around $same of $ring"
[ "${inside:-0}" -gt 0 ] || dt_fail "no pixels compared"
[ $((inverted * 100)) -ge $((inside * 98)) ] || dt_fail "only $inverted of $inside pixels inverted"
[ "${ink:-0}" -gt $((inside / 50)) ] || dt_fail "the page drew no text in the found rectangle ($ink dark pixels)"
[ $((ink * 10)) -lt $((inside * 9)) ] || dt_fail "the found rectangle is all dark ($ink of $inside)"
[ $((same * 100)) -ge $((ring * 98)) ] || dt_fail "around the rectangle only $same of $ring pixels are unchanged"

# F3 on the page surface (a click on its grey beside the sheet gives it the keys): the next hit,
# its row below it on the same page.
dt_click $((wsx + 5)) $((wsy + wsh / 2))
dt_key F3
dt_expect '^found page 3 '
read -r _ _ _ _ ry2 _ _ _ record2 <<<"$DT_LINE"
[ "$record2" -gt "$record1" ] || dt_fail "F3 found record $record2 after $record1"
[ "$ry2" -gt "$ry" ] || dt_fail "F3 found a rectangle at $ry2, not below $ry"
dt_shot found-next

# The page settings dialog, looked at and cancelled.
dt_click $((sx + sw / 2)) $((sy + sh / 2))
dt_expect '^dialog TfrxPageSettingsForm '
dt_shot page-settings
dt_key Escape

# Printing through the print dialog to a file: the PDF printer's job under the chosen name.
dt_click $((prx + prw / 2)) $((pry + prh / 2))
dt_expect '^dialog TfrxPrintDialog '
dt_expect '^place PrintersCB '
read -r _ _ _ _ _ _ printer <<<"$DT_LINE"
dt_expect '^place FileCB '
read -r _ _ cx cy cw ch <<<"$DT_LINE"
dt_expect '^place OkB '
read -r _ _ ox oy ow oh <<<"$DT_LINE"
dt_click $((cx + 8)) $((cy + ch / 2))
dt_shot print-dialog
dt_click $((ox + ow / 2)) $((oy + oh / 2))
dt_expect '^dialog TFileDialogForm '
dt_type "$DT_WORK/contracts"
dt_key Return
dt_expect '^printed'
[ -s "$DT_WORK/contracts.prn" ] || dt_fail "printing to a file ($printer) wrote no $DT_WORK/contracts.prn"
pdftotext "$DT_WORK/contracts.prn" "$DT_WORK/contracts.txt" || dt_fail "pdftotext cannot read $DT_WORK/contracts.prn"
grep -q '澜岳合同清单' "$DT_WORK/contracts.txt" || dt_fail "pdftotext finds no title in the printed file"
grep -q '戊公司' "$DT_WORK/contracts.txt" || dt_fail "pdftotext finds no client in the printed file"
grep -q "第 *$pages *页 *共 *$pages *页" "$DT_WORK/contracts.txt" || dt_fail "pdftotext finds no last page footer in the printed file"

# The tool bar: along its row by the grip, then past the dock's start (torn off), then its
# floating window's title over the dock, which has no height while empty: its top edge (docked
# again).
gx=$((bx + 4))
gy=$((by + 12))
xdotool mousemove --sync "$gx" "$gy" mousedown 1 || dt_fail "xdotool could not press the grip"
for step in 20 40 60; do
  xdotool mousemove --sync $((gx + step)) "$gy" || dt_fail "xdotool could not move"
done
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_expect '^bar ReportBar dock TopDock 60 '
gx=$((gx + 60))
xdotool mousemove --sync "$gx" "$gy" mousedown 1 || dt_fail "xdotool could not press the grip"
xdotool mousemove --sync $((gx - 100)) "$gy" || dt_fail "xdotool could not move"
dt_expect '^bar ReportBar float '
# Down to the free corner below the main window, left of and below the preview, so that no other
# window stands over the floating one.
for step in 1 2 3 4; do
  xdotool mousemove --sync $((gx - 100 + (40 - gx + 100) * step / 4)) $((gy + (700 - gy) * step / 4)) ||
    dt_fail "xdotool could not move"
done
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_expect '^bar ReportBar float '
read -r _ _ _ wx wy <<<"$DT_LINE"
dt_shot bar-floating
xdotool mousemove --sync $((wx + 20)) $((wy + 8)) mousedown 1 || dt_fail "xdotool could not press the title"
for step in 1 2 3 4; do
  xdotool mousemove --sync $((wx + 20 + (tdx + 100 - wx - 20) * step / 4)) \
    $((wy + 8 + (tdy - wy - 8) * step / 4)) || dt_fail "xdotool could not move"
done
dt_expect '^bar ReportBar dock TopDock '
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_shot bar-docked

dt_key F12
dt_expect '^shot$'
dt_end 0
[ -s "$DT_WORK/preview_demo.png" ] || dt_fail "no screenshot file"
