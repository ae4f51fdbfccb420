# The standard controls' gallery on a throw-away X server (run by scripts/desktop-test.sh):
# clicks a button and a check box, answers a message box, chooses a file in the open dialog, opens the main menu and a pop-up menu
# and chooses from each, types Chinese into an edit and a memo, picks a line from a drop-down
# list with the mouse, types into a grid cell and sizes a column, drops a tool button's menu and
# picks from it, drags a floating tool window into a dock site, shows the panels page and has
# the gallery take a screenshot.
mkdir -p "$DT_WORK/files"
: >"$DT_WORK/files/合同.txt"
: >"$DT_WORK/files/other.txt"
dt_start "$DT_WORK/stdctrls_gallery.png" "$DT_WORK/files"
dt_expect '^place Button1 '
read -r _ _ bx by bw bh <<<"$DT_LINE"
dt_expect '^place AskButton '
read -r _ _ ax ay aw ah <<<"$DT_LINE"
dt_expect '^place Check1 '
read -r _ _ cx cy cw ch <<<"$DT_LINE"
dt_expect '^place OpenButton '
read -r _ _ ox oy ow oh <<<"$DT_LINE"
dt_expect '^place Edit1 '
read -r _ _ ex ey ew eh <<<"$DT_LINE"
dt_expect '^place Memo1 '
read -r _ _ mx my mw mh <<<"$DT_LINE"
dt_expect '^place Combo1 '
read -r _ _ kx ky kw kh <<<"$DT_LINE"
dt_expect '^place Grid1 '
dt_expect '^cell-at Grid1 '
read -r _ _ gcx gcy <<<"$DT_LINE"
dt_expect '^edge Grid1 '
read -r _ _ gex gey <<<"$DT_LINE"
dt_expect '^place DropButton '
read -r _ _ tx ty tw th <<<"$DT_LINE"
dt_expect '^place DockSite1 '
read -r _ _ sx sy sw sh <<<"$DT_LINE"
dt_expect '^caption ToolWindow1 '
read -r _ _ wx wy <<<"$DT_LINE"
dt_expect '^place Pages '
read -r _ _ px py pw ph <<<"$DT_LINE"
dt_expect '^place FileMenu '
read -r _ _ fx fy fw fh <<<"$DT_LINE"
dt_expect '^ready'
dt_window

# Buttons, and a message box answered with its default button (Yes).
dt_click $((bx + bw / 2)) $((by + bh / 2))
dt_expect '^click Button1$'
dt_click $((cx + 8)) $((cy + ch / 2))
dt_expect '^click Check1$'
dt_click $((ax + aw / 2)) $((ay + ah / 2))
dt_expect '^asking$'
dt_shot message
dt_key Return
dt_expect '^answer 6$'

# The open dialog: a file of its folder chosen by typing its Chinese name.
dt_click $((ox + ow / 2)) $((oy + oh / 2))
dt_expect '^opening$'
dt_shot opendialog
dt_type '合同.txt'
dt_key Return
dt_expect '^opened BACFCDAC2E747874$'

# The main menu opened by the mouse, its second line chosen by keys.
dt_click $((fx + fw / 2)) $((fy + fh / 2))
dt_key Down Down Return
dt_expect '^menu B1A3B4E628265329$'
# The pop-up menu of the page list, its first line chosen.
dt_click $((px + pw / 2)) $((py + ph - 20)) 3
dt_expect '^popup$'
dt_key Down Return
dt_expect '^menu CBA2D0C228265229$'

# Chinese into the edit and the memo of the second page.
dt_click $((px + pw / 2)) $((py + 8))
dt_key Down
dt_expect '^page 1$'
dt_click $((ex + ew / 2)) $((ey + eh / 2))
dt_type '合同'
dt_expect '^text Edit1 BACFCDAC$'
dt_click $((mx + mw / 2)) $((my + mh - 10))
dt_type '合同'
dt_expect '^text Memo1 .*BACFCDAC'

# A line of the drop-down list picked with the mouse.
dt_click $((px + pw / 2)) $((py + 8))
dt_key Down Down
dt_expect '^page 2$'
dt_click $((kx + kw - 8)) $((ky + kh / 2))
dt_expect '^dropped '
read -r _ lx ly <<<"$DT_LINE"
dt_shot dropped
dt_click "$lx" "$ly"
dt_expect '^select Combo1 2$'

# The grid page: Chinese typed into a cell and written back by Enter, a column sized by dragging
# the edge of its title.
dt_click $((px + pw / 2)) $((py + 8))
dt_expect '^page 0$'
dt_key Down Down Down Down Down
dt_expect '^page 5$'
dt_click "$gcx" "$gcy"
dt_type '合同'
dt_key Return
dt_expect '^cell 2 1 BACFCDAC$'
xdotool mousemove "$gex" "$gey" mousedown 1
dt_expect '^sizing Grid1$'
xdotool mousemove $((gex + 20)) "$gey" mousemove $((gex + 40)) "$gey" mouseup 1
dt_expect '^colwidth 2 110$'
dt_shot grid

dt_click $((px + pw / 2)) $((py + 8))
dt_key Down Down Down
dt_expect '^page 3$'
dt_key F12
dt_expect '^shot'
dt_end 0
[ -s "$DT_WORK/stdctrls_gallery.png" ] || dt_fail "no screenshot file"
