// Test support: writes BIFF records and compound files, so tests, the benchmark and the fuzz
// corpus can make workbooks with exactly the structures they need (CONTINUE seams, MULRK, 1904
// dates, encryption, loops in chains and directory trees).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace XlsBuilder {

inline std::string U8(unsigned v) { return std::string(1, static_cast<char>(v & 0xFF)); }
inline std::string U16(unsigned v) { return U8(v) + U8(v >> 8); }
inline std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
inline std::string F64(double v)
{
  std::string s(8, '\0');
  std::memcpy(s.data(), &v, 8);
  return s;
}

inline std::string Record(unsigned Id, const std::string& Body) { return U16(Id) + U16(Body.size()) + Body; }

inline bool Fits8(const std::u16string& s)
{
  for (char16_t c : s)
    if (c > 0xFF) return false;
  return true;
}

inline std::string CharBytes(const std::u16string& s, bool high)
{
  std::string out;
  for (char16_t c : s) out += high ? U16(c) : U8(c);
  return out;
}

// A BIFF8 string with a 16-bit (or 8-bit) length, 8-bit when every character fits.
inline std::string Str(const std::u16string& s, bool wide16 = true)
{
  const bool high = !Fits8(s);
  return (wide16 ? U16(s.size()) : U8(s.size())) + U8(high ? 1 : 0) + CharBytes(s, high);
}

// An RK value holding an integer (or, with Div100, an integer / 100).
inline std::uint32_t RkInt(std::int32_t v, bool div100 = false)
{
  return static_cast<std::uint32_t>(v) << 2 | 2u | (div100 ? 1u : 0u);
}
// An RK value holding the upper 30 bits of a double.
inline std::uint32_t RkDouble(double v)
{
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  return static_cast<std::uint32_t>(bits >> 32) & 0xFFFFFFFC;
}

inline std::string Cell(unsigned Id, unsigned row, unsigned col, unsigned xf, const std::string& rest)
{
  return Record(Id, U16(row) + U16(col) + U16(xf) + rest);
}
inline std::string Number(unsigned row, unsigned col, double v, unsigned xf = 0)
{
  return Cell(0x0203, row, col, xf, F64(v));
}
inline std::string Rk(unsigned row, unsigned col, std::uint32_t rk, unsigned xf = 0)
{
  return Cell(0x027E, row, col, xf, U32(rk));
}
inline std::string LabelSst(unsigned row, unsigned col, std::uint32_t index, unsigned xf = 0)
{
  return Cell(0x00FD, row, col, xf, U32(index));
}
inline std::string Label(unsigned row, unsigned col, const std::u16string& s, unsigned xf = 0)
{
  return Cell(0x0204, row, col, xf, Str(s));
}
inline std::string BoolErr(unsigned row, unsigned col, unsigned value, bool error, unsigned xf = 0)
{
  return Cell(0x0205, row, col, xf, U8(value) + U8(error ? 1 : 0));
}
// A FORMULA with an 8-byte cached result and a one-token expression (a constant 1).
inline std::string Formula(unsigned row, unsigned col, const std::string& result, unsigned xf = 0)
{
  return Cell(0x0006, row, col, xf, result + U16(0) + U32(0) + U16(2) + U8(0x1E) + U16(1));
}
inline std::string NumberResult(double v) { return F64(v); }
// A cached result that is not a number: 0 text (a STRING record follows), 1 Boolean, 2 error, 3 empty.
inline std::string OtherResult(unsigned type, unsigned value = 0)
{
  return U8(type) + U8(0) + U8(value) + U8(0) + U8(0) + U8(0) + U16(0xFFFF);
}

// One string of a shared-string table: rich-text runs and a phonetic block are written as filler.
struct TSstString {
  std::u16string Text;
  bool High = false;  // written as UTF-16 even when it fits 8 bits
  unsigned Runs = 0;
  unsigned Phonetic = 0;  // bytes
};

// The SST record and its CONTINUE records, each record holding at most MaxData bytes (at least 3).
// Where a seam falls inside a string's characters, the next record opens with the byte that says
// how the rest is stored; with Flip the rest switches to the other form where it can.
inline std::string Sst(const std::vector<TSstString>& strings, std::size_t MaxData = 8224, bool Flip = false)
{
  std::vector<std::string> records(1);
  auto room = [&] { return records.back().size() < MaxData; };
  auto put = [&](const std::string& bytes) {
    for (char c : bytes) {
      if (!room()) records.emplace_back();
      records.back() += c;
    }
  };
  put(U32(strings.size()) + U32(strings.size()));
  for (const TSstString& s : strings) {
    bool high = s.High || !Fits8(s.Text);
    std::string head = U16(s.Text.size()) + U8((high ? 1 : 0) | (s.Runs ? 8 : 0) | (s.Phonetic ? 4 : 0));
    if (s.Runs) head += U16(s.Runs);
    if (s.Phonetic) head += U32(s.Phonetic);
    put(head);
    for (std::size_t i = 0; i < s.Text.size(); ++i) {
      if (records.back().size() + (high ? 2 : 1) > MaxData) {
        const bool fits8 = Fits8(s.Text.substr(i));
        if (Flip) high = fits8 ? !high : true;
        records.emplace_back(U8(high ? 1 : 0));
      }
      records.back() += high ? U16(s.Text[i]) : U8(s.Text[i]);
    }
    put(std::string(s.Runs * 4, '\x11'));
    put(std::string(s.Phonetic, '\x22'));
  }
  std::string out = Record(0x00FC, records[0]);
  for (std::size_t i = 1; i < records.size(); ++i) out += Record(0x003C, records[i]);
  return out;
}

// A workbook stream: the globals (BOF, the given records, BOUNDSHEETs, EOF), then each sheet.
struct TBook {
  int Biff = 8;
  std::string Globals;  // records between BOF and the sheet list
  struct TSheet {
    std::u16string Name;
    unsigned State = 0;  // 0 visible, 1 hidden, 2 very hidden
    std::string Cells;   // records between the sheet's BOF and EOF
    unsigned Kind = 0;   // 0 worksheet, 2 chart
  };
  std::vector<TSheet> Sheets;

  std::string Bof(unsigned type) const
  {
    return Record(0x0809, U16(Biff == 8 ? 0x0600 : 0x0500) + U16(type) + U16(0x0DBB) + U16(1996) +
                              (Biff == 8 ? U32(0) + U32(0x0006) : std::string()));
  }
  std::string BoundSheet(const TSheet& s, std::uint32_t offset) const
  {
    std::string name;
    if (Biff == 8) {
      name = Str(s.Name, false);
    } else {
      name = U8(s.Name.size());
      for (char16_t c : s.Name) name += U8(c);
    }
    return Record(0x0085, U32(offset) + U8(s.State) + U8(s.Kind) + name);
  }
  std::string Stream() const
  {
    std::size_t size = Bof(5).size() + Globals.size() + 4;
    for (const TSheet& s : Sheets) size += BoundSheet(s, 0).size();
    std::string out = Bof(5) + Globals;
    std::string body;
    for (const TSheet& s : Sheets) {
      out += BoundSheet(s, static_cast<std::uint32_t>(size + body.size()));
      body += Bof(s.Kind == 2 ? 0x20 : 0x10) + s.Cells + Record(0x000A, "");
    }
    return out + Record(0x000A, "") + body;
  }
};

// A BIFF8 workbook stream's usual globals: DATEMODE, formats and cell formats. XF 0 is General,
// XF 1 the built-in date (14), XF 2 "yyyy-mm-dd hh:mm" (custom 164), XF 3 "[h]:mm" (custom 165).
inline std::string StandardGlobals(bool date1904 = false)
{
  std::string xfTail(16, '\0');
  return Record(0x0042, U16(1200)) + Record(0x0022, U16(date1904 ? 1 : 0)) +
         Record(0x041E, U16(164) + Str(u"yyyy-mm-dd hh:mm")) + Record(0x041E, U16(165) + Str(u"[h]:mm")) +
         Record(0x00E0, U16(0) + U16(0) + xfTail) + Record(0x00E0, U16(0) + U16(14) + xfTail) +
         Record(0x00E0, U16(0) + U16(164) + xfTail) + Record(0x00E0, U16(0) + U16(165) + xfTail);
}

// ---- Compound file -----------------------------------------------------------------------------

struct TCompoundOptions {
  unsigned SectorShift = 9;         // 9 (512-byte sectors) or 12 (4096)
  bool DirectoryLoop = false;       // the last root child's right link points back at the first
  bool DirectoryChainLoop = false;  // the directory's sector chain points back at itself
  bool MiniChainLoop = false;       // the first small stream's mini chain ends at its own start
};

// A compound file holding Streams in its root storage; streams under 4096 bytes go into the mini
// stream, as real writers put them.
inline std::string Compound(const std::vector<std::pair<std::u16string, std::string>>& Streams,
                            const TCompoundOptions& o = {})
{
  const std::size_t ss = std::size_t{1} << o.SectorShift, per = ss / 4;
  const std::uint32_t End = 0xFFFFFFFE, Free = 0xFFFFFFFF, FatSect = 0xFFFFFFFD;
  auto sectors = [&](std::size_t bytes) { return (bytes + ss - 1) / ss; };
  std::vector<std::uint32_t> fat, miniFat;
  std::string body, mini;
  struct TDir {
    std::u16string Name;
    unsigned Type;
    std::uint32_t Start;
    std::uint64_t Size;
  };
  std::vector<TDir> dirs;
  auto chain = [&](std::vector<std::uint32_t>& table, std::size_t first, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
      table.push_back(i + 1 < count ? static_cast<std::uint32_t>(first + i + 1) : End);
  };
  for (const auto& [name, data] : Streams) {
    if (data.size() < 4096) {
      const std::size_t first = mini.size() / 64, count = (data.size() + 63) / 64;
      chain(miniFat, first, count);
      if (o.MiniChainLoop && dirs.empty() && count > 1) miniFat[first + 1] = static_cast<std::uint32_t>(first);
      mini += data;
      mini.resize((first + count) * 64, '\0');
      dirs.push_back({name, 2, count ? static_cast<std::uint32_t>(first) : End, data.size()});
    } else {
      const std::size_t first = body.size() / ss, count = sectors(data.size());
      chain(fat, first, count);
      body += data;
      body.resize((first + count) * ss, '\0');
      dirs.push_back({name, 2, static_cast<std::uint32_t>(first), data.size()});
    }
  }
  auto place = [&](const std::string& data) {
    const std::size_t first = body.size() / ss, count = sectors(data.size());
    chain(fat, first, count);
    body += data;
    body.resize((first + count) * ss, '\0');
    return count ? static_cast<std::uint32_t>(first) : End;
  };
  const std::uint32_t miniStart = place(mini);
  std::string miniFatBytes;
  for (std::uint32_t v : miniFat) miniFatBytes += U32(v);
  miniFatBytes.resize(sectors(miniFatBytes.size()) * ss, '\xFF');
  const std::uint32_t miniFatStart = place(miniFatBytes);

  std::string dir;
  auto entry = [&](const std::u16string& name, unsigned type, std::uint32_t left, std::uint32_t right,
                   std::uint32_t child, std::uint32_t start, std::uint64_t size) {
    std::string e;
    for (std::size_t i = 0; i < 32; ++i) e += U16(i < name.size() ? name[i] : 0);
    e += U16((name.size() + 1) * 2) + U8(type) + U8(1) + U32(left) + U32(right) + U32(child);
    e += std::string(16 + 4 + 16, '\0') + U32(start) + U32(size & 0xFFFFFFFF) + U32(size >> 32);
    dir += e;
  };
  entry(u"Root Entry", 5, Free, Free, dirs.empty() ? Free : 1, miniStart, mini.size());
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    std::uint32_t right = i + 1 < dirs.size() ? static_cast<std::uint32_t>(i + 2) : Free;
    if (o.DirectoryLoop && i + 1 == dirs.size()) right = 1;
    entry(dirs[i].Name, dirs[i].Type, Free, right, Free, dirs[i].Start, dirs[i].Size);
  }
  dir.resize(sectors(dir.size()) * ss, '\0');
  const std::uint32_t dirStart = place(dir);
  if (o.DirectoryChainLoop) fat[dirStart + sectors(dir.size()) - 1] = dirStart;

  // The allocation table covers itself: grow it until it does.
  std::size_t fatSectors = 1;
  while ((fat.size() + fatSectors) > fatSectors * per) ++fatSectors;
  const std::size_t fatFirst = fat.size();
  for (std::size_t i = 0; i < fatSectors; ++i) fat.push_back(FatSect);
  fat.resize(fatSectors * per, Free);
  for (std::size_t i = 0; i < fatSectors; ++i)
    for (std::size_t k = 0; k < per; ++k) body += U32(fat[i * per + k]);

  std::string h = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(16, '\0');
  h += U16(0x3E) + U16(o.SectorShift == 12 ? 4 : 3) + U16(0xFFFE) + U16(o.SectorShift) + U16(6);
  h += std::string(6, '\0') + U32(o.SectorShift == 12 ? sectors(dir.size()) : 0) + U32(fatSectors) + U32(dirStart);
  h += U32(0) + U32(4096) + U32(miniFatStart) + U32(miniFatBytes.size() / ss) + U32(End) + U32(0);
  for (std::size_t i = 0; i < 109; ++i) h += U32(i < fatSectors ? static_cast<std::uint32_t>(fatFirst + i) : Free);
  h.resize(ss, '\0');
  return h + body;
}

// A workbook file: the stream as "Workbook" (BIFF8) or "Book" (BIFF5).
inline std::string File(const TBook& book, const TCompoundOptions& o = {})
{
  return Compound({{book.Biff == 8 ? u"Workbook" : u"Book", book.Stream()}}, o);
}

}  // namespace XlsBuilder
