// Reads an .xls workbook (BIFF8, and BIFF5/BIFF7 of the earlier versions) into its sheets' cells.
//
// Call flow: ReadFile/ReadBytes -> TCompoundFile (the container) -> the "Workbook" (or "Book")
// stream -> the globals (code page, date system, number formats, cell formats, shared strings,
// sheet list) -> each worksheet's cell records. Formula cells give their cached results. A cell
// is a date when its number format shows a date or a time; its value is then a TDateTime day
// number in either date system, and an elapsed-time format ("[h]:mm") keeps the plain number of
// days. Empty texts, blank cells and formulas whose result is an empty text are left out.
//
// Raises EXlsError: xeNotWorkbook for what is no .xls workbook, xeEncrypted for a
// password-protected one, xeDamaged for anything that does not fit (every length, count, offset
// and chain is checked before it is used; a cell past the 256th column and two sheets on the same
// records are damage too).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/AnsiStrings.h"

class TByteSource;
class TCompoundFile;

enum class TXlsCellKind : std::uint8_t { Number, Date, Text, Boolean, Error };

struct TXlsCell {
  std::uint32_t Row = 0;
  std::uint16_t Col = 0;
  TXlsCellKind Kind = TXlsCellKind::Number;
  union {
    double Value;       // Number, Date (a TDateTime day number), Boolean (0 or 1), Error (its code)
    std::uint32_t Str;  // Text: an index into TXlsWorkbook::Strings
  };
  TXlsCell() : Value(0) {}
};

enum class TXlsVisibility : std::uint8_t { Visible, Hidden, VeryHidden };

struct TXlsSheet {
  WideString Name;
  TXlsVisibility Visibility = TXlsVisibility::Visible;
  std::vector<TXlsCell> Cells;  // in the file's order; of two at one place the later one stands
};

struct TXlsWorkbook {
  int Biff = 8;  // 8, or 5 for BIFF5/BIFF7
  bool Date1904 = false;
  std::vector<TXlsSheet> Sheets;  // the worksheets, in the workbook's order (charts and modules left out)
  std::vector<WideString> Strings;
};

namespace XlsReader {

TXlsWorkbook ReadFile(const std::string& Utf8Path);
TXlsWorkbook ReadBytes(const void* Data, std::size_t Size);
TXlsWorkbook ReadCompound(const TCompoundFile& File);
// The workbook stream's records alone (for a stream already taken out of its container).
TXlsWorkbook ReadStream(const std::string& Stream);

}  // namespace XlsReader
