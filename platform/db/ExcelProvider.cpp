#include "platform/db/ExcelProvider.h"

#include <freexl.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"

namespace ExcelProvider {

namespace {

struct TSheet {
  AnsiString Name;
  std::vector<TProviderColumn> Columns;
  std::vector<std::vector<Variant>> Rows;
};

// A cell as FreeXL gives it: a number, a date (day number), a text, or nothing.
struct TCell {
  enum { Empty, Number, Date, Text } Kind = Empty;
  double Num = 0;
  WideString Str;
};

bool DayNumber(const char* s, double& days)
{
  int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0;
  if (std::sscanf(s, "%d-%d-%d %d:%d:%d", &y, &m, &d, &hh, &nn, &ss) >= 3) {
    TDateTime date;
    if (!SysUtils::TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date)) return false;
    days = date.Value + (hh * 3600 + nn * 60 + ss) / 86400.0;
    return true;
  }
  if (std::sscanf(s, "%d:%d:%d", &hh, &nn, &ss) == 3) {
    days = (hh * 3600 + nn * 60 + ss) / 86400.0;
    return true;
  }
  return false;
}

TCell ReadCell(const void* xls, unsigned row, unsigned short col)
{
  FreeXL_CellValue v;
  TCell c;
  if (freexl_get_cell_value(xls, row, col, &v) != FREEXL_OK) return c;
  switch (v.type) {
    case FREEXL_CELL_INT:
      c.Kind = TCell::Number;
      c.Num = v.value.int_value;
      break;
    case FREEXL_CELL_DOUBLE:
      c.Kind = TCell::Number;
      c.Num = v.value.double_value;
      break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      c.Kind = TCell::Text;
      c.Str = System::Utf8ToWide(v.value.text_value ? v.value.text_value : "");
      if (c.Str.empty()) c.Kind = TCell::Empty;
      break;
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      if (v.value.text_value && DayNumber(v.value.text_value, c.Num)) {
        c.Kind = TCell::Date;
      } else {
        c.Kind = TCell::Text;
        c.Str = System::Utf8ToWide(v.value.text_value ? v.value.text_value : "");
      }
      break;
    default: break;
  }
  return c;
}

WideString CellText(const TCell& c)
{
  switch (c.Kind) {
    case TCell::Text: return c.Str;
    case TCell::Number: return System::AnsiToWide(SysUtils::FloatToStr(c.Num));
    case TCell::Date: {
      bool timeOnly = c.Num < 1 && c.Num >= 0;
      bool dateOnly = c.Num == std::floor(c.Num);
      AnsiString fmt = timeOnly ? "hh:nn:ss" : dateOnly ? "yyyy-mm-dd" : "yyyy-mm-dd hh:nn:ss";
      return System::AnsiToWide(SysUtils::FormatDateTime(fmt, TDateTime(c.Num)));
    }
    default: return WideString();
  }
}

TSheet ReadSheet(const void* xls, unsigned short index, const AnsiString& name)
{
  TSheet sheet;
  sheet.Name = name;
  unsigned int rows = 0;
  unsigned short cols = 0;
  if (freexl_select_active_worksheet(xls, index) != FREEXL_OK ||
      freexl_worksheet_dimensions(xls, &rows, &cols) != FREEXL_OK)
    throw EOleException("External table is not in the expected format.");
  std::vector<std::vector<TCell>> cells;
  for (unsigned r = 1; r < rows; ++r) {
    std::vector<TCell> row;
    for (unsigned short c = 0; c < cols; ++c) row.push_back(ReadCell(xls, r, c));
    cells.push_back(std::move(row));
  }
  while (!cells.empty()) {
    bool empty = true;
    for (const TCell& c : cells.back()) empty = empty && c.Kind == TCell::Empty;
    if (!empty) break;
    cells.pop_back();
  }
  for (unsigned short c = 0; c < cols; ++c) {
    TProviderColumn col;
    TCell title = rows > 0 ? ReadCell(xls, 0, c) : TCell();
    col.Name = SysUtils::Trim(System::WideToAnsi(CellText(title)));
    for (const TProviderColumn& other : sheet.Columns)
      if (SysUtils::SameText(other.Name, col.Name)) col.Name.clear();
    if (col.Name.empty()) col.Name = "F" + SysUtils::IntToStr(c + 1);
    bool numbers = false, dates = false, texts = false;
    for (const auto& row : cells) {
      numbers |= row[c].Kind == TCell::Number;
      dates |= row[c].Kind == TCell::Date;
      texts |= row[c].Kind == TCell::Text;
    }
    if (numbers && !dates && !texts)
      col.DataType = ftFloat;
    else if (dates && !numbers && !texts)
      col.DataType = ftDateTime;
    else {
      col.DataType = ftWideString;
      col.Size = 255;
    }
    sheet.Columns.push_back(col);
  }
  for (const auto& row : cells) {
    std::vector<Variant> values;
    for (unsigned short c = 0; c < cols; ++c) {
      const TCell& cell = row[c];
      TFieldType t = sheet.Columns[c].DataType;
      if (cell.Kind == TCell::Empty)
        values.push_back(Variant::Null());
      else if (t == ftFloat)
        values.push_back(Variant(cell.Num));
      else if (t == ftDateTime)
        values.push_back(Variant(TDateTime(cell.Num)));
      else {
        values.push_back(Variant(CellText(cell)));
        if (static_cast<Integer>(values.back().AsWideString().size()) > sheet.Columns[c].Size)
          sheet.Columns[c].DataType = ftWideMemo;
      }
    }
    sheet.Rows.push_back(std::move(values));
  }
  return sheet;
}

// "[[Sheet1$]]", "'Sheet1$'", "Sheet1$" -> "Sheet1$"
AnsiString Unquote(AnsiString s)
{
  for (;;) {
    s = SysUtils::Trim(s);
    if (s.size() >= 2 && ((s.front() == '[' && s.back() == ']') || (s.front() == '\'' && s.back() == '\'') ||
                          (s.front() == '`' && s.back() == '`') || (s.front() == '"' && s.back() == '"')))
      s = s.substr(1, s.size() - 2);
    else
      return s;
  }
}

class TExcelProvider : public TDBProvider {
public:
  void Open(const TConnectionString& Params, Integer) override
  {
    Close();
    AnsiString file = Params.Has("DATABASE") ? Params.Get("DATABASE") : Params.Get("Data Source");
    struct stat st;
    if (file.empty() || ::stat(System::AnsiToUtf8(file).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
      throw EOleException(SysUtils::Format("Could not find file '%s'.", {file}));
    const void* xls = nullptr;
    if (freexl_open(System::AnsiToUtf8(file).c_str(), &xls) != FREEXL_OK) {
      freexl_close(xls);
      throw EOleException("External table is not in the expected format.");
    }
    try {
      unsigned int count = 0;
      if (freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        throw EOleException("External table is not in the expected format.");
      for (unsigned short i = 0; i < count; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls, i, &name) != FREEXL_OK || !name)
          throw EOleException("External table is not in the expected format.");
        FSheets.push_back(ReadSheet(xls, i, System::Utf8ToAnsi(name)));
      }
    } catch (...) {
      freexl_close(xls);
      FSheets.clear();
      throw;
    }
    freexl_close(xls);  // everything is read: the workbook is not kept open (nor locked)
    FOpen = true;
  }

  void Close() override
  {
    FSheets.clear();
    FOpen = false;
  }
  bool GetConnected() const override { return FOpen; }
  Integer BeginTrans() override { throw EOleException("Operation is not supported for this type of object."); }
  void CommitTrans() override { throw EOleException("Cannot commit or rollback without a transaction."); }
  void RollbackTrans() override { throw EOleException("Cannot commit or rollback without a transaction."); }
  Integer GetTransactionLevel() const override { return 0; }

  std::vector<AnsiString> GetTableNames(bool) override
  {
    std::vector<AnsiString> names;
    for (const TSheet& s : FSheets) names.push_back(s.Name + "$");
    return names;
  }

  TProviderResult Execute(const WideString& Sql, const TParameters*, Integer) override
  {
    if (!FOpen) throw EOleException("Operation is not allowed when the object is closed.");
    AnsiString sql = SysUtils::Trim(System::WideToAnsi(Sql));
    while (!sql.empty() && sql.back() == ';') sql = SysUtils::Trim(sql.substr(0, sql.size() - 1));
    AnsiString upper = SysUtils::UpperCase(sql);
    std::size_t from = upper.find(" FROM ");
    AnsiString head = from == AnsiString::npos ? AnsiString() : SysUtils::Trim(upper.substr(0, from));
    if (head.compare(0, 6, "SELECT") != 0 || SysUtils::Trim(head.substr(6)) != "*")
      throw EOleException("Operation must use an updateable query.");
    AnsiString table = Unquote(sql.substr(from + 6));
    AnsiString sheet = table.size() > 1 && table.back() == '$' ? table.substr(0, table.size() - 1) : AnsiString();
    for (const TSheet& s : FSheets) {
      if (!sheet.empty() && SysUtils::AnsiSameText(s.Name, sheet)) {
        TProviderResult r;
        r.Columns = s.Columns;
        r.Rows = s.Rows;
        return r;
      }
    }
    throw EOleException(SysUtils::Format(
        "The Microsoft Jet database engine could not find the object '%s'.  Make sure the object exists and that "
        "you spell its name and the path name correctly.",
        {table}));
  }

private:
  std::vector<TSheet> FSheets;
  bool FOpen = false;
};

}  // namespace

bool IsExcelConnection(const TConnectionString& Params)
{
  if (Params.Has("Excel 8.0")) return true;
  return SysUtils::UpperCase(Params.Get("Extended Properties")).find("EXCEL") != AnsiString::npos;
}

std::unique_ptr<TDBProvider> Create() { return std::make_unique<TExcelProvider>(); }

}  // namespace ExcelProvider
