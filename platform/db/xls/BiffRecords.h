// The record layer of a BIFF stream: records one after another, and the data of a record that
// goes on in CONTINUE records, read as one run of bytes with the BIFF8 string rule at each seam.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/AnsiStrings.h"

namespace BiffRecords {

constexpr std::uint16_t rtContinue = 0x003C;

struct TRecord {
  std::uint16_t Id = 0;
  const std::uint8_t* Data = nullptr;
  std::uint16_t Size = 0;
  std::size_t Offset = 0;  // of the record's header in the stream
};

// Walks the records of a stream (borrowed). A record whose body runs past the end raises
// EXlsError xeDamaged; fewer than four bytes left are the end.
class TRecordStream {
public:
  explicit TRecordStream(const std::string& Stream);
  std::size_t Size() const { return FSize; }
  // Moves to the record at Offset (raises when it is past the end).
  void Seek(std::size_t Offset);
  // The next record; false at the end of the stream.
  bool Next(TRecord& Record);
  // The id of the next record without moving; false at the end.
  bool PeekId(std::uint16_t& Id) const;

private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

// A record's data and that of the CONTINUE records after it, read across their seams. Reads past
// the last byte raise EXlsError xeDamaged.
class TContinuedData {
public:
  // The record itself, then every CONTINUE record that follows it in Stream.
  TContinuedData(const TRecord& First, TRecordStream* Stream);
  TContinuedData(const std::uint8_t* Data, std::size_t Size);

  bool AtEnd() const;
  std::size_t Remaining() const { return FRemaining; }
  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  void Skip(std::size_t Count);
  // Count characters of a BIFF8 string, 8-bit (Latin-1) or UTF-16 as High says to start with. At
  // each seam the next record opens with a byte saying which the rest is.
  void Chars(std::size_t Count, bool High, WideString& Out);
  // Count bytes as they are (8-bit text of BIFF5, decoded by the caller).
  void Bytes(std::size_t Count, std::string& Out);
  // A BIFF8 string with a 16-bit (Wide16) or 8-bit length: flags, rich-text runs and the
  // phonetic block are read and skipped.
  WideString UnicodeString(bool Wide16);

private:
  struct TSegment {
    const std::uint8_t* Data;
    std::size_t Size;
  };
  void Need(std::size_t Count) const;
  void NextSegmentIfDone();
  std::vector<TSegment> FSegments;
  std::size_t FSeg = 0, FPos = 0, FRemaining = 0;
};

}  // namespace BiffRecords
