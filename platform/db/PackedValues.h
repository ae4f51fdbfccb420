// A record's data values packed in one block: a kind byte and an 8-byte slot per value, then
// the bytes of its texts. Loaded rows keep this form rather than a list of Variants: one
// allocation per row and a fraction of the memory. Texts are kept in CP936, converted once on
// the way in, unless CP936 cannot hold one exactly (then its UTF-16 units are kept), so a value
// reads back exactly as it was packed, Variant type included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Variants.h"

class TPackedValues {
public:
  // pkAnsi is a varString; pkWideAnsi and pkWide are varOleStr texts held in CP936 and in
  // UTF-16.
  enum TKind : std::uint8_t {
    pkEmpty,
    pkNull,
    pkBoolean,
    pkInteger,
    pkInt64,
    pkDouble,
    pkDate,
    pkCurrency,
    pkAnsi,
    pkWideAnsi,
    pkWide
  };

  TPackedValues() = default;
  TPackedValues(const TPackedValues& Other);
  TPackedValues(TPackedValues&&) noexcept = default;
  TPackedValues& operator=(const TPackedValues& Other);
  TPackedValues& operator=(TPackedValues&&) noexcept = default;

  bool IsEmpty() const { return !FBlock; }
  std::size_t GetCount() const { return FBlock ? Header().Count : 0; }
  // pkEmpty past the last value.
  TKind GetKind(std::size_t Index) const;
  Variant Get(std::size_t Index) const;
  // Reads into Out, reusing the room its text already has.
  void Get(std::size_t Index, Variant& Out) const;
  // The CP936 bytes of a pkAnsi or pkWideAnsi value.
  std::string_view GetBytes(std::size_t Index) const;
  std::vector<Variant> Unpack() const;
  // Bytes of the block.
  std::size_t GetSize() const;

  // Packs Values; false, leaving Out as it was, when one of them has no packed kind.
  static bool Pack(const std::vector<Variant>& Values, TPackedValues& Out);

private:
  friend class TPackedValuesBuilder;
  struct THeader {
    std::uint32_t Count;
    std::uint32_t TextBytes;
  };
  const THeader& Header() const { return *reinterpret_cast<const THeader*>(FBlock.get()); }
  static std::size_t SlotsAt(std::size_t Count) { return (sizeof(THeader) + Count + 7) & ~std::size_t{7}; }
  std::uint64_t Slot(std::size_t Index) const;

  std::unique_ptr<char[]> FBlock;
};

// Builds packed records one after the other, reusing its room: Begin, a Set for each value (an
// unset value is Empty), Finish.
class TPackedValuesBuilder {
public:
  void Begin(std::size_t Count);
  void SetNull(std::size_t Index) { Put(Index, TPackedValues::pkNull, 0); }
  void SetBoolean(std::size_t Index, bool Value) { Put(Index, TPackedValues::pkBoolean, Value ? 1 : 0); }
  void SetInteger(std::size_t Index, std::int32_t Value)
  {
    Put(Index, TPackedValues::pkInteger, static_cast<std::uint32_t>(Value));
  }
  void SetInt64(std::size_t Index, std::int64_t Value)
  {
    Put(Index, TPackedValues::pkInt64, static_cast<std::uint64_t>(Value));
  }
  void SetDouble(std::size_t Index, double Value) { PutDouble(Index, TPackedValues::pkDouble, Value); }
  void SetDate(std::size_t Index, double Value) { PutDouble(Index, TPackedValues::pkDate, Value); }
  void SetCurrency(std::size_t Index, Currency Value);
  // A varString value (CP936 text or raw bytes).
  void SetAnsi(std::size_t Index, const char* Bytes, std::size_t Length);
  // A varOleStr value given in UTF-8 or UTF-16.
  void SetUtf8Text(std::size_t Index, const char* Text, std::size_t Length);
  void SetWide(std::size_t Index, const char16_t* Text, std::size_t Length);
  // False when the value has no packed kind (arrays, objects, the narrow number types).
  bool SetVariant(std::size_t Index, const Variant& Value);
  TPackedValues Finish();

private:
  void Put(std::size_t Index, TPackedValues::TKind Kind, std::uint64_t Bits)
  {
    FKinds[Index] = Kind;
    FSlots[Index] = Bits;
  }
  void PutDouble(std::size_t Index, TPackedValues::TKind Kind, double Value)
  {
    std::uint64_t bits;
    std::memcpy(&bits, &Value, sizeof bits);
    Put(Index, Kind, bits);
  }
  void PutText(std::size_t Index, TPackedValues::TKind Kind, std::size_t Start);
  // A text CP936 cannot hold exactly, kept as its UTF-16 units.
  void PutUnits(std::size_t Index, const char16_t* Text, std::size_t Length);

  std::vector<std::uint8_t> FKinds;
  std::vector<std::uint64_t> FSlots;
  std::string FText;
};
