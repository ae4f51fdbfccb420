#include "platform/db/xls/CompoundFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/db/xls/XlsError.h"

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t kEntrySize = 128;

[[noreturn]] void Damaged(const AnsiString& what) { throw EXlsError(EXlsError::xeDamaged, what); }

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p)
{
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool SameName(const WideString& a, const WideString& b)
{
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

}  // namespace

// ---- Byte sources --------------------------------------------------------------------------------

void TMemorySource::Read(std::uint64_t Offset, std::size_t Count, void* Dest) const
{
  if (Offset > FSize || Count > FSize - Offset) Damaged("read past the end of the file");
  if (Count) std::memcpy(Dest, FData + Offset, Count);
}

TFileSource::TFileSource(const std::string& Utf8Path)
{
  FFd = ::open(Utf8Path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (FFd < 0 || ::fstat(FFd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
    throw EXlsError(EXlsError::xeNotWorkbook, "cannot open " + Utf8Path);
  }
  FSize = static_cast<std::uint64_t>(st.st_size);
}

TFileSource::~TFileSource()
{
  if (FFd >= 0) ::close(FFd);
}

void TFileSource::Read(std::uint64_t Offset, std::size_t Count, void* Dest) const
{
  if (Offset > FSize || Count > FSize - Offset) Damaged("read past the end of the file");
  char* out = static_cast<char*>(Dest);
  while (Count > 0) {
    const ssize_t n = ::pread(FFd, out, Count, static_cast<off_t>(Offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Damaged("the file could not be read to its end");
    out += n;
    Offset += static_cast<std::uint64_t>(n);
    Count -= static_cast<std::size_t>(n);
  }
}

// ---- Header, allocation tables, directory --------------------------------------------------------

TCompoundFile::TCompoundFile(const TByteSource& Source) : FSource(Source)
{
  const std::uint64_t fileSize = Source.Size();
  std::uint8_t h[512];
  if (fileSize < sizeof h) throw EXlsError(EXlsError::xeNotWorkbook, "too short for a compound file");
  Source.Read(0, sizeof h, h);
  if (std::memcmp(h, kSignature, sizeof kSignature) != 0)
    throw EXlsError(EXlsError::xeNotWorkbook, "no compound file signature");
  const unsigned shift = U16(h + 0x1E), miniShift = U16(h + 0x20);
  if (U16(h + 0x1C) != 0xFFFE || shift < 7 || shift > 16 || miniShift < 2 || miniShift >= shift)
    Damaged("bad compound file header");
  FSectorSize = 1u << shift;
  FMiniSectorSize = 1u << miniShift;
  FMiniCutoff = U32(h + 0x38);
  FSectorCount = fileSize > FSectorSize ? (fileSize - FSectorSize + FSectorSize - 1) / FSectorSize : 0;
  const std::uint32_t perSector = FSectorSize / 4;
  std::vector<std::uint8_t> sector(FSectorSize);

  // The allocation table's own sectors: 109 in the header, the rest in the DIFAT chain.
  const std::uint32_t fatCount = U32(h + 0x2C);
  if (fatCount > FSectorCount) Damaged("more allocation sectors than the file has");
  std::vector<std::uint32_t> fatSectors;
  for (std::size_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i) fatSectors.push_back(U32(h + 0x4C + 4 * i));
  std::uint32_t difat = U32(h + 0x44);
  std::vector<bool> seenDifat;
  while (fatSectors.size() < fatCount) {
    if (difat >= FSectorCount) Damaged("DIFAT chain ends early");
    if (seenDifat.empty()) seenDifat.resize(FSectorCount);
    if (seenDifat[difat]) Damaged("DIFAT chain loops");
    seenDifat[difat] = true;
    ReadSector(difat, sector.data());
    for (std::uint32_t i = 0; i + 1 < perSector && fatSectors.size() < fatCount; ++i)
      fatSectors.push_back(U32(sector.data() + 4 * i));
    difat = U32(sector.data() + 4 * (perSector - 1));
  }
  FFat.reserve(static_cast<std::size_t>(fatCount) * perSector);
  for (std::uint32_t s : fatSectors) {
    if (s >= FSectorCount) Damaged("allocation sector past the end of the file");
    ReadSector(s, sector.data());
    for (std::uint32_t i = 0; i < perSector; ++i) FFat.push_back(U32(sector.data() + 4 * i));
  }

  // The directory: 128-byte entries along their own chain.
  for (std::uint32_t s : Chain(FFat, U32(h + 0x30), UINT64_MAX, "directory")) {
    ReadSector(s, sector.data());
    for (std::uint32_t off = 0; off + kEntrySize <= FSectorSize; off += kEntrySize) {
      const std::uint8_t* e = sector.data() + off;
      TEntry entry;
      const std::size_t nameBytes = std::min<std::size_t>(U16(e + 64), 64);  // with the closing zero
      for (std::size_t i = 0; i + 1 < nameBytes / 2; ++i) entry.Name.push_back(static_cast<char16_t>(U16(e + 2 * i)));
      entry.Type = e[66];
      entry.Left = U32(e + 68);
      entry.Right = U32(e + 72);
      entry.Child = U32(e + 76);
      entry.Start = U32(e + 116);
      entry.Size = shift == 9 ? U32(e + 120) : U32(e + 120) | static_cast<std::uint64_t>(U32(e + 124)) << 32;
      FEntries.push_back(std::move(entry));
    }
  }
  if (FEntries.empty() || FEntries[0].Type != 5) Damaged("no root storage");

  // The root storage's children: a binary tree through Left/Right, entered at the root's Child.
  std::vector<bool> seen(FEntries.size());
  std::vector<std::uint32_t> stack;
  if (FEntries[0].Child != kNoStream) stack.push_back(FEntries[0].Child);
  while (!stack.empty()) {
    const std::uint32_t i = stack.back();
    stack.pop_back();
    if (i >= FEntries.size()) Damaged("directory link past the last entry");
    if (seen[i] || i == 0) Damaged("directory tree loops");
    seen[i] = true;
    FRootChildren.push_back(i);
    if (FEntries[i].Left != kNoStream) stack.push_back(FEntries[i].Left);
    if (FEntries[i].Right != kNoStream) stack.push_back(FEntries[i].Right);
  }

  const std::uint32_t miniFatStart = U32(h + 0x3C);
  if (U32(h + 0x40) > 0 && miniFatStart != kEndOfChain) {
    for (std::uint32_t s : Chain(FFat, miniFatStart, U32(h + 0x40), "mini allocation table")) {
      ReadSector(s, sector.data());
      for (std::uint32_t i = 0; i < perSector; ++i) FMiniFat.push_back(U32(sector.data() + 4 * i));
    }
  }
}

void TCompoundFile::ReadSector(std::uint32_t Sector, std::uint8_t* Dest) const
{
  if (Sector >= FSectorCount) Damaged("sector past the end of the file");
  const std::uint64_t offset = (static_cast<std::uint64_t>(Sector) + 1) * FSectorSize;
  const std::size_t have = static_cast<std::size_t>(std::min<std::uint64_t>(FSectorSize, FSource.Size() - offset));
  FSource.Read(offset, have, Dest);
  std::memset(Dest + have, 0, FSectorSize - have);  // a short last sector reads as zeros
}

std::vector<std::uint32_t> TCompoundFile::Chain(const std::vector<std::uint32_t>& Table, std::uint32_t Start,
                                                std::uint64_t Count, const char* What) const
{
  std::vector<std::uint32_t> sectors;
  std::vector<bool> seen(Table.size());
  std::uint32_t s = Start;
  while (sectors.size() < Count) {
    if (s == kEndOfChain && Count == UINT64_MAX) break;
    if (s >= Table.size()) Damaged(AnsiString(What) + " chain is broken");
    if (seen[s]) Damaged(AnsiString(What) + " chain loops");
    seen[s] = true;
    sectors.push_back(s);
    s = Table[s];
  }
  return sectors;
}

std::string TCompoundFile::ReadChain(std::uint32_t Start, std::uint64_t Size, const char* What) const
{
  if (Size > FSectorCount * FSectorSize) Damaged(AnsiString(What) + " is longer than the file");
  std::string out(static_cast<std::size_t>(Size), '\0');
  std::vector<std::uint8_t> sector(FSectorSize);
  std::size_t pos = 0;
  for (std::uint32_t s : Chain(FFat, Start, (Size + FSectorSize - 1) / FSectorSize, What)) {
    const std::uint64_t offset = (static_cast<std::uint64_t>(s) + 1) * FSectorSize;
    const std::size_t want = std::min<std::size_t>(FSectorSize, out.size() - pos);
    if (s >= FSectorCount || offset + want > FSource.Size()) Damaged(AnsiString(What) + " is cut short");
    FSource.Read(offset, want, out.data() + pos);
    pos += want;
  }
  return out;
}

// ---- Streams -------------------------------------------------------------------------------------

const TCompoundFile::TEntry* TCompoundFile::Find(const WideString& Name) const
{
  for (std::uint32_t i : FRootChildren)
    if (FEntries[i].Type == 2 && SameName(FEntries[i].Name, Name)) return &FEntries[i];
  return nullptr;
}

bool TCompoundFile::HasStream(const WideString& Name) const { return Find(Name) != nullptr; }

std::string TCompoundFile::ReadStream(const WideString& Name) const
{
  const TEntry* e = Find(Name);
  if (!e) throw EXlsError(EXlsError::xeNotWorkbook, "no such stream");
  if (e->Size >= FMiniCutoff) return ReadChain(e->Start, e->Size, "stream");

  if (!FMiniLoaded) {
    FMiniStream = ReadChain(FEntries[0].Start, FEntries[0].Size, "mini stream");
    FMiniLoaded = true;
  }
  if (e->Size > FMiniStream.size()) Damaged("stream is longer than the mini stream");
  std::string out(static_cast<std::size_t>(e->Size), '\0');
  std::size_t pos = 0;
  for (std::uint32_t s : Chain(FMiniFat, e->Start, (e->Size + FMiniSectorSize - 1) / FMiniSectorSize, "mini")) {
    const std::uint64_t offset = static_cast<std::uint64_t>(s) * FMiniSectorSize;
    const std::size_t want = std::min<std::size_t>(FMiniSectorSize, out.size() - pos);
    if (offset + want > FMiniStream.size()) Damaged("mini sector past the end of the mini stream");
    std::memcpy(out.data() + pos, FMiniStream.data() + offset, want);
    pos += want;
  }
  return out;
}
