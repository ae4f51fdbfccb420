#include "platform/sys/ExcelWorkbook.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/sys/AppPaths.h"
#include "platform/rtl/StringUtils.h"

namespace {

// Ranges up to this many cells are held cell by cell.
constexpr long long CellByCellLimit = 65536;

template <class T>
void Take(std::optional<T>& dst, const std::optional<T>& src)
{
  if (src) dst = src;
}

}  // namespace

// ---- Formats -------------------------------------------------------------------------------

void TExcelFormat::Overlay(const TExcelFormat& top)
{
  Take(NumberFormat, top.NumberFormat);
  Take(FontName, top.FontName);
  Take(FontSize, top.FontSize);
  Take(Bold, top.Bold);
  Take(Italic, top.Italic);
  Take(Underline, top.Underline);
  Take(WrapText, top.WrapText);
  Take(FontColor, top.FontColor);
  Take(FillColor, top.FillColor);
  Take(HAlign, top.HAlign);
  Take(VAlign, top.VAlign);
  for (int i = 0; i < 4; ++i) {
    Take(Border[i], top.Border[i]);
    Take(BorderWeight[i], top.BorderWeight[i]);
  }
}

std::string TExcelFormat::Key() const
{
  std::string k;
  auto add = [&k](const auto& o) {
    if (!o)
      k += "-|";
    else {
      std::ostringstream s;
      s << *o;
      k += s.str() + "|";
    }
  };
  add(NumberFormat);
  add(FontName);
  add(FontSize);
  add(Bold);
  add(Italic);
  add(Underline);
  add(WrapText);
  add(FontColor);
  add(FillColor);
  add(HAlign);
  add(VAlign);
  for (int i = 0; i < 4; ++i) {
    add(Border[i]);
    add(BorderWeight[i]);
  }
  return k;
}

// ---- Sheets --------------------------------------------------------------------------------

TExcelCell& TExcelSheet::Cell(int row, int col)
{
  auto [it, added] = Cells.try_emplace({row, col});
  if (added)
    for (const auto& l : FLayers)
      if (l.Rect.Contains(row, col)) it->second.Format.Overlay(l.Format);
  return it->second;
}

const TExcelCell* TExcelSheet::FindCell(int row, int col) const
{
  auto it = Cells.find({row, col});
  return it == Cells.end() ? nullptr : &it->second;
}

void TExcelSheet::ChangeFormat(const TExcelRect& r, const std::function<void(TExcelFormat&)>& change)
{
  if (r.Area() <= CellByCellLimit) {
    for (int row = r.Top; row <= r.Bottom; ++row)
      for (int col = r.Left; col <= r.Right; ++col) change(Cell(row, col).Format);
    return;
  }
  TLayer layer{r, {}};
  change(layer.Format);
  for (auto& [pos, cell] : Cells)
    if (r.Contains(pos.first, pos.second)) cell.Format.Overlay(layer.Format);
  FLayers.push_back(std::move(layer));
}

void TExcelSheet::SetStyle(const TExcelRect& r, const AnsiString& style)
{
  // A style replaces the cells' own formatting, as it does in the spreadsheet.
  auto apply = [&style](TExcelCell& c) {
    c.Style = style;
    c.Format = TExcelFormat();
  };
  if (r.Area() <= CellByCellLimit) {
    for (int row = r.Top; row <= r.Bottom; ++row)
      for (int col = r.Left; col <= r.Right; ++col) apply(Cell(row, col));
  } else {
    for (auto& [pos, cell] : Cells)
      if (r.Contains(pos.first, pos.second)) apply(cell);
  }
}

void TExcelSheet::SetValue(const TExcelRect& r, const Variant& value)
{
  if (value.IsArray()) {
    // Element [i, j] (from the low bounds) goes to the cell i rows and j columns from the
    // top-left; elements outside the range, and cells outside the array, are left alone.
    int dims = Variants::VarArrayDimCount(value);
    int lo0 = Variants::VarArrayLowBound(value, 1), hi0 = Variants::VarArrayHighBound(value, 1);
    int lo1 = dims > 1 ? Variants::VarArrayLowBound(value, 2) : 0;
    int hi1 = dims > 1 ? Variants::VarArrayHighBound(value, 2) : 0;
    if (dims == 1) {  // a one-dimensional array fills a row
      for (int j = lo0; j <= hi0 && r.Left + (j - lo0) <= r.Right; ++j)
        Cell(r.Top, r.Left + (j - lo0)).Value = Variants::VarArrayGet(value, {j});
      return;
    }
    for (int i = lo0; i <= hi0 && r.Top + (i - lo0) <= r.Bottom; ++i)
      for (int j = lo1; j <= hi1 && r.Left + (j - lo1) <= r.Right; ++j) {
        Variant v = Variants::VarArrayGet(value, {i, j});
        int row = r.Top + (i - lo0), col = r.Left + (j - lo1);
        if (v.IsEmpty() && !FindCell(row, col)) continue;
        Cell(row, col).Value = v;
      }
    return;
  }
  if (r.Area() > CellByCellLimit) throw EOleException("Range too large for a value");
  for (int row = r.Top; row <= r.Bottom; ++row)
    for (int col = r.Left; col <= r.Right; ++col) Cell(row, col).Value = value;
}

namespace {
bool Overlaps(const TExcelRect& a, const TExcelRect& b)
{
  return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}
}  // namespace

void TExcelSheet::Merge(const TExcelRect& r)
{
  Unmerge(r);
  if (r.Area() > 1) Merges.push_back(r);
}

void TExcelSheet::Unmerge(const TExcelRect& r)
{
  Merges.erase(std::remove_if(Merges.begin(), Merges.end(), [&r](const TExcelRect& m) { return Overlaps(m, r); }),
               Merges.end());
}

bool TExcelSheet::IsMerged(const TExcelRect& r) const
{
  for (const auto& m : Merges)
    if (m.Top == r.Top && m.Left == r.Left && m.Bottom == r.Bottom && m.Right == r.Right) return true;
  return false;
}

TExcelFormat TExcelSheet::SheetFormat() const
{
  TExcelFormat f;
  for (const auto& l : FLayers)
    if (l.Rect.Top == 1 && l.Rect.Left == 1 && l.Rect.Bottom == ExcelMaxRow && l.Rect.Right == ExcelMaxCol)
      f.Overlay(l.Format);
  return f;
}

// ---- Workbook ------------------------------------------------------------------------------

TExcelWorkbook::TExcelWorkbook() { AddSheet(); }

TExcelSheet* TExcelWorkbook::AddSheet()
{
  Sheets.push_back(std::make_unique<TExcelSheet>("Sheet" + std::to_string(Sheets.size() + 1)));
  return Sheets.back().get();
}

TExcelFormat& TExcelWorkbook::AddStyle(const AnsiString& name)
{
  AnsiString key = SysUtils::LowerCase(name);
  StyleNames.try_emplace(key, name);
  return Styles[key];
}

TExcelFormat* TExcelWorkbook::FindStyle(const AnsiString& name)
{
  auto it = Styles.find(SysUtils::LowerCase(name));
  return it == Styles.end() ? nullptr : &it->second;
}

namespace {

std::uint32_t Rgb(std::uint32_t colorref)
{
  return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

uint8_t HAlignOf(int a)
{
  switch (a) {
    case -4131: return LXW_ALIGN_LEFT;
    case -4152: return LXW_ALIGN_RIGHT;
    case -4108: return LXW_ALIGN_CENTER;
    case -4130: return LXW_ALIGN_JUSTIFY;
    case 5: return LXW_ALIGN_FILL;
    case 7: return LXW_ALIGN_CENTER_ACROSS;
    case -4117: return LXW_ALIGN_DISTRIBUTED;
    default: return LXW_ALIGN_NONE;
  }
}

uint8_t VAlignOf(int a)
{
  switch (a) {
    case -4160: return LXW_ALIGN_VERTICAL_TOP;
    case -4107: return LXW_ALIGN_VERTICAL_BOTTOM;
    case -4108: return LXW_ALIGN_VERTICAL_CENTER;
    case -4130: return LXW_ALIGN_VERTICAL_JUSTIFY;
    case -4117: return LXW_ALIGN_VERTICAL_DISTRIBUTED;
    default: return LXW_ALIGN_NONE;
  }
}

uint8_t BorderOf(const std::optional<int>& style, const std::optional<int>& weight)
{
  int s = style.value_or(-4142);
  int w = weight.value_or(2);
  switch (s) {
    case -4142: return LXW_BORDER_NONE;
    case -4115: return w == -4138 ? LXW_BORDER_MEDIUM_DASHED : LXW_BORDER_DASHED;
    case -4118: return LXW_BORDER_DOTTED;
    case -4119: return LXW_BORDER_DOUBLE;
    case 4: return w == -4138 ? LXW_BORDER_MEDIUM_DASH_DOT : LXW_BORDER_DASH_DOT;
    case 5: return w == -4138 ? LXW_BORDER_MEDIUM_DASH_DOT_DOT : LXW_BORDER_DASH_DOT_DOT;
    case 13: return LXW_BORDER_SLANT_DASH_DOT;
    default:  // continuous, by weight
      if (w == 1) return LXW_BORDER_HAIR;
      if (w == -4138) return LXW_BORDER_MEDIUM;
      if (w == 4) return LXW_BORDER_THICK;
      return LXW_BORDER_THIN;
  }
}

class TFormatCache {
public:
  explicit TFormatCache(lxw_workbook* wb) : FBook(wb) {}
  lxw_format* Get(const TExcelFormat& f)
  {
    std::string key = f.Key();
    auto it = FFormats.find(key);
    if (it != FFormats.end()) return it->second;
    lxw_format* x = workbook_add_format(FBook);
    if (f.NumberFormat) format_set_num_format(x, System::AnsiToUtf8(*f.NumberFormat).c_str());
    if (f.FontName) format_set_font_name(x, System::AnsiToUtf8(*f.FontName).c_str());
    if (f.FontSize && *f.FontSize > 0) format_set_font_size(x, *f.FontSize);
    if (f.Bold.value_or(false)) format_set_bold(x);
    if (f.Italic.value_or(false)) format_set_italic(x);
    if (f.Underline.value_or(false)) format_set_underline(x, LXW_UNDERLINE_SINGLE);
    if (f.WrapText.value_or(false)) format_set_text_wrap(x);
    // Colours beyond 24 bits (system colours, the no-colour value) keep the automatic colour
    // and leave the cell unfilled.
    if (f.FontColor && *f.FontColor <= 0xFFFFFF) format_set_font_color(x, Rgb(*f.FontColor));
    if (f.FillColor && *f.FillColor <= 0xFFFFFF) {
      format_set_pattern(x, LXW_PATTERN_SOLID);
      format_set_bg_color(x, Rgb(*f.FillColor));
    }
    if (f.HAlign) format_set_align(x, HAlignOf(*f.HAlign));
    if (f.VAlign) format_set_align(x, VAlignOf(*f.VAlign));
    format_set_left(x, BorderOf(f.Border[0], f.BorderWeight[0]));
    format_set_top(x, BorderOf(f.Border[1], f.BorderWeight[1]));
    format_set_bottom(x, BorderOf(f.Border[2], f.BorderWeight[2]));
    format_set_right(x, BorderOf(f.Border[3], f.BorderWeight[3]));
    FFormats[key] = x;
    return x;
  }

private:
  lxw_workbook* FBook;
  std::map<std::string, lxw_format*> FFormats;
};

// A text the spreadsheet itself would take as a number on entry: plain decimal notation
// without leading zeros, so that codes like "007" stay text.
bool IsPlainNumber(const AnsiString& s, double& out)
{
  if (s.empty() || s.size() > 15) return false;
  size_t i = (s[0] == '-') ? 1 : 0;
  if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
  if (s[i] == '0' && i + 1 < s.size() && s[i + 1] != '.') return false;
  bool dot = false;
  for (size_t k = i; k < s.size(); ++k) {
    if (s[k] == '.') {
      if (dot || k + 1 == s.size()) return false;
      dot = true;
    } else if (!std::isdigit(static_cast<unsigned char>(s[k]))) {
      return false;
    }
  }
  out = std::strtod(s.c_str(), nullptr);
  return true;
}

void WriteCell(lxw_worksheet* ws, int row, int col, const Variant& value, const TExcelFormat& f, lxw_format* fmt,
               TFormatCache& cache)
{
  lxw_row_t r = static_cast<lxw_row_t>(row - 1);
  lxw_col_t c = static_cast<lxw_col_t>(col - 1);
  const Variant& v = value.Deref();
  TVarType t = v.VarType() & varTypeMask;
  switch (t) {
    case varEmpty:
    case varNull: worksheet_write_blank(ws, r, c, fmt); return;
    case varBoolean: worksheet_write_boolean(ws, r, c, v.AsBoolean() ? 1 : 0, fmt); return;
    case varDate: {
      TExcelFormat df = f;
      if (!df.NumberFormat) df.NumberFormat = "yyyy-mm-dd";
      worksheet_write_number(ws, r, c, v.AsDouble(), cache.Get(df));
      return;
    }
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: worksheet_write_number(ws, r, c, v.AsDouble(), fmt); return;
    default: {
      AnsiString s = v.AsString();
      double n = 0;
      if (f.NumberFormat.value_or("") != "@" && IsPlainNumber(s, n)) {
        worksheet_write_number(ws, r, c, n, fmt);
        return;
      }
      worksheet_write_string(ws, r, c, System::AnsiToUtf8(s).c_str(), fmt);
    }
  }
}

}  // namespace

void TExcelWorkbook::SaveAs(const AnsiString& AFileName)
{
  // The library writes its zip to a name of its own choosing; it goes to a temporary file, and
  // the workbook reaches AFileName in one save, so a failure leaves an earlier file whole.
  const AnsiString temp = AppPaths::CreateTempFile("pelto-book", AnsiString(), ".xlsx");
  struct TRemove {
    const AnsiString& Name;
    ~TRemove() { SysUtils::DeleteFile(Name); }
  } remove{temp};
  std::string name = System::AnsiToUtf8(temp);
  lxw_workbook_options options{};
  options.constant_memory = LXW_FALSE;
  std::string tmp = System::AnsiToUtf8(SysUtils::ExtractFileDir(temp));
  options.tmpdir = const_cast<char*>(tmp.c_str());
  lxw_workbook* wb = workbook_new_opt(name.c_str(), &options);
  if (!wb) throw EOleException("Cannot create workbook " + AFileName);
  TFormatCache cache(wb);
  for (const auto& sheet : Sheets) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, System::AnsiToUtf8(sheet->Name).c_str());
    if (!ws) ws = workbook_add_worksheet(wb, nullptr);
    if (sheet->Landscape) worksheet_set_landscape(ws);
    if (sheet->LeftMargin || sheet->RightMargin || sheet->TopMargin || sheet->BottomMargin)
      worksheet_set_margins(ws, sheet->LeftMargin.value_or(0.7 * 72) / 72, sheet->RightMargin.value_or(0.7 * 72) / 72,
                            sheet->TopMargin.value_or(0.75 * 72) / 72, sheet->BottomMargin.value_or(0.75 * 72) / 72);
    // Columns: the sheet-wide format for empty cells, the widths set.
    TExcelFormat sheetFormat = sheet->SheetFormat();
    bool hasSheetFormat = sheetFormat.Key() != TExcelFormat().Key();
    lxw_format* colFormat = hasSheetFormat ? cache.Get(sheetFormat) : nullptr;
    int next = 1;
    for (const auto& [col, width] : sheet->ColumnWidths) {
      if (col > ExcelMaxCol) break;
      if (colFormat && col > next) worksheet_set_column(ws, next - 1, col - 2, LXW_DEF_COL_WIDTH, colFormat);
      worksheet_set_column(ws, col - 1, col - 1, std::clamp(width, 0.0, 255.0), colFormat);
      next = col + 1;
    }
    if (colFormat && next <= ExcelMaxCol)
      worksheet_set_column(ws, next - 1, ExcelMaxCol - 1, LXW_DEF_COL_WIDTH, colFormat);
    for (const auto& [row, height] : sheet->RowHeights)
      worksheet_set_row(ws, row - 1, std::clamp(height, 0.0, 409.0), nullptr);
    auto effective = [this](const TExcelCell& cell) {
      TExcelFormat f;
      if (!cell.Style.empty())
        if (const TExcelFormat* s = FindStyle(cell.Style)) f = *s;
      f.Overlay(cell.Format);
      return f;
    };
    for (const auto& m : sheet->Merges) {
      const TExcelCell* tl = sheet->FindCell(m.Top, m.Left);
      TExcelFormat f = tl ? effective(*tl) : TExcelFormat();
      worksheet_merge_range(ws, m.Top - 1, m.Left - 1, m.Bottom - 1, m.Right - 1, "", cache.Get(f));
    }
    for (const auto& [pos, cell] : sheet->Cells) {
      if (pos.first > ExcelMaxRow || pos.second > ExcelMaxCol) continue;
      TExcelFormat f = effective(cell);
      WriteCell(ws, pos.first, pos.second, cell.Value, f, cache.Get(f), cache);
    }
    std::vector<lxw_row_t> breaks;
    for (int row : sheet->PageBreakRows)
      if (row > 1) breaks.push_back(static_cast<lxw_row_t>(row - 1));
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    if (breaks.size() > 1023) breaks.resize(1023);
    if (!breaks.empty()) {
      breaks.push_back(0);
      worksheet_set_h_pagebreaks(ws, breaks.data());
    }
    for (const auto& p : sheet->Pictures) {
      lxw_image_options io{};
      // Natural size is the picture's pixels at 96 dpi: 0.75 points each.
      io.x_scale = p.Width > 0 && p.PixelWidth > 0 ? p.Width / (p.PixelWidth * 0.75) : 1;
      io.y_scale = p.Height > 0 && p.PixelHeight > 0 ? p.Height / (p.PixelHeight * 0.75) : 1;
      worksheet_insert_image_buffer_opt(ws, p.Row - 1, p.Col - 1, reinterpret_cast<const unsigned char*>(p.Png.data()),
                                        p.Png.size(), &io);
    }
  }
  lxw_error err = workbook_close(wb);
  if (err != LXW_NO_ERROR) throw EOleException("Cannot save " + AFileName + ": " + lxw_strerror(err));
  AnsiString bytes;
  if (!SysUtils::LoadFileBytes(temp, bytes))
    throw EOleException("Cannot save " + AFileName + ": the workbook was not written");
  try {
    SaveSeam::SaveFile(AFileName, bytes);
  } catch (const EFCreateError& e) {
    throw EOleException("Cannot save " + AFileName + ": " + e.Message());
  }
  FileName = AFileName;
  Saved = true;
}
