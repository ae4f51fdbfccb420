#include "platform/db/xls/XlsReader.h"

#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/db/xls/BiffRecords.h"
#include "platform/db/xls/CompoundFile.h"
#include "platform/db/xls/NumberFormats.h"
#include "platform/db/xls/XlsError.h"

namespace XlsReader {

using namespace BiffRecords;

namespace {

// ---- Record ids ------------------------------------------------------------------------------

constexpr std::uint16_t rtFormula = 0x0006;
constexpr std::uint16_t rtEof = 0x000A;
constexpr std::uint16_t rtDateMode = 0x0022;
constexpr std::uint16_t rtFilePass = 0x002F;
constexpr std::uint16_t rtCodePage = 0x0042;
constexpr std::uint16_t rtBoundSheet = 0x0085;
constexpr std::uint16_t rtMulRk = 0x00BD;
constexpr std::uint16_t rtRString = 0x00D6;
constexpr std::uint16_t rtXf = 0x00E0;
constexpr std::uint16_t rtSst = 0x00FC;
constexpr std::uint16_t rtLabelSst = 0x00FD;
constexpr std::uint16_t rtNumber = 0x0203;
constexpr std::uint16_t rtLabel = 0x0204;
constexpr std::uint16_t rtBoolErr = 0x0205;
constexpr std::uint16_t rtString = 0x0207;
constexpr std::uint16_t rtRk = 0x027E;
constexpr std::uint16_t rtFormat = 0x041E;
constexpr std::uint16_t rtBof = 0x0809;

constexpr std::uint16_t kGlobals = 0x0005;
constexpr std::uint16_t kWorksheet = 0x0010;
constexpr std::uint16_t kColumns = 256;

[[noreturn]] void Damaged(const AnsiString& what) { throw EXlsError(EXlsError::xeDamaged, what); }

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) { return U16(p) | static_cast<std::uint32_t>(U16(p + 2)) << 16; }
double F64(const std::uint8_t* p)
{
  double d;
  std::memcpy(&d, p, sizeof d);
  return d;
}

double RkValue(std::uint32_t rk)
{
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFC) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return rk & 1 ? v / 100 : v;
}

// ---- 8-bit text of BIFF5 ---------------------------------------------------------------------

// Decodes the workbook's 8-bit strings by its CODEPAGE (1252 when there is none).
class TCodePage {
public:
  ~TCodePage()
  {
    if (FIconv != reinterpret_cast<iconv_t>(-1)) iconv_close(FIconv);
  }
  void Set(std::uint16_t Page)
  {
    if (FIconv != reinterpret_cast<iconv_t>(-1)) iconv_close(FIconv);
    FIconv = reinterpret_cast<iconv_t>(-1);
    // 32768 and 10000 are the Macintosh's Roman set; 32769 and 1200 are read as 1252 here (1200
    // is UTF-16, which has no 8-bit strings).
    const unsigned page = Page == 32768 ? 10000 : Page == 32769 || Page == 1200 ? 1252 : Page;
    FPage = page;
    if (page == 936) return;  // the system's own code page
    const std::string name = page == 10000 ? "MACINTOSH" : page == 367 ? "ASCII" : "CP" + std::to_string(page);
    FIconv = iconv_open("UTF-16LE", name.c_str());
  }

  WideString Decode(const std::string& s) const
  {
    if (FPage == 936) return System::AnsiToWide(s);
    WideString out;
    if (FIconv == reinterpret_cast<iconv_t>(-1)) {  // unknown code page: Latin-1 at least
      for (unsigned char c : s) out.push_back(c);
      return out;
    }
    iconv(FIconv, nullptr, nullptr, nullptr, nullptr);
    std::string in = s;
    char* src = in.data();
    std::size_t left = in.size();
    std::string buf(in.size() * 4 + 4, '\0');
    while (left > 0) {
      char* dst = buf.data();
      std::size_t room = buf.size();
      const std::size_t r = iconv(FIconv, &src, &left, &dst, &room);
      for (const char* p = buf.data(); p + 1 < dst; p += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8));
      if (r == static_cast<std::size_t>(-1) && left > 0) {
        out.push_back(u'?');  // a byte the code page has no character for
        ++src;
        --left;
      }
    }
    return out;
  }

private:
  unsigned FPage = 1252;
  iconv_t FIconv = iconv_open("UTF-16LE", "CP1252");
};

// ---- The workbook --------------------------------------------------------------------------------

struct TSheetRef {
  std::uint32_t Offset;
  TXlsSheet Sheet;
};

class TParser {
public:
  explicit TParser(const std::string& Stream, int Biff) : FRecords(Stream) { FBook.Biff = Biff; }

  TXlsWorkbook Run()
  {
    TRecord r;
    if (!FRecords.Next(r) || r.Id != rtBof || r.Size < 4)
      throw EXlsError(EXlsError::xeNotWorkbook, "the workbook stream does not begin with a BOF record");
    const std::uint16_t version = U16(r.Data), type = U16(r.Data + 2);
    if (version == 0x0600)
      FBook.Biff = 8;
    else if (version == 0x0500)
      FBook.Biff = 5;
    if (type != kGlobals) throw EXlsError(EXlsError::xeNotWorkbook, "no workbook globals");
    std::vector<TSheetRef> sheets;
    ReadGlobals(sheets);
    // Each sheet's records are read once: sheets that share or overlap records are damage (and
    // would multiply the work and the cells).
    std::vector<TSheetRef*> byOffset;
    for (TSheetRef& s : sheets) byOffset.push_back(&s);
    std::sort(byOffset.begin(), byOffset.end(),
              [](const TSheetRef* a, const TSheetRef* b) { return a->Offset < b->Offset; });
    std::size_t end = 0;
    for (TSheetRef* s : byOffset) {
      if (s->Offset < end) Damaged("two sheets share their records");
      end = ReadSheet(s->Offset, s->Sheet);
    }
    for (TSheetRef& s : sheets) FBook.Sheets.push_back(std::move(s.Sheet));
    return std::move(FBook);
  }

private:
  bool Biff8() const { return FBook.Biff == 8; }

  // A BIFF5 string: an 8- or 16-bit length, then bytes in the workbook's code page.
  WideString ByteString(TContinuedData& d, bool Wide16)
  {
    const std::size_t n = Wide16 ? d.U16() : d.U8();
    std::string bytes;
    d.Bytes(n, bytes);
    return FCodePage.Decode(bytes);
  }

  WideString String(TContinuedData& d, bool Wide16)
  {
    return Biff8() ? d.UnicodeString(Wide16) : ByteString(d, Wide16);
  }

  void ReadGlobals(std::vector<TSheetRef>& sheets)
  {
    TRecord r;
    while (FRecords.Next(r)) {
      TContinuedData d(r.Data, r.Size);
      switch (r.Id) {
        case rtEof: return;
        case rtFilePass: throw EXlsError(EXlsError::xeEncrypted, "the workbook is encrypted");
        case rtCodePage:
          if (!Biff8()) FCodePage.Set(d.U16());
          break;
        case rtDateMode: FBook.Date1904 = d.U16() == 1; break;
        case rtFormat: {
          const std::uint16_t index = d.U16();
          FFormats[index] = NumberFormats::Classify(String(d, Biff8()));
          break;
        }
        case rtXf:
          d.Skip(2);
          FXfFormats.push_back(d.U16());
          break;
        case rtBoundSheet: {
          TSheetRef s;
          s.Offset = d.U32();
          const std::uint8_t state = d.U8() & 3, kind = d.U8();
          s.Sheet.Name = String(d, false);
          s.Sheet.Visibility = state == 1   ? TXlsVisibility::Hidden
                               : state >= 2 ? TXlsVisibility::VeryHidden
                                            : TXlsVisibility::Visible;
          if (kind == 0) sheets.push_back(std::move(s));  // charts, macro sheets and modules hold no table
          break;
        }
        case rtSst: ReadSst(TContinuedData(r, &FRecords)); break;
        default: break;
      }
    }
    Damaged("the workbook globals have no end");
  }

  void ReadSst(TContinuedData d)
  {
    d.Skip(4);
    const std::uint32_t count = d.U32();
    // Every string takes at least three bytes, so a count past that is not believed in advance.
    FBook.Strings.reserve(std::min<std::size_t>(count, d.Remaining() / 3));
    for (std::uint32_t i = 0; i < count && !d.AtEnd(); ++i) FBook.Strings.push_back(d.UnicodeString(true));
    FSstCount = FBook.Strings.size();
  }

  // ---- Cells ---------------------------------------------------------------------------------

  NumberFormats::TFormatKind KindOfXf(std::uint16_t xf) const
  {
    if (xf >= FXfFormats.size()) return NumberFormats::fkNumber;
    const std::uint16_t format = FXfFormats[xf];
    const auto it = FFormats.find(format);
    return it != FFormats.end() ? it->second : NumberFormats::ClassifyBuiltIn(format);
  }

  // A worksheet of these versions has 256 columns; a cell past them is damage (and would make
  // every row of the table that wide).
  static void CheckColumn(std::uint16_t col)
  {
    if (col >= kColumns) Damaged("cell past the last column");
  }

  void AddNumber(TXlsSheet& sheet, std::uint16_t row, std::uint16_t col, std::uint16_t xf, double v)
  {
    CheckColumn(col);
    TXlsCell c;
    c.Row = row;
    c.Col = col;
    c.Value = v;
    switch (KindOfXf(xf)) {
      case NumberFormats::fkNumber: break;
      case NumberFormats::fkElapsed: c.Kind = TXlsCellKind::Date; break;
      case NumberFormats::fkDate:
        c.Kind = TXlsCellKind::Date;
        if (FBook.Date1904)
          c.Value = v + 1462;
        else if (v >= 1 && v < 60)
          c.Value = v + 1;  // the 1900 system counts a 29 February 1900 that never was
        break;
    }
    sheet.Cells.push_back(c);
  }

  void AddText(TXlsSheet& sheet, std::uint16_t row, std::uint16_t col, WideString text)
  {
    CheckColumn(col);
    if (text.empty()) return;
    TXlsCell c;
    c.Row = row;
    c.Col = col;
    c.Kind = TXlsCellKind::Text;
    c.Str = static_cast<std::uint32_t>(FBook.Strings.size());
    FBook.Strings.push_back(std::move(text));
    sheet.Cells.push_back(c);
  }

  void AddSst(TXlsSheet& sheet, std::uint16_t row, std::uint16_t col, std::uint32_t index)
  {
    CheckColumn(col);
    if (index >= FSstCount) Damaged("shared string index past the table");
    if (FBook.Strings[index].empty()) return;
    TXlsCell c;
    c.Row = row;
    c.Col = col;
    c.Kind = TXlsCellKind::Text;
    c.Str = index;
    sheet.Cells.push_back(c);
  }

  void AddFlag(TXlsSheet& sheet, std::uint16_t row, std::uint16_t col, std::uint8_t value, bool error)
  {
    CheckColumn(col);
    TXlsCell c;
    c.Row = row;
    c.Col = col;
    c.Kind = error ? TXlsCellKind::Error : TXlsCellKind::Boolean;
    c.Value = error ? value : value != 0;
    sheet.Cells.push_back(c);
  }

  // About how many cells the records from here to the sheet's end hold (headers only are read),
  // so the cells are stored without growing their vector again and again.
  std::size_t CountCells()
  {
    std::size_t count = 0;
    TRecord r;
    while (FRecords.Next(r) && r.Id != rtEof) {
      if (r.Id == rtMulRk)
        count += r.Size / 6;
      else if (r.Id == rtNumber || r.Id == rtRk || r.Id == rtLabelSst || r.Id == rtLabel || r.Id == rtRString ||
               r.Id == rtBoolErr || r.Id == rtFormula)
        ++count;
    }
    return count;
  }

  // Reads the sheet whose BOF is at offset; returns where its records end.
  std::size_t ReadSheet(std::uint32_t offset, TXlsSheet& sheet)
  {
    FRecords.Seek(offset);
    TRecord r;
    if (!FRecords.Next(r) || r.Id != rtBof || r.Size < 4) Damaged("a sheet does not begin with a BOF record");
    if (U16(r.Data + 2) != kWorksheet) return r.Offset + 4 + r.Size;  // another kind of sheet: no cells
    sheet.Cells.reserve(CountCells());
    FRecords.Seek(offset + 4 + r.Size);
    int depth = 1;
    bool pendingString = false;  // a FORMULA whose text result is in the STRING record after it
    std::uint16_t pendingRow = 0, pendingCol = 0;
    while (FRecords.Next(r)) {
      if (r.Id == rtBof) {
        ++depth;  // an embedded chart's substream
        continue;
      }
      if (r.Id == rtEof && --depth == 0) return r.Offset + 4 + r.Size;
      if (depth > 1) continue;
      const std::uint8_t* p = r.Data;
      switch (r.Id) {
        case rtNumber:
          if (r.Size < 14) Damaged("short NUMBER record");
          AddNumber(sheet, U16(p), U16(p + 2), U16(p + 4), F64(p + 6));
          break;
        case rtRk:
          if (r.Size < 10) Damaged("short RK record");
          AddNumber(sheet, U16(p), U16(p + 2), U16(p + 4), RkValue(U32(p + 6)));
          break;
        case rtMulRk: {
          if (r.Size < 12 || (r.Size - 6) % 6 != 0) Damaged("bad MULRK record");
          const std::uint16_t row = U16(p), first = U16(p + 2), n = static_cast<std::uint16_t>((r.Size - 6) / 6);
          if (U16(p + r.Size - 2) != first + n - 1) Damaged("MULRK columns do not add up");
          for (std::uint16_t i = 0; i < n; ++i)
            AddNumber(sheet, row, static_cast<std::uint16_t>(first + i), U16(p + 4 + 6 * i),
                      RkValue(U32(p + 6 + 6 * i)));
          break;
        }
        case rtLabelSst:
          if (r.Size < 10) Damaged("short LABELSST record");
          AddSst(sheet, U16(p), U16(p + 2), U32(p + 6));
          break;
        case rtLabel:
        case rtRString: {
          TContinuedData d(r, &FRecords);
          const std::uint16_t row = d.U16(), col = d.U16();
          d.Skip(2);
          AddText(sheet, row, col, String(d, true));
          break;
        }
        case rtBoolErr:
          if (r.Size < 8) Damaged("short BOOLERR record");
          AddFlag(sheet, U16(p), U16(p + 2), p[6], p[7] != 0);
          break;
        case rtFormula: {
          if (r.Size < 20) Damaged("short FORMULA record");
          const std::uint16_t row = U16(p), col = U16(p + 2);
          const std::uint8_t* v = p + 6;
          pendingString = false;
          if (U16(v + 6) != 0xFFFF) {
            AddNumber(sheet, row, col, U16(p + 4), F64(v));
          } else if (v[0] == 0) {
            pendingString = true;
            pendingRow = row;
            pendingCol = col;
          } else if (v[0] == 1 || v[0] == 2) {
            AddFlag(sheet, row, col, v[2], v[0] == 2);
          }  // 3: an empty text
          continue;
        }
        case rtString: {
          TContinuedData d(r, &FRecords);
          if (pendingString) AddText(sheet, pendingRow, pendingCol, String(d, true));
          pendingString = false;
          continue;
        }
        default: continue;  // shared and array formulas and the rest keep a pending text result
      }
      pendingString = false;
    }
    Damaged("a sheet has no end");
  }

  TRecordStream FRecords;
  TXlsWorkbook FBook;
  TCodePage FCodePage;
  std::map<std::uint16_t, NumberFormats::TFormatKind> FFormats;  // by format index, as the workbook writes them
  std::vector<std::uint16_t> FXfFormats;                         // each cell format's number format
  std::size_t FSstCount = 0;
};

}  // namespace

TXlsWorkbook ReadStream(const std::string& Stream) { return TParser(Stream, 8).Run(); }

TXlsWorkbook ReadCompound(const TCompoundFile& File)
{
  for (const char16_t* name : {u"Workbook", u"Book"}) {
    if (!File.HasStream(name)) continue;
    const std::string stream = File.ReadStream(name);
    return TParser(stream, name[0] == u'W' ? 8 : 5).Run();
  }
  throw EXlsError(EXlsError::xeNotWorkbook, "no workbook stream");
}

TXlsWorkbook ReadBytes(const void* Data, std::size_t Size)
{
  TMemorySource source(Data, Size);
  return ReadCompound(TCompoundFile(source));
}

TXlsWorkbook ReadFile(const std::string& Utf8Path)
{
  TFileSource source(Utf8Path);
  return ReadCompound(TCompoundFile(source));
}

}  // namespace XlsReader
