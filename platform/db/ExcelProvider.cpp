#include "platform/db/ExcelProvider.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

#include "platform/db/xls/XlsError.h"
#include "platform/db/xls/XlsReader.h"
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

WideString CellText(const TXlsWorkbook& book, const TXlsCell& c)
{
  switch (c.Kind) {
    case TXlsCellKind::Text: return book.Strings[c.Str];
    case TXlsCellKind::Number: return System::AnsiToWide(SysUtils::FloatToStr(c.Value));
    case TXlsCellKind::Boolean: return c.Value != 0 ? u"TRUE" : u"FALSE";
    case TXlsCellKind::Date: {
      const bool timeOnly = c.Value < 1 && c.Value >= 0;
      const bool dateOnly = c.Value == std::floor(c.Value);
      const AnsiString fmt = timeOnly ? "hh:nn:ss" : dateOnly ? "yyyy-mm-dd" : "yyyy-mm-dd hh:nn:ss";
      return System::AnsiToWide(SysUtils::FormatDateTime(fmt, TDateTime(c.Value)));
    }
    case TXlsCellKind::Error: break;
  }
  return WideString();
}

// The table of a sheet: the rows and columns between its first and last cells that hold a value
// (an error value counts as none), the first of those rows giving the field names.
TSheet ReadSheet(const TXlsWorkbook& book, const TXlsSheet& xs)
{
  TSheet sheet;
  sheet.Name = System::WideToAnsi(xs.Name);
  std::vector<const TXlsCell*> cells;
  cells.reserve(xs.Cells.size());
  for (const TXlsCell& c : xs.Cells)
    if (c.Kind != TXlsCellKind::Error) cells.push_back(&c);
  if (cells.empty()) return sheet;
  // By place; of two cells at one place the later in the file stands.
  std::stable_sort(cells.begin(), cells.end(), [](const TXlsCell* a, const TXlsCell* b) {
    return a->Row != b->Row ? a->Row < b->Row : a->Col < b->Col;
  });
  std::uint32_t firstCol = UINT32_MAX, lastCol = 0;
  for (const TXlsCell* c : cells) {
    firstCol = std::min<std::uint32_t>(firstCol, c->Col);
    lastCol = std::max<std::uint32_t>(lastCol, c->Col);
  }
  const std::uint32_t headerRow = cells.front()->Row, cols = lastCol - firstCol + 1;
  std::vector<const TXlsCell*> header(cols);
  std::vector<std::vector<const TXlsCell*>> rows(cells.back()->Row - headerRow);
  for (const TXlsCell* c : cells) {
    if (c->Row == headerRow) {
      header[c->Col - firstCol] = c;
    } else {
      auto& row = rows[c->Row - headerRow - 1];
      if (row.empty()) row.resize(cols);
      row[c->Col - firstCol] = c;
    }
  }

  for (std::uint32_t c = 0; c < cols; ++c) {
    TProviderColumn col;
    col.Name = header[c] ? SysUtils::Trim(System::WideToAnsi(CellText(book, *header[c]))) : AnsiString();
    for (const TProviderColumn& other : sheet.Columns)
      if (SysUtils::SameText(other.Name, col.Name)) col.Name.clear();
    if (col.Name.empty()) col.Name = "F" + SysUtils::IntToStr(c + 1);
    bool numbers = false, dates = false, flags = false, texts = false;
    for (const auto& row : rows) {
      if (row.empty() || !row[c]) continue;
      numbers |= row[c]->Kind == TXlsCellKind::Number;
      dates |= row[c]->Kind == TXlsCellKind::Date;
      flags |= row[c]->Kind == TXlsCellKind::Boolean;
      texts |= row[c]->Kind == TXlsCellKind::Text;
    }
    if (numbers && !dates && !flags && !texts) {
      col.DataType = ftFloat;
    } else if (dates && !numbers && !flags && !texts) {
      col.DataType = ftDateTime;
    } else if (flags && !numbers && !dates && !texts) {
      col.DataType = ftBoolean;
    } else {
      col.DataType = ftWideString;
      col.Size = 255;
    }
    sheet.Columns.push_back(col);
  }

  sheet.Rows.reserve(rows.size());
  for (const auto& row : rows) {
    std::vector<Variant> values(cols, Variant::Null());
    for (std::uint32_t c = 0; c < cols && !row.empty(); ++c) {
      const TXlsCell* cell = row[c];
      if (!cell) continue;
      switch (sheet.Columns[c].DataType) {
        case ftFloat: values[c] = Variant(cell->Value); break;
        case ftDateTime: values[c] = Variant(TDateTime(cell->Value)); break;
        case ftBoolean: values[c] = Variant(cell->Value != 0); break;
        default:
          values[c] = Variant(CellText(book, *cell));
          if (static_cast<Integer>(values[c].AsWideString().size()) > sheet.Columns[c].Size)
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
    TXlsWorkbook book;
    try {
      book = XlsReader::ReadFile(System::AnsiToUtf8(file));
    } catch (const EXlsError& e) {
      if (e.Reason() == EXlsError::xeEncrypted) throw EOleException("Could not decrypt file.");
      throw EOleException("External table is not in the expected format.");
    }
    // Everything is read: the workbook is not kept open (nor locked).
    for (const TXlsSheet& s : book.Sheets) FSheets.push_back(ReadSheet(book, s));
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
