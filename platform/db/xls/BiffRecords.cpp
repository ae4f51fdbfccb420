#include "platform/db/xls/BiffRecords.h"

#include <algorithm>

#include "platform/db/xls/XlsError.h"

namespace BiffRecords {

namespace {

[[noreturn]] void Damaged(const AnsiString& what) { throw EXlsError(EXlsError::xeDamaged, what); }

}  // namespace

// ---- Records ---------------------------------------------------------------------------------

TRecordStream::TRecordStream(const std::string& Stream)
    : FData(reinterpret_cast<const std::uint8_t*>(Stream.data())), FSize(Stream.size())
{}

void TRecordStream::Seek(std::size_t Offset)
{
  if (Offset > FSize) Damaged("record offset past the end of the stream");
  FPos = Offset;
}

bool TRecordStream::PeekId(std::uint16_t& Id) const
{
  if (FSize - FPos < 4) return false;
  Id = static_cast<std::uint16_t>(FData[FPos] | FData[FPos + 1] << 8);
  return true;
}

bool TRecordStream::Next(TRecord& Record)
{
  if (FSize - FPos < 4) return false;
  const std::uint8_t* h = FData + FPos;
  Record.Id = static_cast<std::uint16_t>(h[0] | h[1] << 8);
  Record.Size = static_cast<std::uint16_t>(h[2] | h[3] << 8);
  Record.Offset = FPos;
  if (Record.Size > FSize - FPos - 4) Damaged("record runs past the end of the stream");
  Record.Data = h + 4;
  FPos += 4 + Record.Size;
  return true;
}

// ---- Continued data --------------------------------------------------------------------------

TContinuedData::TContinuedData(const TRecord& First, TRecordStream* Stream)
{
  FSegments.push_back({First.Data, First.Size});
  FRemaining = First.Size;
  std::uint16_t id = 0;
  TRecord r;
  while (Stream && Stream->PeekId(id) && id == rtContinue && Stream->Next(r)) {
    FSegments.push_back({r.Data, r.Size});
    FRemaining += r.Size;
  }
}

TContinuedData::TContinuedData(const std::uint8_t* Data, std::size_t Size)
{
  FSegments.push_back({Data, Size});
  FRemaining = Size;
}

bool TContinuedData::AtEnd() const { return FRemaining == 0; }

void TContinuedData::Need(std::size_t Count) const
{
  if (Count > FRemaining) Damaged("record data ends early");
}

void TContinuedData::NextSegmentIfDone()
{
  while (FSeg < FSegments.size() && FPos == FSegments[FSeg].Size) {
    ++FSeg;
    FPos = 0;
  }
}

std::uint8_t TContinuedData::U8()
{
  Need(1);
  NextSegmentIfDone();
  --FRemaining;
  return FSegments[FSeg].Data[FPos++];
}

std::uint16_t TContinuedData::U16()
{
  Need(2);
  const std::uint16_t lo = U8();
  return static_cast<std::uint16_t>(lo | U8() << 8);
}

std::uint32_t TContinuedData::U32()
{
  Need(4);
  const std::uint32_t lo = U16();
  return lo | static_cast<std::uint32_t>(U16()) << 16;
}

void TContinuedData::Skip(std::size_t Count)
{
  Need(Count);
  FRemaining -= Count;
  while (Count > 0) {
    NextSegmentIfDone();
    const std::size_t n = std::min(Count, FSegments[FSeg].Size - FPos);
    FPos += n;
    Count -= n;
  }
}

void TContinuedData::Bytes(std::size_t Count, std::string& Out)
{
  Need(Count);
  FRemaining -= Count;
  while (Count > 0) {
    NextSegmentIfDone();
    const std::size_t n = std::min(Count, FSegments[FSeg].Size - FPos);
    Out.append(reinterpret_cast<const char*>(FSegments[FSeg].Data + FPos), n);
    FPos += n;
    Count -= n;
  }
}

void TContinuedData::Chars(std::size_t Count, bool High, WideString& Out)
{
  Out.reserve(Out.size() + std::min(Count, FRemaining));
  while (Count > 0) {
    if (FSeg < FSegments.size() && FPos == FSegments[FSeg].Size) {
      // A seam inside the characters: the next record says how the rest is stored.
      NextSegmentIfDone();
      High = (U8() & 1) != 0;
      continue;
    }
    if (FSeg >= FSegments.size()) Damaged("string runs past its record");
    const TSegment& s = FSegments[FSeg];
    const std::size_t width = High ? 2 : 1;
    const std::size_t n = std::min(Count, (s.Size - FPos) / width);
    if (n == 0) Damaged("a character is split between records");
    const std::uint8_t* p = s.Data + FPos;
    if (High)
      for (std::size_t i = 0; i < n; ++i) Out.push_back(static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8));
    else
      for (std::size_t i = 0; i < n; ++i) Out.push_back(static_cast<char16_t>(p[i]));
    FPos += n * width;
    FRemaining -= n * width;
    Count -= n;
  }
}

WideString TContinuedData::UnicodeString(bool Wide16)
{
  const std::size_t count = Wide16 ? U16() : U8();
  const std::uint8_t flags = U8();
  const std::size_t runs = flags & 0x08 ? U16() : 0;
  const std::size_t phonetic = flags & 0x04 ? U32() : 0;
  WideString s;
  Chars(count, (flags & 0x01) != 0, s);
  Skip(runs * 4);
  Skip(phonetic);
  return s;
}

}  // namespace BiffRecords
