#include "platform/db/Fields.h"

#include <cmath>

#include "platform/db/DataSet.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringUtils.h"

using SysUtils::Format;

// --- TField ----------------------------------------------------------------------------------

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}

TField::~TField()
{
  if (FDataSet) {
    auto& list = FDataSet->FFields.FList;
    std::erase(list, this);
  }
}

void TField::SetDataSet(TDataSet* Value)
{
  if (Value == FDataSet) return;
  if (FDataSet) {
    FDataSet->CheckInactive();
    std::erase(FDataSet->FFields.FList, this);
  }
  if (Value) {
    Value->CheckInactive();
    if (!FFieldName.empty() && Value->FindField(FFieldName))
      DB::DatabaseError(Format("Duplicate field name '%s'", {FFieldName}));
    Value->FFields.FList.push_back(this);
  }
  FDataSet = Value;
}

void TField::SetSize(Integer Value) { FSize = Value; }

Integer TField::GetIndex() const { return FDataSet ? FDataSet->FFields.IndexOf(this) : -1; }

bool TField::CanModify() const { return !FReadOnly && FFieldKind == fkData && FDataSet && FDataSet->GetCanModify(); }

bool TField::IsNull() const { return !FDataSet || FDataSet->GetFieldIsNull(this); }

const Variant& TField::StoredValue() const
{
  static const Variant null = Variant::Null();
  if (!FDataSet) return null;
  const Variant& v = FDataSet->GetFieldValue(this);
  return v.IsEmpty() ? null : v;
}

bool TField::StoredText(AnsiString& Out) const { return FDataSet && FDataSet->GetFieldAnsi(this, Out); }

Variant TField::GetValue() const { return StoredValue(); }

void TField::SetValue(const Variant& Value)
{
  if (!FDataSet) DB::DatabaseError(Format("Field '%s' has no dataset", {GetDisplayName()}));
  Variant v = (Value.IsNull() || Value.IsEmpty()) ? Variant::Null() : Coerce(Value);
  FDataSet->SetFieldValue(this, v);
}

Variant TField::GetOldValue() const
{
  if (!FDataSet) return Variant::Null();
  return FDataSet->GetOldFieldValue(this);
}

void TField::AccessError(const char* TypeName) const
{
  DB::DatabaseError(Format("Cannot access field '%s' as type %s", {GetDisplayName(), AnsiString(TypeName)}));
}

AnsiString TField::GetAsString() const
{
  AnsiString text;
  if (StoredText(text)) return text;
  const Variant& v = StoredValue();
  return v.IsNull() ? AnsiString() : Variants::VarToStr(v);
}
void TField::SetAsString(const AnsiString& Value) { SetValue(Value.empty() ? Variant::Null() : Variant(Value)); }
WideString TField::GetAsWideString() const { return System::AnsiToWide(GetAsString()); }
void TField::SetAsWideString(const WideString& Value) { SetAsString(System::WideToAnsi(Value)); }

Integer TField::GetAsInteger() const
{
  const Variant& v = StoredValue();
  if (v.IsNull()) return 0;
  try {
    return v.AsInteger();
  } catch (const EVariantError&) {
    AccessError("Integer");
  }
}
void TField::SetAsInteger(Integer Value) { SetValue(Value); }
Int64 TField::GetAsLargeInt() const
{
  const Variant& v = StoredValue();
  if (v.IsNull()) return 0;
  try {
    return v.AsInt64();
  } catch (const EVariantError&) {
    AccessError("Largeint");
  }
}
void TField::SetAsLargeInt(Int64 Value) { SetValue(Value); }
double TField::GetAsFloat() const
{
  const Variant& v = StoredValue();
  if (v.IsNull()) return 0;
  try {
    return v.AsDouble();
  } catch (const EVariantError&) {
    AccessError("Float");
  }
}
void TField::SetAsFloat(double Value) { SetValue(Value); }
Currency TField::GetAsCurrency() const
{
  const Variant& v = StoredValue();
  if (v.IsNull()) return Currency();
  try {
    return v.AsCurrency();
  } catch (const EVariantError&) {
    AccessError("Currency");
  }
}
void TField::SetAsCurrency(Currency Value) { SetValue(Value); }
bool TField::GetAsBoolean() const
{
  const Variant& v = StoredValue();
  if (v.IsNull()) return false;
  try {
    return v.AsBoolean();
  } catch (const EVariantError&) {
    AccessError("Boolean");
  }
}
void TField::SetAsBoolean(bool Value) { SetValue(Value); }
TDateTime TField::GetAsDateTime() const
{
  const Variant& v = StoredValue();
  if (v.IsNull()) return TDateTime();
  try {
    return v.AsDateTime();
  } catch (const EVariantError&) {
    AccessError("DateTime");
  }
}
void TField::SetAsDateTime(TDateTime Value) { SetValue(Value); }

AnsiString TField::FormatText(const Variant& Value, bool DisplayText) const { return Variants::VarToStr(Value); }

AnsiString TField::GetDisplayText() const
{
  const Variant& v = StoredValue();
  AnsiString text = v.IsNull() ? AnsiString() : FormatText(v, true);
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, true);
  return text;
}

AnsiString TField::GetText() const
{
  const Variant& v = StoredValue();
  AnsiString text = v.IsNull() ? AnsiString() : FormatText(v, false);
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, false);
  return text;
}

void TField::SetText(const AnsiString& Value)
{
  if (OnSetText)
    OnSetText(this, Value);
  else
    SetAsString(Value);
}

void TField::FocusControl()
{
  if (FDataSet && FDataSet->GetActive()) {
    TField* f = this;
    FDataSet->DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&f));
  }
}

// --- strings ---------------------------------------------------------------------------------

TStringField::TStringField(TComponent* AOwner, TFieldType Type) : TField(AOwner)
{
  SetDataType(Type);
  SetSize(20);
}

AnsiString TStringField::GetAsString() const
{
  AnsiString text;
  if (StoredText(text)) return text;
  const Variant& v = StoredValue();
  return v.IsNull() ? AnsiString() : v.AsString();
}

Variant TStringField::Coerce(const Variant& Value) const { return Variant(Variants::VarToStr(Value)); }

WideString TWideStringField::GetAsWideString() const
{
  const Variant& v = StoredValue();
  return v.IsNull() ? WideString() : v.AsWideString();
}
void TWideStringField::SetAsWideString(const WideString& Value)
{
  SetValue(Value.empty() ? Variant::Null() : Variant(Value));
}
Variant TWideStringField::Coerce(const Variant& Value) const { return Variant(Variants::VarToWideStr(Value)); }

// --- numbers ---------------------------------------------------------------------------------

AnsiString TNumericField::FormatText(const Variant& Value, bool DisplayText) const
{
  const AnsiString& fmt = DisplayText ? GetDisplayFormat() : GetEditFormat();
  if (!fmt.empty()) return SysUtils::FormatFloat(fmt, Value.AsDouble());
  return Variants::VarToStr(Value);
}

TIntegerField::TIntegerField(TComponent* AOwner, TFieldType Type) : TNumericField(AOwner)
{
  SetDataType(Type);
  switch (Type) {
    case ftSmallint:
      FMinValue = -32768;
      FMaxValue = 32767;
      break;
    case ftWord:
      FMinValue = 0;
      FMaxValue = 65535;
      break;
    case ftLargeint:
      FMinValue = INT64_MIN;
      FMaxValue = INT64_MAX;
      break;
    default:
      FMinValue = INT32_MIN;
      FMaxValue = INT32_MAX;
      break;
  }
}

Variant TIntegerField::Coerce(const Variant& Value) const
{
  Int64 v;
  if (Variants::VarIsStr(Value)) {
    AnsiString s = SysUtils::Trim(Value.AsString());
    if (!SysUtils::TryStrToInt64(s, v)) throw EConvertError(Format("'%s' is not a valid integer value", {s}));
  } else {
    v = Value.AsInt64();
  }
  if (v < FMinValue || v > FMaxValue)
    DB::DatabaseError(Format("%d is not a valid value for field '%s'. The allowed range is %d to %d",
                             {v, GetDisplayName(), FMinValue, FMaxValue}));
  if (GetDataType() == ftLargeint) return Variant(static_cast<long long>(v));
  return Variant(static_cast<int>(v));
}

void TIntegerField::SetAsString(const AnsiString& Value)
{
  if (SysUtils::Trim(Value).empty())
    Clear();
  else
    SetValue(Value);
}

TFloatField::TFloatField(TComponent* AOwner, TFieldType Type) : TNumericField(AOwner) { SetDataType(Type); }

Variant TFloatField::Coerce(const Variant& Value) const
{
  if (Variants::VarIsStr(Value)) return Variant(SysUtils::StrToFloat(SysUtils::Trim(Value.AsString())));
  return Variant(Value.AsDouble());
}

void TFloatField::SetAsString(const AnsiString& Value)
{
  if (SysUtils::Trim(Value).empty())
    Clear();
  else
    SetValue(Value);
}

AnsiString TFloatField::FormatText(const Variant& Value, bool DisplayText) const
{
  const AnsiString& fmt = DisplayText ? GetDisplayFormat() : GetEditFormat();
  if (!fmt.empty()) return SysUtils::FormatFloat(fmt, Value.AsDouble());
  if (FCurrency && DisplayText) return SysUtils::FloatToStrF(Value.AsDouble(), SysUtils::ffCurrency, 15, 2);
  return SysUtils::FloatToStr(Value.AsDouble());
}

TBCDField::TBCDField(TComponent* AOwner, TFieldType Type) : TNumericField(AOwner) { SetDataType(Type); }

Variant TBCDField::Coerce(const Variant& Value) const
{
  if (Variants::VarIsStr(Value)) return Variant(SysUtils::StrToCurr(SysUtils::Trim(Value.AsString())));
  return Variant(Value.AsCurrency());
}

void TBCDField::SetAsString(const AnsiString& Value)
{
  if (SysUtils::Trim(Value).empty())
    Clear();
  else
    SetValue(Value);
}

AnsiString TBCDField::FormatText(const Variant& Value, bool DisplayText) const
{
  const AnsiString& fmt = DisplayText ? GetDisplayFormat() : GetEditFormat();
  if (!fmt.empty()) return SysUtils::FormatCurr(fmt, Value.AsCurrency());
  if (FCurrency && DisplayText) return SysUtils::CurrToStrF(Value.AsCurrency(), SysUtils::ffCurrency, 2);
  return SysUtils::CurrToStr(Value.AsCurrency());
}

// --- Boolean, dates --------------------------------------------------------------------------

TBooleanField::TBooleanField(TComponent* AOwner, TFieldType Type) : TField(AOwner) { SetDataType(Type); }

Variant TBooleanField::Coerce(const Variant& Value) const
{
  if (Variants::VarIsStr(Value)) {
    bool b;
    AnsiString s = SysUtils::Trim(Value.AsString());
    if (!SysUtils::TryStrToBool(s, b)) {
      AnsiString u = SysUtils::UpperCase(s);
      if (u == "T" || u == "Y" || u == "YES")
        b = true;
      else if (u == "F" || u == "N" || u == "NO")
        b = false;
      else
        throw EConvertError(Format("'%s' is not a valid boolean value for field '%s'", {s, GetDisplayName()}));
    }
    return Variant(b);
  }
  return Variant(Value.AsBoolean());
}

void TBooleanField::SetAsString(const AnsiString& Value)
{
  if (SysUtils::Trim(Value).empty())
    Clear();
  else
    SetValue(Value);
}

TDateTimeField::TDateTimeField(TComponent* AOwner, TFieldType Type) : TField(AOwner) { SetDataType(Type); }

Variant TDateTimeField::Coerce(const Variant& Value) const
{
  TDateTime d;
  if (Variants::VarIsStr(Value)) {
    AnsiString s = SysUtils::Trim(Value.AsString());
    if (GetDataType() == ftTime)
      d = SysUtils::StrToTime(s);
    else
      d = SysUtils::StrToDateTime(s);
  } else {
    d = Value.AsDateTime();
  }
  if (GetDataType() == ftDate) d = std::trunc(d.Value);
  return Variant(d);
}

void TDateTimeField::SetAsString(const AnsiString& Value)
{
  if (SysUtils::Trim(Value).empty())
    Clear();
  else
    SetValue(Value);
}

AnsiString TDateTimeField::FormatText(const Variant& Value, bool DisplayText) const
{
  TDateTime d = Value.AsDateTime();
  if (DisplayText && !GetDisplayFormat().empty()) return SysUtils::FormatDateTime(GetDisplayFormat(), d);
  switch (GetDataType()) {
    case ftDate: return SysUtils::DateToStr(d);
    case ftTime: return SysUtils::TimeToStr(d);
    default: return SysUtils::DateTimeToStr(d);
  }
}

// --- BLOBs -----------------------------------------------------------------------------------

TBlobField::TBlobField(TComponent* AOwner, TFieldType Type) : TField(AOwner) { SetDataType(Type); }

Variant TBlobField::Coerce(const Variant& Value) const
{
  if (Value.VarType() == varOleStr) return Variant(System::WideToAnsi(Value.AsWideString()));
  return Variant(Variants::VarToStr(Value));
}

AnsiString TBlobField::FormatText(const Variant& Value, bool DisplayText) const
{
  if (!DisplayText) return Variants::VarToStr(Value);
  switch (GetDataType()) {
    case ftMemo:
    case ftWideMemo:
    case ftFmtMemo: return "(MEMO)";
    case ftGraphic: return "(GRAPHIC)";
    default: return "(BLOB)";
  }
}

void TBlobField::LoadFromStream(TStream* Stream)
{
  AnsiString bytes;
  char buf[8192];
  for (;;) {
    Int64 n = Stream->Read(buf, sizeof buf);
    if (n <= 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  SetValue(Variant(std::move(bytes)));
}

void TBlobField::SaveToStream(TStream* Stream) const
{
  AnsiString bytes = GetAsString();
  if (!bytes.empty()) Stream->Write(bytes.data(), static_cast<Int64>(bytes.size()));
}

Integer TBlobField::GetBlobSize() const { return static_cast<Integer>(GetAsString().size()); }

WideString TWideMemoField::GetAsWideString() const
{
  const Variant& v = StoredValue();
  return v.IsNull() ? WideString() : v.AsWideString();
}
void TWideMemoField::SetAsWideString(const WideString& Value)
{
  SetValue(Value.empty() ? Variant::Null() : Variant(Value));
}
AnsiString TWideMemoField::GetAsString() const
{
  AnsiString text;
  if (StoredText(text)) return text;
  return System::WideToAnsi(GetAsWideString());
}
Variant TWideMemoField::Coerce(const Variant& Value) const { return Variant(Variants::VarToWideStr(Value)); }

TVariantField::TVariantField(TComponent* AOwner, TFieldType Type) : TField(AOwner) { SetDataType(Type); }
