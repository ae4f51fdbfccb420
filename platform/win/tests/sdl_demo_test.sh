# The demonstration program on a throw-away X server (run by scripts/desktop-test.sh): clicks its
# pad, types into it, opens its menu and chooses an item, then has it take a screenshot through
# the back end and end.
dt_start "$DT_WORK/demo.png"
dt_expect '^ready'
dt_window
read -r _ _ padx pady _ menux menuy <<<"$DT_LINE"

dt_click "$padx" "$pady"
dt_expect '^click'
dt_type 'ab'
dt_expect '^char 0x62'
# A character beyond ASCII comes as text (as from an input method): its two CP936 bytes.
dt_type '合'
dt_expect '^char 0xBA'
dt_expect '^char 0xCF'
dt_shot typed
dt_click "$menux" "$menuy"
dt_expect '^menu open'
dt_key Down Return
dt_expect '^command 101'
dt_click "$padx" "$pady"
dt_expect '^click'
dt_key F12
# The pad's colour (255 255 192) where no text is drawn.
dt_expect '^shot'
[ "$DT_LINE" = "shot 255 255 192" ] || dt_fail "screenshot colour wrong: $DT_LINE"
dt_end 0
grep -q '^char 0x61' "$DT_LOG" || dt_fail "typed 'a' missing"
[ -s "$DT_WORK/demo.png" ] || dt_fail "no screenshot file"
