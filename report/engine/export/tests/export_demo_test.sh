# The exports' demonstration on a throw-away X server (run by scripts/desktop-test.sh): exports
# the sample through each settings dialog and the save dialog, checks that each file opens
# (pdftotext, openpyxl, LibreOffice, the program's own JPEG decoder), cancels one dialog and
# takes a screenshot.
dt_start "$DT_WORK/export_demo.png"
dt_expect '^ready'
read -r _ _ px py pw ph _ xx xy xw xh _ rx ry rw rh _ jx jy jw jh <<<"$DT_LINE"
dt_window

# Clicks a button, confirms the settings dialog with Enter and types the file name into the
# save dialog; leaves the written file in FILE.
export_through() {
  local kind=$1 x=$2 y=$3 w=$4 h=$5 dialog=$6
  dt_click $((x + w / 2)) $((y + h / 2))
  dt_expect "^dialog $dialog "
  dt_shot "dialog-$kind"
  dt_key Return
  dt_expect '^dialog TFileDialogForm '
  dt_type "$DT_WORK/sample-$kind"
  dt_key Return
  dt_expect "^(exported|cancelled|failed) $kind"
  case $DT_LINE in
    "exported $kind "*) FILE=${DT_LINE#exported $kind } ;;
    *) dt_fail "export $kind: $DT_LINE" ;;
  esac
  [ -s "$FILE" ] || dt_fail "export $kind wrote no file $FILE"
}

export_through pdf "$px" "$py" "$pw" "$ph" TfrxPDFExportDialog
[ "$FILE" = "$DT_WORK/sample-pdf.pdf" ] || dt_fail "pdf went to $FILE"
pdftotext "$FILE" - | grep -q '澜岳合同清单' || dt_fail "pdftotext finds no title in $FILE"
pages=$(pdfinfo "$FILE" | awk '/^Pages:/ { print $2 }')
[ "${pages:-0}" -ge 2 ] || dt_fail "the list has ${pages:-no} pages in $FILE"
# The footer of the double-pass list: its own number and the count on every page.
pdftotext "$FILE" - | grep -q "第 *1 *页 *共 *$pages *页" || dt_fail "pdftotext finds no first page footer in $FILE"
pdftotext "$FILE" - | grep -q "第 *$pages *页 *共 *$pages *页" || dt_fail "pdftotext finds no last page footer in $FILE"

export_through xls "$xx" "$xy" "$xw" "$xh" TfrxXLSExportDialog
[ "$FILE" = "$DT_WORK/sample-xls.xlsx" ] || dt_fail "xlsx went to $FILE"
/usr/bin/python3 - "$FILE" <<'PY' || dt_fail "openpyxl cannot read $FILE"
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
texts = [str(c.value) for row in ws.iter_rows() for c in row if c.value is not None]
assert any("澜岳合同清单" in t for t in texts), texts[:10]
assert "甲公司" in texts, texts[:20]
PY

export_through rtf "$rx" "$ry" "$rw" "$rh" TfrxRTFExportDialog
[ "$FILE" = "$DT_WORK/sample-rtf.rtf" ] || dt_fail "rtf went to $FILE"
soffice -env:UserInstallation="file://$DT_WORK/lo-profile" --headless --convert-to txt:Text --outdir "$DT_WORK/txt" \
  "$FILE" >"$DT_WORK/soffice.log" 2>&1 || dt_fail "LibreOffice cannot convert $FILE"
grep -q '澜岳合同清单' "$DT_WORK/txt/sample-rtf.txt" || dt_fail "LibreOffice reads no title from $FILE"

export_through jpeg "$jx" "$jy" "$jw" "$jh" TfrxIMGExportDialog
[ "$FILE" = "$DT_WORK/sample-jpeg.1.jpg" ] || dt_fail "jpeg went to $FILE"
for page in $(seq "$pages"); do
  decoded=$("$DT_PROGRAM" --jpeg "$DT_WORK/sample-jpeg.$page.jpg")
  [[ $decoded =~ ^jpeg\ [1-9][0-9]*\ [1-9][0-9]*$ ]] || dt_fail "page $page: $decoded"
done

# A dialog cancelled with Escape exports nothing.
dt_click $((px + pw / 2)) $((py + ph / 2))
dt_expect '^dialog TfrxPDFExportDialog '
dt_key Escape
dt_expect '^cancelled pdf'

dt_key F12
dt_expect '^shot'
dt_end 0
[ -s "$DT_WORK/export_demo.png" ] || dt_fail "no screenshot file"
