// The workbook model behind the "excel.application" automation object: sheets of cells with
// values and formats, named styles, merged ranges, column widths, row heights, page breaks,
// page set-up and pictures, written as a real .xlsx file through libxlsxwriter.
//
// Rows and columns are 1-based, as the automation calls count them. Colours are COLORREF
// (0x00BBGGRR); alignments, border line styles and weights are the automation constants.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

constexpr int ExcelMaxRow = 1048576;
constexpr int ExcelMaxCol = 16384;

// Format members left unset take what lies beneath them (the style, then the defaults).
struct TExcelFormat {
  std::optional<AnsiString> NumberFormat;
  std::optional<AnsiString> FontName;
  std::optional<double> FontSize;
  std::optional<bool> Bold, Italic, Underline, WrapText;
  std::optional<std::uint32_t> FontColor, FillColor;
  std::optional<int> HAlign, VAlign;
  // Line style of the left, top, bottom and right edges (indexes 0..3 = edges 7..10).
  std::optional<int> Border[4];
  std::optional<int> BorderWeight[4];

  // Takes every member `top` sets.
  void Overlay(const TExcelFormat& top);
  // A text naming every member, equal for equal formats.
  std::string Key() const;
};

struct TExcelRect {
  int Top = 1, Left = 1, Bottom = 1, Right = 1;
  bool Contains(int row, int col) const { return row >= Top && row <= Bottom && col >= Left && col <= Right; }
  long long Area() const { return static_cast<long long>(Bottom - Top + 1) * (Right - Left + 1); }
};

struct TExcelCell {
  Variant Value;
  AnsiString Style;  // a named style of the workbook, or empty
  TExcelFormat Format;
};

struct TExcelPicture {
  int Row = 1, Col = 1;
  std::string Png;  // the picture as a PNG file
  int PixelWidth = 0, PixelHeight = 0;
  double Width = 0, Height = 0;  // points; 0 = natural size
};

class TExcelSheet {
public:
  explicit TExcelSheet(const AnsiString& name) : Name(name) {}

  AnsiString Name;
  std::map<std::pair<int, int>, TExcelCell> Cells;  // (row, col)
  std::vector<TExcelRect> Merges;
  std::map<int, double> ColumnWidths;                                      // characters
  std::map<int, double> RowHeights;                                        // points
  std::vector<int> PageBreakRows;                                          // a manual break above each of these rows
  std::optional<double> LeftMargin, RightMargin, TopMargin, BottomMargin;  // points
  bool Landscape = false;
  std::vector<TExcelPicture> Pictures;

  // The cell, created with the formats of the large ranges laid over its place.
  TExcelCell& Cell(int row, int col);
  const TExcelCell* FindCell(int row, int col) const;
  // Changes the format of every cell of `r`. Ranges too large to hold cell by cell (whole
  // rows, columns, the sheet) change the cells present and are remembered for later cells.
  void ChangeFormat(const TExcelRect& r, const std::function<void(TExcelFormat&)>& change);
  void SetStyle(const TExcelRect& r, const AnsiString& style);
  void SetValue(const TExcelRect& r, const Variant& value);
  // Merges `r`; a merged range overlapping it is replaced. Unmerge removes those overlapping.
  void Merge(const TExcelRect& r);
  void Unmerge(const TExcelRect& r);
  bool IsMerged(const TExcelRect& r) const;
  // The format laid over every cell of the sheet (for the empty cells of the columns).
  TExcelFormat SheetFormat() const;

private:
  struct TLayer {
    TExcelRect Rect;
    TExcelFormat Format;
  };
  std::vector<TLayer> FLayers;
};

class TExcelWorkbook {
public:
  // A workbook with one sheet "Sheet1".
  TExcelWorkbook();

  std::vector<std::unique_ptr<TExcelSheet>> Sheets;
  std::map<AnsiString, TExcelFormat> Styles;    // key: the name in lower case
  std::map<AnsiString, AnsiString> StyleNames;  // lower case -> the name as added
  AnsiString FileName;                          // empty until saved
  bool Saved = false;

  TExcelSheet* AddSheet();
  // Adds a named style (or answers the existing one of that name).
  TExcelFormat& AddStyle(const AnsiString& name);
  TExcelFormat* FindStyle(const AnsiString& name);

  // Writes the workbook as .xlsx to FileName (CP936), replacing the file. Raises EOleException
  // with the library's message when the file cannot be written.
  void SaveAs(const AnsiString& FileName);
};
