# The framework's gallery on a throw-away X server (run by scripts/desktop-test.sh): holds the
# scroll bar's arrow until it repeats, drags the thumb of the 100,000-line list to the bottom,
# opens the drop-down and closes it by clicking outside, then takes a screenshot.
dt_start "$DT_WORK/framework_gallery.png"
dt_expect '^ready'
dt_window
read -r _ _ arrowx arrowy _ thumbx thumby _ bottomx bottomy _ dropx dropy _ outx outy <<<"$DT_LINE"

# A held arrow steps at once, then repeats.
xdotool mousemove --sync "$arrowx" "$arrowy" mousedown 1 || dt_fail "xdotool could not press the arrow"
dt_expect '^scroll 1 1$'
dt_expect '^scroll 1 3$'
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_expect '^scroll 8 '

# The list's painted thumb dragged to the bottom reaches the last lines.
xdotool mousemove --sync "$thumbx" "$thumby" mousedown 1 || dt_fail "xdotool could not press the thumb"
xdotool mousemove --sync "$thumbx" $((thumby + 40)) || dt_fail "xdotool could not move"
xdotool mousemove --sync "$bottomx" "$bottomy" || dt_fail "xdotool could not move"
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_key F11
dt_expect '^top '
read -r _ top <<<"$DT_LINE"
[ "$top" -gt 99000 ] || dt_fail "the list's first line is $top, not near the end"

dt_click "$dropx" "$dropy"
dt_expect '^popup shown$'
dt_shot dropped
dt_click "$outx" "$outy"
dt_expect '^popup closed$'
dt_expect '^clicked outside$'

dt_key F12
dt_expect '^shot$'
dt_end 0
[ -s "$DT_WORK/framework_gallery.png" ] || dt_fail "no screenshot file"
