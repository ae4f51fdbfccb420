# The editors' gallery on a throw-away X server (run by scripts/desktop-test.sh): types Latin and
# Chinese text into the text editors (with completion and a mask), hovers one editor's drop-down
# button until it lights, presses another editor's ellipsis button and releases it over the
# button (a click), then takes a screenshot.
dt_start "$DT_WORK/editors_gallery.png"
dt_expect '^textedit'
read -r _ plainx plainy lookupx lookupy maskx masky _ <<<"$DT_LINE"
dt_expect '^ready'
dt_window
read -r _ _ hoverx hovery _ pressx pressy _ awayx awayy <<<"$DT_LINE"
dt_expect '^choices'
read -r _ _ checkx checky _ openx openy <<<"$DT_LINE"
dt_expect '^spinmemo'
read -r _ _ upx upy _ barx bary <<<"$DT_LINE"

# Text editors: Latin and Chinese text, completion from the lookup items, a masked number.
dt_click "$plainx" "$plainy"
dt_type "ab合同"
dt_expect '^plain ab合同$'
dt_click "$lookupx" "$lookupy"
dt_type "ap"
dt_expect '^lookup Apple$'
dt_click "$maskx" "$masky"
xdotool key --delay 40 Home || dt_fail "xdotool could not press Home"
dt_type "5551234567"
dt_expect '^mask \(555\) 123-4567$'
dt_shot text

xdotool mousemove --sync "$hoverx" "$hovery" || dt_fail "xdotool could not move"
dt_expect '^hot 1 4 1$'
dt_shot hover

xdotool mousemove --sync "$pressx" "$pressy" mousedown 1 || dt_fail "xdotool could not press"
dt_expect '^down 4 1 0$'
dt_shot pressed
xdotool mouseup 1 || dt_fail "xdotool could not release"
dt_expect '^up 4 1 0$'
dt_expect '^click 4 1 0$'

# A check box toggles on a click; the pop-up opens from its editor's button and shrinks by its grip.
dt_click "$checkx" "$checky"
dt_expect '^check 0 1$'
dt_click "$openx" "$openy"
dt_expect '^popup '
read -r _ popw poph _ gripx gripy <<<"$DT_LINE"
xdotool mousemove --sync "$gripx" "$gripy" mousedown 1 || dt_fail "xdotool could not press the grip"
xdotool mousemove --sync $((gripx - 20)) $((gripy - 10)) || dt_fail "xdotool could not drag"
xdotool mousemove --sync $((gripx - 60)) $((gripy - 40)) || dt_fail "xdotool could not drag"
dt_shot sizing
xdotool mouseup 1 || dt_fail "xdotool could not release the grip"
dt_expect "^resized $((popw - 60)) $((poph - 40))$"
dt_shot popup

# A held spin button steps at once and again and again by its repeat; the memo scrolls by its bar.
xdotool mousemove --sync "$upx" "$upy" mousedown 1 || dt_fail "xdotool could not press the spin button"
dt_expect '^spin 1$'
dt_expect '^spin 3$'
xdotool mouseup 1 || dt_fail "xdotool could not release the spin button"
dt_click "$barx" "$bary"
dt_expect '^memo top 1$'
dt_shot spinmemo

xdotool mousemove --sync "$awayx" "$awayy" || dt_fail "xdotool could not move"
dt_key F12
dt_expect '^shot$'
dt_end 0
[ -s "$DT_WORK/editors_gallery.png" ] || dt_fail "no screenshot file"
