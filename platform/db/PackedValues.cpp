#include "platform/db/PackedValues.h"

#include <cstring>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VariantData.h"

// Block: THeader, a kind byte per value, padding to 8, an 8-byte slot per value, the texts. A
// text's slot holds its offset into the texts (low half) and its length in bytes (high half).

namespace {

std::uint64_t TextSlot(std::size_t Offset, std::size_t Length)
{
  return static_cast<std::uint64_t>(Offset) | (static_cast<std::uint64_t>(Length) << 32);
}

}  // namespace

TPackedValues::TPackedValues(const TPackedValues& Other) { *this = Other; }

TPackedValues& TPackedValues::operator=(const TPackedValues& Other)
{
  if (this == &Other) return *this;
  if (!Other.FBlock) {
    FBlock.reset();
    return *this;
  }
  const std::size_t size = Other.GetSize();
  FBlock.reset(new char[size]);
  std::memcpy(FBlock.get(), Other.FBlock.get(), size);
  return *this;
}

std::size_t TPackedValues::GetSize() const
{
  if (!FBlock) return 0;
  const THeader& h = Header();
  return SlotsAt(h.Count) + h.Count * sizeof(std::uint64_t) + h.TextBytes;
}

TPackedValues::TKind TPackedValues::GetKind(std::size_t Index) const
{
  if (Index >= GetCount()) return pkEmpty;
  return static_cast<TKind>(static_cast<std::uint8_t>(FBlock[sizeof(THeader) + Index]));
}

std::uint64_t TPackedValues::Slot(std::size_t Index) const
{
  std::uint64_t bits;
  std::memcpy(&bits, FBlock.get() + SlotsAt(Header().Count) + Index * sizeof bits, sizeof bits);
  return bits;
}

std::string_view TPackedValues::GetBytes(std::size_t Index) const
{
  const TKind kind = GetKind(Index);
  if (kind != pkAnsi && kind != pkWideAnsi && kind != pkWide) return {};
  const std::uint64_t slot = Slot(Index);
  const char* texts = FBlock.get() + SlotsAt(Header().Count) + Header().Count * sizeof slot;
  return {texts + static_cast<std::uint32_t>(slot), static_cast<std::size_t>(slot >> 32)};
}

Variant TPackedValues::Get(std::size_t Index) const
{
  Variant v;
  Get(Index, v);
  return v;
}

void TPackedValues::Get(std::size_t Index, Variant& Out) const
{
  const TKind kind = GetKind(Index);
  const std::uint64_t bits = kind == pkEmpty ? 0 : Slot(Index);
  double d;
  switch (kind) {
    case pkEmpty: Out = Variant(); return;
    case pkNull: Out = Variant::Null(); return;
    case pkBoolean: Out = Variant(bits != 0); return;
    case pkInteger: Out = Variant(static_cast<int>(static_cast<std::int32_t>(bits))); return;
    case pkInt64: Out = Variant(static_cast<long long>(bits)); return;
    case pkDouble:
    case pkDate:
      std::memcpy(&d, &bits, sizeof d);
      if (kind == pkDouble)
        Out = Variant(d);
      else
        Out = Variant(TDateTime(d));
      return;
    case pkCurrency: Out = Variant(Currency::FromRaw(static_cast<Int64>(bits))); return;
    case pkAnsi: {
      std::string_view bytes = GetBytes(Index);
      if (Out.VarType() == varString)
        TVariantAccess::String(Out).assign(bytes.data(), bytes.size());
      else
        Out = Variant(AnsiString(bytes));
      return;
    }
    case pkWideAnsi: {
      std::string_view bytes = GetBytes(Index);
      Out = Variant(System::AnsiToWide(bytes.data(), bytes.size()));
      return;
    }
    case pkWide: {
      std::string_view bytes = GetBytes(Index);
      WideString w(bytes.size() / 2, u'\0');
      std::memcpy(w.data(), bytes.data(), w.size() * 2);
      Out = Variant(std::move(w));
      return;
    }
  }
}

std::vector<Variant> TPackedValues::Unpack() const
{
  std::vector<Variant> out(GetCount());
  for (std::size_t i = 0; i < out.size(); ++i) Get(i, out[i]);
  return out;
}

bool TPackedValues::Pack(const std::vector<Variant>& Values, TPackedValues& Out)
{
  thread_local TPackedValuesBuilder builder;
  builder.Begin(Values.size());
  for (std::size_t i = 0; i < Values.size(); ++i)
    if (!builder.SetVariant(i, Values[i])) return false;
  Out = builder.Finish();
  return true;
}

// --- TPackedValuesBuilder ----------------------------------------------------------------------

void TPackedValuesBuilder::Begin(std::size_t Count)
{
  FKinds.assign(Count, TPackedValues::pkEmpty);
  FSlots.assign(Count, 0);
  FText.clear();
}

void TPackedValuesBuilder::PutText(std::size_t Index, TPackedValues::TKind Kind, std::size_t Start)
{
  Put(Index, Kind, TextSlot(Start, FText.size() - Start));
}

void TPackedValuesBuilder::SetCurrency(std::size_t Index, Currency Value)
{
  Put(Index, TPackedValues::pkCurrency, static_cast<std::uint64_t>(Value.Raw));
}

void TPackedValuesBuilder::SetAnsi(std::size_t Index, const char* Bytes, std::size_t Length)
{
  const std::size_t start = FText.size();
  FText.append(Bytes, Length);
  PutText(Index, TPackedValues::pkAnsi, start);
}

void TPackedValuesBuilder::SetUtf8Text(std::size_t Index, const char* Text, std::size_t Length)
{
  const std::size_t start = FText.size();
  if (System::AppendUtf8AsAnsi(Text, Length, FText)) {
    PutText(Index, TPackedValues::pkWideAnsi, start);
    return;
  }
  FText.resize(start);
  const WideString w = System::Utf8ToWide(std::string(Text, Length));
  PutUnits(Index, w.data(), w.size());
}

void TPackedValuesBuilder::SetWide(std::size_t Index, const char16_t* Text, std::size_t Length)
{
  const std::size_t start = FText.size();
  if (System::AppendWideAsAnsi(Text, Length, FText)) {
    PutText(Index, TPackedValues::pkWideAnsi, start);
    return;
  }
  FText.resize(start);
  PutUnits(Index, Text, Length);
}

void TPackedValuesBuilder::PutUnits(std::size_t Index, const char16_t* Text, std::size_t Length)
{
  const std::size_t start = FText.size();
  FText.append(reinterpret_cast<const char*>(Text), Length * 2);
  PutText(Index, TPackedValues::pkWide, start);
}

bool TPackedValuesBuilder::SetVariant(std::size_t Index, const Variant& Value)
{
  switch (Value.VarType()) {
    case varEmpty: Put(Index, TPackedValues::pkEmpty, 0); return true;
    case varNull: SetNull(Index); return true;
    case varBoolean: SetBoolean(Index, Value.AsBoolean()); return true;
    case varInteger: SetInteger(Index, Value.AsInteger()); return true;
    case varInt64: SetInt64(Index, Value.AsInt64()); return true;
    case varDouble: SetDouble(Index, Value.AsDouble()); return true;
    case varDate: SetDate(Index, Value.AsDateTime().Value); return true;
    case varCurrency: SetCurrency(Index, Value.AsCurrency()); return true;
    case varString: {
      const AnsiString& s = TVariantAccess::String(Value);
      SetAnsi(Index, s.data(), s.size());
      return true;
    }
    case varOleStr: {
      const WideString& w = TVariantAccess::Wide(Value);
      SetWide(Index, w.data(), w.size());
      return true;
    }
    default: return false;
  }
}

TPackedValues TPackedValuesBuilder::Finish()
{
  const std::size_t count = FKinds.size();
  const std::size_t slotsAt = TPackedValues::SlotsAt(count);
  const std::size_t size = slotsAt + count * sizeof(std::uint64_t) + FText.size();
  TPackedValues out;
  out.FBlock.reset(new char[size]);
  char* p = out.FBlock.get();
  const TPackedValues::THeader h{static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(FText.size())};
  std::memcpy(p, &h, sizeof h);
  std::memcpy(p + sizeof h, FKinds.data(), count);
  std::memset(p + sizeof h + count, 0, slotsAt - sizeof h - count);
  std::memcpy(p + slotsAt, FSlots.data(), count * sizeof(std::uint64_t));
  if (!FText.empty()) std::memcpy(p + slotsAt + count * sizeof(std::uint64_t), FText.data(), FText.size());
  return out;
}
