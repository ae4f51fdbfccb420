// The "excel.application" automation object: a late-bound application object over a
// workbook model (ExcelWorkbook.h) written as .xlsx by SaveAs.
//
// Member names ignore case. The object tree and its members:
//   Application: Workbooks, ActiveWorkbook, ActiveSheet, Cells, Range, Columns, Rows,
//     Application, Visible, DisplayAlerts, ScreenUpdating, Interactive, EnableEvents,
//     EnableAutoComplete, EnableAnimations, Quit
//   Workbooks: Add, Count, Item(i) (also Workbooks(i))
//   Workbook: Worksheets / Sheets (collection; Worksheets(i)), ActiveSheet, Styles, SaveAs,
//     Save, Close, Saved, FullName, Name. SaveAs(FileName, FileFormat, ...) writes .xlsx; a
//     FileFormat other than 51 (the Open XML workbook) raises EOleException.
//   Worksheets: Count, Item(i), Add
//   Worksheet: Range(a[, b]), Cells[(row, col)], Columns[(c)], Rows[(r)], PageSetup,
//     Pictures(i), Name, Select, Activate
//   Range: Value, Value2, Text, NumberFormat, MergeCells, Merge, UnMerge, Style, Font,
//     Interior, Borders[(k)], HorizontalAlignment, VerticalAlignment, WrapText,
//     ColumnWidth, RowHeight, PageBreak, Cells[(r, c)], Columns[(c)], Rows[(r)], Item(r, c),
//     Range, Row, Column, Count, Address, Select, Activate, Clear, ClearContents,
//     PasteSpecial
//   Font: Bold, Italic, Underline, Name, Size, Color; Interior: Color;
//   Borders: Item(k), LineStyle, Weight, Count; Border: LineStyle, Weight;
//   PageSetup: LeftMargin, RightMargin, TopMargin, BottomMargin (points), Orientation (1, 2);
//   Styles: Add(name), Item(name), Count; Style: Name, Font, Interior, HorizontalAlignment,
//     VerticalAlignment, NumberFormat, WrapText; Pictures: Count, Item(i); Picture: Width,
//     Height (points).
// A put with index arguments on Cells, Range or Item writes the value of that range
// (Cells(2, 1) := "x"). An unknown member raises EVariantDispatchError.
//
// When the application is released (the last Variant lets it go) while it is Visible and
// Quit was not called, its active workbook is shown to the user through ShowWorkbookService: a
// workbook never saved is first saved to a new temporary file, so nothing is lost.
#pragma once

#include <functional>
#include <string>

#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

namespace ExcelAutomation {

// A new application object (reference count 0: the Variant that takes it owns it).
IDispatch* CreateExcelApplication();

// Shows a saved workbook file; by default it is opened with the desktop (ShellApi::ShellOpen).
using TShowWorkbook = void(const AnsiString& FileName);
TService<std::function<TShowWorkbook>>& ShowWorkbookService();

// The picture PasteSpecial pastes: fills a PNG file image and its pixel size and answers true,
// or answers false when the clipboard holds none. By default nothing is pasted; the window
// layer's clipboard installs its own.
using TClipboardPicture = bool(std::string& Png, int& Width, int& Height);
TService<std::function<TClipboardPicture>>& ClipboardPictureService();

}  // namespace ExcelAutomation
