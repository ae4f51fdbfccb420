#!/bin/sh
# Makes the workbooks the "Excel 8.0" tests read from the spreadsheets beside this script, with real
# spreadsheet programs: workbooks-biff8-calc.xls and dates1904.xls (BIFF8) with LibreOffice
# (libreoffice-calc), workbooks-biff8.xls (BIFF8) and workbooks-biff5.xls (BIFF5, code page 936)
# with Gnumeric's ssconvert (gnumeric) under a zh_CN.UTF-8 locale (locales, locale-gen), from the
# .ods LibreOffice makes of workbooks.fods. Run it by hand when a source changes: the .xls files
# are committed, so the tests need neither program.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A profile that recalculates every formula on load, so the cached results written are real ones.
mkdir -p "$tmp/profile/user"
cat >"$tmp/profile/user/registrymodifications.xcu" <<'XCU'
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="ODFRecalcMode" oor:op="fuse"><value>0</value></prop></item>
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
XCU
office() { soffice -env:UserInstallation="file://$tmp/profile" --headless "$@" >/dev/null 2>&1; }

cd "$tmp"
office --convert-to 'xls:MS Excel 97' --outdir "$tmp" "$here/workbooks.fods" "$here/dates1904.fods"
cp workbooks.xls "$here/workbooks-biff8-calc.xls"
cp dates1904.xls "$here/dates1904.xls"

office --convert-to ods --outdir "$tmp" "$here/workbooks.fods"
for biff in 8 7; do
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 ssconvert -T Gnumeric_Excel:excel_biff$biff workbooks.ods biff$biff.xls >/dev/null 2>&1
done
cp biff8.xls "$here/workbooks-biff8.xls"
cp biff7.xls "$here/workbooks-biff5.xls"
echo "made workbooks-biff8.xls, workbooks-biff8-calc.xls, workbooks-biff5.xls and dates1904.xls"
