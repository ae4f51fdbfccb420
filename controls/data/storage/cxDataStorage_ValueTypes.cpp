// The value types of the record storage and the handle table behind their 4-byte references.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <variant>

#include "controls/data/storage/cxDataStorage.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Streams.h"

// ---- Handle table ----------------------------------------------------------------------------

namespace {

struct THandleEntry {
  std::variant<std::monostate, AnsiString, WideString, Variant, std::unique_ptr<TObject>> Value;
};

// The marks live beside the entries, which a scan over texts reads one after another.
struct THandleTable {
  std::vector<THandleEntry> Entries;  // handle h is Entries[h - 1]
  std::vector<Byte> Stored;           // Stored[h - 1]: an object already held by a field
  // Heads[h - 1]: the size and first bytes of a text entry, so a prefix test on many texts
  // reads this compact list instead of the entries.
  std::vector<TcxTextHead> Heads;
  std::vector<std::uint32_t> Free;
  int Live = 0;
};

THandleTable& Table()
{
  static THandleTable table;
  return table;
}

std::uint32_t ReadHandle(const Byte* ASlot)
{
  std::uint32_t h;
  std::memcpy(&h, ASlot, sizeof h);
  return h;
}

void WriteHandle(Byte* ASlot, std::uint32_t h) { std::memcpy(ASlot, &h, sizeof h); }

THandleEntry* Entry(std::uint32_t h)
{
  THandleTable& t = Table();
  if (h == 0 || h > t.Entries.size()) return nullptr;
  return &t.Entries[h - 1];
}

template <class T>
T* Referenced(const Byte* ASlot)
{
  THandleEntry* e = Entry(ReadHandle(ASlot));
  return e ? std::get_if<T>(&e->Value) : nullptr;
}

// Keeps Heads[h - 1] in step with the entry (called after each change of a value).
void UpdateHead(std::uint32_t h)
{
  THandleTable& t = Table();
  TcxTextHead head;
  if (const auto* text = std::get_if<AnsiString>(&t.Entries[h - 1].Value)) {
    const size_t n = std::min<size_t>(text->size(), 8);
    for (size_t i = 0; i < 8; ++i)
      head.Bytes = (head.Bytes << 8) | (i < n ? static_cast<unsigned char>((*text)[i]) : 0u);
    head.Size = static_cast<std::uint32_t>(std::min<size_t>(text->size(), 0xFFFFFFFFu));
    head.IsText = 1;
  }
  t.Heads[h - 1] = head;
}

template <class T>
std::uint32_t Allocate(T&& AValue)
{
  THandleTable& t = Table();
  std::uint32_t h;
  if (!t.Free.empty()) {
    h = t.Free.back();
    t.Free.pop_back();
  } else {
    t.Entries.emplace_back();
    t.Stored.push_back(0);
    t.Heads.emplace_back();
    h = static_cast<std::uint32_t>(t.Entries.size());
  }
  t.Entries[h - 1].Value = std::forward<T>(AValue);
  t.Stored[h - 1] = 0;
  UpdateHead(h);
  ++t.Live;
  return h;
}

void Release(std::uint32_t h)
{
  THandleEntry* e = Entry(h);
  if (!e || std::holds_alternative<std::monostate>(e->Value)) return;
  auto value = std::move(e->Value);  // freed after the table is consistent again
  e->Value = std::monostate();
  Table().Stored[h - 1] = 0;
  Table().Heads[h - 1] = TcxTextHead();
  Table().Free.push_back(h);
  --Table().Live;
}

// Stores a value of type T behind the slot's handle, allocating it on first use.
template <class T>
void StoreReferenced(Byte* ASlot, T&& AValue)
{
  if (auto* existing = Referenced<std::decay_t<T>>(ASlot)) {
    *existing = std::forward<T>(AValue);
    UpdateHead(ReadHandle(ASlot));
  } else
    WriteHandle(ASlot, Allocate(std::forward<T>(AValue)));
}

void ReleaseHandleSlot(Byte* ASlot)
{
  Release(ReadHandle(ASlot));
  WriteHandle(ASlot, 0);
}

template <class T>
int ThreeWay(const T& a, const T& b)
{
  return a < b ? -1 : b < a ? 1 : 0;
}

}  // namespace

namespace cxDataStorage {

Integer RegisterObject(std::unique_ptr<TObject> AObject) { return static_cast<Integer>(Allocate(std::move(AObject))); }

TObject* ObjectOfHandle(Integer AHandle)
{
  THandleEntry* e = Entry(static_cast<std::uint32_t>(AHandle));
  auto* object = e ? std::get_if<std::unique_ptr<TObject>>(&e->Value) : nullptr;
  return object ? object->get() : nullptr;
}

int LiveHandleCount() { return Table().Live; }

}  // namespace cxDataStorage

// ---- Base ------------------------------------------------------------------------------------

TcxValueTypeClass TcxValueType::Class()
{
  static const TcxValueType instance;
  return &instance;
}

int TcxValueType::CompareSlots(const Byte* ASlot1, const Byte* ASlot2) const
{
  return CompareData(SlotToData(ASlot1), SlotToData(ASlot2));
}

void TcxValueType::ReleaseTextSlot(Byte* ATextSlot) const { ReleaseHandleSlot(ATextSlot); }

AnsiString TcxValueType::SlotText(const Byte* ASlot) const
{
  try {
    return Variants::VarToStr(LoadSlot(ASlot));
  } catch (const EVariantError&) {
    return AnsiString();
  }
}

AnsiString TcxValueType::TextSlotText(const Byte* ATextSlot) const
{
  const AnsiString* s = Referenced<AnsiString>(ATextSlot);
  return s ? *s : AnsiString();
}

void TcxValueType::ReadSlot(Byte* ASlot, TStream* AStream) const
{
  StoreSlot(ASlot, cxVariants::ReadVariantFromStream(AStream));
}

void TcxValueType::ReadTextSlot(Byte* ATextSlot, TStream* AStream) const
{
  StoreTextSlot(ATextSlot, cxVariants::ReadStringFromStream(AStream));
}

void TcxValueType::StoreTextSlot(Byte* ATextSlot, const AnsiString& S) const
{
  StoreReferenced(ATextSlot, AnsiString(S));
}

void TcxValueType::WriteSlot(const Byte* ASlot, TStream* AStream) const
{
  cxVariants::WriteVariantToStream(AStream, LoadSlot(ASlot));
}

void TcxValueType::WriteTextSlot(const Byte* ATextSlot, TStream* AStream) const
{
  cxVariants::WriteStringToStream(AStream, TextSlotText(ATextSlot));
}

int TcxValueType::CompareData(const void* AData1, const void* AData2) const
{
  return cxVariants::VarCompareValues(DataToVariant(AData1), DataToVariant(AData2));
}

bool TcxValueType::AcceptsValue(Variant& V) const
{
  if (V.IsNull() || VariantKind() == varVariant) return true;
  try {
    V = Variants::VarAsType(V, VariantKind());
    return true;
  } catch (const EVariantError&) {
    return false;
  }
}

// ---- Texts -----------------------------------------------------------------------------------

TcxValueTypeClass TcxStringValueType::Class()
{
  static const TcxStringValueType instance;
  return &instance;
}

void TcxStringValueType::ReleaseSlot(Byte* ASlot) const { ReleaseHandleSlot(ASlot); }

const void* TcxStringValueType::SlotToData(const Byte* ASlot) const { return Referenced<AnsiString>(ASlot); }

const AnsiString* cxDataStorage::StringOfSlot(const Byte* ASlot) { return Referenced<AnsiString>(ASlot); }

void cxDataStorage::TextHeadsOfSlots(const Byte* const* ASlots, size_t ACount, TcxTextHead* AHeads)
{
  const THandleTable& t = Table();
  const TcxTextHead* heads = t.Heads.data();
  const size_t size = t.Heads.size();
  for (size_t i = 0; i < ACount; ++i) {
    TcxTextHead head;
    if (ASlots[i]) {
      const std::uint32_t h = ReadHandle(ASlots[i]);
      if (h != 0 && h <= size) head = heads[h - 1];
    }
    AHeads[i] = head;
  }
}

void cxDataStorage::StringsOfSlots(const Byte* const* ASlots, size_t ACount, const AnsiString** ATexts)
{
  const THandleTable& t = Table();
  const THandleEntry* entries = t.Entries.data();
  const size_t size = t.Entries.size();
  for (size_t i = 0; i < ACount; ++i) {
    const AnsiString* text = nullptr;
    if (ASlots[i]) {
      const std::uint32_t h = ReadHandle(ASlots[i]);
      if (h != 0 && h <= size) text = std::get_if<AnsiString>(&entries[h - 1].Value);
    }
    ATexts[i] = text;
  }
}

Variant TcxStringValueType::DataToVariant(const void* AData) const
{
  return AData ? Variant(*static_cast<const AnsiString*>(AData)) : Variant::Null();
}

Variant TcxStringValueType::LoadSlot(const Byte* ASlot) const { return DataToVariant(SlotToData(ASlot)); }

void TcxStringValueType::StoreSlot(Byte* ASlot, const Variant& V) const { StoreReferenced(ASlot, V.AsString()); }

int TcxStringValueType::CompareData(const void* AData1, const void* AData2) const
{
  if (!AData1 || !AData2) return (AData1 ? 1 : 0) - (AData2 ? 1 : 0);
  const int c = static_cast<const AnsiString*>(AData1)->compare(*static_cast<const AnsiString*>(AData2));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void TcxStringValueType::ReadSlot(Byte* ASlot, TStream* AStream) const
{
  StoreSlot(ASlot, Variant(cxVariants::ReadStringFromStream(AStream)));
}

void TcxStringValueType::WriteSlot(const Byte* ASlot, TStream* AStream) const
{
  const AnsiString* s = Referenced<AnsiString>(ASlot);
  cxVariants::WriteStringToStream(AStream, s ? *s : AnsiString());
}

TcxValueTypeClass TcxWideStringValueType::Class()
{
  static const TcxWideStringValueType instance;
  return &instance;
}

const void* TcxWideStringValueType::SlotToData(const Byte* ASlot) const { return Referenced<WideString>(ASlot); }

Variant TcxWideStringValueType::DataToVariant(const void* AData) const
{
  return AData ? Variant(*static_cast<const WideString*>(AData)) : Variant::Null();
}

Variant TcxWideStringValueType::LoadSlot(const Byte* ASlot) const { return DataToVariant(SlotToData(ASlot)); }

void TcxWideStringValueType::StoreSlot(Byte* ASlot, const Variant& V) const
{
  StoreReferenced(ASlot, V.AsWideString());
}

int TcxWideStringValueType::CompareData(const void* AData1, const void* AData2) const
{
  if (!AData1 || !AData2) return (AData1 ? 1 : 0) - (AData2 ? 1 : 0);
  const int c = static_cast<const WideString*>(AData1)->compare(*static_cast<const WideString*>(AData2));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void TcxWideStringValueType::ReadSlot(Byte* ASlot, TStream* AStream) const
{
  StoreSlot(ASlot, Variant(cxVariants::ReadWideStringFromStream(AStream)));
}

// The units themselves: narrowing to CP936 first would turn what it cannot hold into "?".
void TcxWideStringValueType::WriteSlot(const Byte* ASlot, TStream* AStream) const
{
  const WideString* s = Referenced<WideString>(ASlot);
  cxVariants::WriteWideStringToStream(AStream, s ? *s : WideString());
}

// ---- Plain values ----------------------------------------------------------------------------

template <class T>
T TcxPlainValueType<T>::Get(const void* AData)
{
  T v;
  std::memcpy(&v, AData, sizeof v);
  return v;
}

template <class T>
void TcxPlainValueType<T>::Put(Byte* ASlot, T AValue)
{
  std::memcpy(ASlot, &AValue, sizeof AValue);
}

template <class T>
void TcxPlainValueType<T>::ReadSlot(Byte* ASlot, TStream* AStream) const
{
  AStream->ReadBuffer(ASlot, sizeof(T));
}

template <class T>
void TcxPlainValueType<T>::WriteSlot(const Byte* ASlot, TStream* AStream) const
{
  AStream->WriteBuffer(ASlot, sizeof(T));
}

template <class T>
int TcxPlainValueType<T>::CompareData(const void* AData1, const void* AData2) const
{
  return ThreeWay(Get(AData1), Get(AData2));
}

template class TcxPlainValueType<SmallInt>;
template class TcxPlainValueType<Integer>;
template class TcxPlainValueType<Word>;
template class TcxPlainValueType<Byte>;
template class TcxPlainValueType<double>;
template class TcxPlainValueType<Int64>;

#define CX_PLAIN_CLASS(Name)      \
  TcxValueTypeClass Name::Class() \
  {                               \
    static const Name instance;   \
    return &instance;             \
  }
CX_PLAIN_CLASS(TcxSmallintValueType)
CX_PLAIN_CLASS(TcxIntegerValueType)
CX_PLAIN_CLASS(TcxWordValueType)
CX_PLAIN_CLASS(TcxBooleanValueType)
CX_PLAIN_CLASS(TcxFloatValueType)
CX_PLAIN_CLASS(TcxCurrencyValueType)
CX_PLAIN_CLASS(TcxDateTimeValueType)
CX_PLAIN_CLASS(TcxLargeIntValueType)
CX_PLAIN_CLASS(TcxFMTBcdValueType)
CX_PLAIN_CLASS(TcxSQLTimeStampValueType)
CX_PLAIN_CLASS(TcxVariantValueType)
CX_PLAIN_CLASS(TcxObjectValueType)
#undef CX_PLAIN_CLASS

Variant TcxSmallintValueType::LoadSlot(const Byte* ASlot) const { return Variant(static_cast<short>(Get(ASlot))); }
void TcxSmallintValueType::StoreSlot(Byte* ASlot, const Variant& V) const
{
  Put(ASlot, static_cast<SmallInt>(Variants::VarAsType(V, varSmallint).AsInteger()));
}

Variant TcxIntegerValueType::LoadSlot(const Byte* ASlot) const { return Variant(static_cast<int>(Get(ASlot))); }
void TcxIntegerValueType::StoreSlot(Byte* ASlot, const Variant& V) const { Put(ASlot, V.AsInteger()); }

Variant TcxWordValueType::LoadSlot(const Byte* ASlot) const { return Variant(static_cast<unsigned short>(Get(ASlot))); }
void TcxWordValueType::StoreSlot(Byte* ASlot, const Variant& V) const
{
  Put(ASlot, static_cast<Word>(Variants::VarAsType(V, varWord).AsInteger()));
}

Variant TcxBooleanValueType::LoadSlot(const Byte* ASlot) const { return Variant(Get(ASlot) != 0); }
void TcxBooleanValueType::StoreSlot(Byte* ASlot, const Variant& V) const { Put(ASlot, V.AsBoolean() ? 1 : 0); }

Variant TcxFloatValueType::LoadSlot(const Byte* ASlot) const { return Variant(Get(ASlot)); }
void TcxFloatValueType::StoreSlot(Byte* ASlot, const Variant& V) const { Put(ASlot, V.AsDouble()); }

Variant TcxCurrencyValueType::LoadSlot(const Byte* ASlot) const { return Variant(Currency::FromRaw(Get(ASlot))); }
void TcxCurrencyValueType::StoreSlot(Byte* ASlot, const Variant& V) const { Put(ASlot, V.AsCurrency().Raw); }

Variant TcxDateTimeValueType::LoadSlot(const Byte* ASlot) const { return Variant(TDateTime(Get(ASlot))); }
void TcxDateTimeValueType::StoreSlot(Byte* ASlot, const Variant& V) const { Put(ASlot, V.AsDateTime().Value); }

Variant TcxLargeIntValueType::LoadSlot(const Byte* ASlot) const { return Variant(static_cast<long long>(Get(ASlot))); }
void TcxLargeIntValueType::StoreSlot(Byte* ASlot, const Variant& V) const { Put(ASlot, V.AsInt64()); }

// ---- Packed decimal --------------------------------------------------------------------------

namespace {

constexpr int kBcdDigits = 64;

struct TDecimal {
  bool Negative = false;
  std::string Digits;  // all digits, most significant first, no leading zeros (empty = zero)
  int Scale = 0;       // how many of them are after the point
};

// Drops leading and trailing zeros that carry nothing; zero has no digits and no sign.
void Normalize(TDecimal& d)
{
  if (d.Scale < 0) {
    d.Digits.append(static_cast<size_t>(-d.Scale), '0');
    d.Scale = 0;
  }
  while (d.Scale > 0 && !d.Digits.empty() && d.Digits.back() == '0') {
    d.Digits.pop_back();
    --d.Scale;
  }
  if (static_cast<int>(d.Digits.size()) < d.Scale)
    d.Digits.insert(0, static_cast<size_t>(d.Scale) - d.Digits.size(), '0');
  size_t lead = 0;
  while (lead < d.Digits.size() - static_cast<size_t>(d.Scale) && d.Digits[lead] == '0') ++lead;
  d.Digits.erase(0, lead);
  if (d.Digits.find_first_not_of('0') == std::string::npos) d = TDecimal();
}

// Parses "-12.50", "1.5E-3" and the like; raises EVariantTypeCastError or EVariantOverflowError.
TDecimal ParseDecimal(const AnsiString& AText)
{
  TDecimal d;
  size_t i = 0;
  const AnsiString t = AText;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) d.Negative = t[i++] == '-';
  bool anyDigit = false, point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      d.Digits += t[i];
      anyDigit = true;
      if (point) ++d.Scale;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  long exponent = 0;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    char* end = nullptr;
    exponent = std::strtol(t.c_str() + i + 1, &end, 10);
    if (end == t.c_str() + i + 1) throw EVariantTypeCastError("Could not convert variant to FMTBcd");
    i = static_cast<size_t>(end - t.c_str());
  }
  while (i < t.size() && t[i] == ' ') ++i;
  if (!anyDigit || i != t.size()) throw EVariantTypeCastError("Could not convert variant to FMTBcd");
  if (exponent > kBcdDigits || exponent < -kBcdDigits)
    throw EVariantOverflowError("Arithmetic overflow converting to FMTBcd");
  d.Scale -= static_cast<int>(exponent);
  Normalize(d);
  if (d.Digits.size() > kBcdDigits) throw EVariantOverflowError("Arithmetic overflow converting to FMTBcd");
  return d;
}

TDecimal UnpackDecimal(const Byte* ASlot)
{
  TDecimal d;
  const int precision = std::min<int>(ASlot[0], kBcdDigits);
  d.Negative = (ASlot[1] & 0x80) != 0;
  d.Scale = std::min<int>(ASlot[1] & 0x3F, precision);
  for (int i = 0; i < precision; ++i) {
    const Byte b = ASlot[2 + i / 2];
    d.Digits += static_cast<char>('0' + std::min((i % 2 == 0 ? b >> 4 : b & 0x0F), 9));
  }
  Normalize(d);
  return d;
}

AnsiString DecimalText(const TDecimal& d)
{
  if (d.Digits.empty()) return "0";
  const size_t whole = d.Digits.size() - static_cast<size_t>(d.Scale);
  AnsiString s = d.Negative ? "-" : "";
  s += whole == 0 ? AnsiString("0") : d.Digits.substr(0, whole);
  if (d.Scale > 0) s += "." + d.Digits.substr(whole);
  return s;
}

int CompareDecimals(const TDecimal& a, const TDecimal& b)
{
  const bool za = a.Digits.empty(), zb = b.Digits.empty();
  const int sa = za ? 0 : a.Negative ? -1 : 1, sb = zb ? 0 : b.Negative ? -1 : 1;
  if (sa != sb) return sa < sb ? -1 : 1;
  if (sa == 0) return 0;
  const size_t wa = a.Digits.size() - static_cast<size_t>(a.Scale), wb = b.Digits.size() - static_cast<size_t>(b.Scale);
  int c = 0;
  if (wa != wb) {
    c = wa < wb ? -1 : 1;
  } else {
    const int scale = std::max(a.Scale, b.Scale);
    const std::string da = a.Digits + std::string(static_cast<size_t>(scale - a.Scale), '0');
    const std::string db = b.Digits + std::string(static_cast<size_t>(scale - b.Scale), '0');
    c = ThreeWay(da, db);
  }
  return sa < 0 ? -c : c;
}

}  // namespace

Variant TcxFMTBcdValueType::LoadSlot(const Byte* ASlot) const
{
  return Variant(std::strtod(DecimalText(UnpackDecimal(ASlot)).c_str(), nullptr));
}

AnsiString TcxFMTBcdValueType::SlotText(const Byte* ASlot) const { return DecimalText(UnpackDecimal(ASlot)); }

void TcxFMTBcdValueType::StoreSlot(Byte* ASlot, const Variant& V) const
{
  const TDecimal d = ParseDecimal(Variants::VarIsStr(V) ? V.AsString() : Variants::VarToStr(V));
  std::memset(ASlot, 0, 34);
  ASlot[0] = static_cast<Byte>(std::max<size_t>(d.Digits.size(), 1));
  ASlot[1] = static_cast<Byte>((d.Negative ? 0x80 : 0) | d.Scale);
  for (size_t i = 0; i < d.Digits.size(); ++i) {
    const Byte digit = static_cast<Byte>(d.Digits[i] - '0');
    ASlot[2 + i / 2] = static_cast<Byte>(ASlot[2 + i / 2] | (i % 2 == 0 ? digit << 4 : digit));
  }
}

int TcxFMTBcdValueType::CompareData(const void* AData1, const void* AData2) const
{
  return CompareDecimals(UnpackDecimal(static_cast<const Byte*>(AData1)),
                         UnpackDecimal(static_cast<const Byte*>(AData2)));
}

TVarType TcxFMTBcdValueType::VariantKind() const { return cxVariants::VarFMTBcd(); }

bool TcxFMTBcdValueType::AcceptsValue(Variant& V) const
{
  if (V.IsNull()) return true;
  try {
    ParseDecimal(Variants::VarIsStr(V) ? V.AsString() : Variants::VarToStr(V));
    return true;
  } catch (const EVariantError&) {
    return false;
  }
}

// ---- SQL time stamp --------------------------------------------------------------------------

namespace {

struct TSQLTimeStamp {
  std::int16_t Year;
  Word Month, Day, Hour, Minute, Second;
  std::uint32_t Fractions;
};
static_assert(sizeof(TSQLTimeStamp) == 16);

TSQLTimeStamp GetStamp(const void* AData)
{
  TSQLTimeStamp t;
  std::memcpy(&t, AData, sizeof t);
  return t;
}

}  // namespace

Variant TcxSQLTimeStampValueType::LoadSlot(const Byte* ASlot) const
{
  const TSQLTimeStamp t = GetStamp(ASlot);
  TDateTime date, time;
  if (t.Year <= 0 || !SysUtils::TryEncodeDate(static_cast<Word>(t.Year), t.Month, t.Day, date) ||
      !SysUtils::TryEncodeTime(t.Hour, t.Minute, t.Second, static_cast<Word>(std::min<std::uint32_t>(t.Fractions, 999)),
                               time))
    return Variant::Null();
  return Variant(TDateTime(date.Value >= 0 ? date.Value + time.Value : date.Value - time.Value));
}

void TcxSQLTimeStampValueType::StoreSlot(Byte* ASlot, const Variant& V) const
{
  const TDateTime d = V.AsDateTime();
  TSQLTimeStamp t{};
  Word y, mo, day, h, mi, s, ms;
  SysUtils::DecodeDate(d, y, mo, day);
  SysUtils::DecodeTime(d, h, mi, s, ms);
  t.Year = static_cast<std::int16_t>(y);
  t.Month = mo;
  t.Day = day;
  t.Hour = h;
  t.Minute = mi;
  t.Second = s;
  t.Fractions = ms;
  std::memcpy(ASlot, &t, sizeof t);
}

int TcxSQLTimeStampValueType::CompareData(const void* AData1, const void* AData2) const
{
  const TSQLTimeStamp a = GetStamp(AData1), b = GetStamp(AData2);
  if (int c = ThreeWay(a.Year, b.Year)) return c;
  if (int c = ThreeWay(a.Month, b.Month)) return c;
  if (int c = ThreeWay(a.Day, b.Day)) return c;
  if (int c = ThreeWay(a.Hour, b.Hour)) return c;
  if (int c = ThreeWay(a.Minute, b.Minute)) return c;
  if (int c = ThreeWay(a.Second, b.Second)) return c;
  return ThreeWay(a.Fractions, b.Fractions);
}

TVarType TcxSQLTimeStampValueType::VariantKind() const { return cxVariants::VarSQLTimeStamp(); }

bool TcxSQLTimeStampValueType::AcceptsValue(Variant& V) const
{
  if (V.IsNull()) return true;
  try {
    V = Variant(V.AsDateTime());
    return true;
  } catch (const EVariantError&) {
    return false;
  }
}

// ---- Variant and object ----------------------------------------------------------------------

int TcxVariantValueType::CompareSlots(const Byte* ASlot1, const Byte* ASlot2) const
{
  return CompareData(SlotToData(ASlot1), SlotToData(ASlot2));
}

void TcxVariantValueType::ReleaseSlot(Byte* ASlot) const { ReleaseHandleSlot(ASlot); }

const void* TcxVariantValueType::SlotToData(const Byte* ASlot) const { return Referenced<Variant>(ASlot); }

Variant TcxVariantValueType::DataToVariant(const void* AData) const
{
  return AData ? *static_cast<const Variant*>(AData) : Variant::Null();
}

Variant TcxVariantValueType::LoadSlot(const Byte* ASlot) const { return DataToVariant(SlotToData(ASlot)); }

void TcxVariantValueType::StoreSlot(Byte* ASlot, const Variant& V) const { StoreReferenced(ASlot, Variant(V.Deref())); }

int TcxVariantValueType::CompareData(const void* AData1, const void* AData2) const
{
  if (!AData1 || !AData2) return (AData1 ? 1 : 0) - (AData2 ? 1 : 0);
  return cxVariants::VarCompareValues(*static_cast<const Variant*>(AData1), *static_cast<const Variant*>(AData2));
}

void TcxObjectValueType::ReleaseSlot(Byte* ASlot) const { ReleaseHandleSlot(ASlot); }

void TcxObjectValueType::StoreSlot(Byte* ASlot, const Variant& V) const
{
  const std::uint32_t h = static_cast<std::uint32_t>(V.AsInteger());
  if (h == ReadHandle(ASlot)) return;
  THandleEntry* e = Entry(h);
  if (h != 0 && (!e || !std::holds_alternative<std::unique_ptr<TObject>>(e->Value) || Table().Stored[h - 1]))
    throw EInvalidOperation("The object is not registered or already belongs to a field");
  ReleaseHandleSlot(ASlot);
  if (e) Table().Stored[h - 1] = 1;
  WriteHandle(ASlot, h);
}
