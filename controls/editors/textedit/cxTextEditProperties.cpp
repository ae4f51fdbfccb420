#include "controls/editors/textedit/cxTextEditProperties.h"

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/editors/textedit/cxTextEditViewInfo.h"
#include "controls/editors/textedit/cxTextEditLookupData.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

// ---- Unit routines

AnsiString cxTextEdit::ApplyCharCase(const AnsiString& S, TEditCharCase ACase)
{
  switch (ACase) {
    case ecUpperCase: return SysUtils::AnsiUpperCase(S);
    case ecLowerCase: return SysUtils::AnsiLowerCase(S);
    default: return S;
  }
}

int cxTextEdit::CharCount(const AnsiString& S)
{
  int n = 0;
  for (int i = 1; i <= int(S.size()); i = System::NextCharIndex(S, i)) ++n;
  return n;
}

AnsiString cxTextEdit::LeftChars(const AnsiString& S, int ACount)
{
  int i = 1;
  for (int n = 0; n < ACount && i <= int(S.size()); ++n) i = System::NextCharIndex(S, i);
  return S.substr(0, size_t(std::min<int>(i - 1, int(S.size()))));
}

// ---- Assigned values

void TcxTextEditPropertiesValues::Assign(TPersistent* Source)
{
  TcxCustomEditPropertiesValues::Assign(Source);
  if (auto* s = dynamic_cast<TcxTextEditPropertiesValues*>(Source)) {
    DisplayFormat = s->DisplayFormat;
    MaxLength = s->MaxLength;
    MaxValue = s->MaxValue;
    MinValue = s->MinValue;
  }
}

void TcxTextEditPropertiesValues::RestoreDefaults()
{
  TcxCustomEditPropertiesValues::RestoreDefaults();
  DisplayFormat = MaxLength = MaxValue = MinValue = false;
}

// ---- Life

TcxCustomTextEditProperties::TcxCustomTextEditProperties(TPersistent* AOwner) : TcxCustomEditProperties(AOwner)
{
  CreateAssignedValues();
  FLookupItems = std::make_unique<TStringList>();
  FLookupItems->OnChange = [this](TObject*) { LookupItemsChanged(); };
  cxFormats::GetFormatController()->AddListener(this);
}

TcxCustomTextEditProperties::~TcxCustomTextEditProperties()
{
  if (TcxFormatController* c = cxFormats::FindFormatController()) c->RemoveListener(this);
  FLookupItems->OnChange = nullptr;
}

void TcxCustomTextEditProperties::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomTextEditProperties*>(Source);
  if (!s) {
    TcxCustomEditProperties::Assign(Source);
    return;
  }
  BeginUpdate();
  TScopeExit End([this] { EndUpdate(true); });
  TcxCustomEditProperties::Assign(Source);
  SetCharCase(s->GetCharCase());
  SetEchoMode(s->GetEchoMode());
  SetIncrementalSearch(s->GetIncrementalSearch());
  SetHideCursor(s->GetHideCursor());
  SetHideSelection(s->GetHideSelection());
  SetMaxLength(s->GetMaxLength());
  FValidChars = s->FValidChars;
  AssignedValues()->DisplayFormat = false;
  if (s->AssignedValues()->DisplayFormat) SetDisplayFormat(s->FDisplayFormat);
  AssignedValues()->MaxValue = false;
  if (s->AssignedValues()->MaxValue) SetMaxValue(s->FMaxValue);
  AssignedValues()->MinValue = false;
  if (s->AssignedValues()->MinValue) SetMinValue(s->FMinValue);
  SetOEMConvert(s->GetOEMConvert());
  FImmediateUpdateText = s->FImmediateUpdateText;
  FLookupItems->SetSorted(false);
  FLookupItems->Assign(s->FLookupItems.get());
  FLookupItems->SetSorted(s->FLookupItems->GetSorted());
  OnNewLookupDisplayText = s->OnNewLookupDisplayText;
}

// An assigned empty display format survives a save and load only through this marker.
void TcxCustomTextEditProperties::DefineProperties(TFiler* Filer)
{
  TcxCustomEditProperties::DefineProperties(Filer);
  Filer->DefineProperty(
      "IsDisplayFormatAssigned",
      [this](TReader* Reader) {
        AssignedValues()->DisplayFormat = Reader->ReadBoolean();
        Changed();
      },
      [](TWriter* Writer) { Writer->WriteBoolean(true); }, AssignedValues()->DisplayFormat && FDisplayFormat.empty());
}

// ---- Settings

void TcxCustomTextEditProperties::SetCharCase(TEditCharCase Value)
{
  if (Value == FCharCase) return;
  FCharCase = Value;
  Changed();
}

AnsiString TcxCustomTextEditProperties::GetDisplayFormat()
{
  if (AssignedValues()->DisplayFormat) return FDisplayFormat;
  if (IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider()) {
    AnsiString s = p->DefaultDisplayFormat();
    if (!s.empty()) return s;
  }
  AnsiString s;
  GetDefaultDisplayFormat(s);
  return s;
}

void TcxCustomTextEditProperties::SetDisplayFormat(const AnsiString& Value)
{
  if (AssignedValues()->DisplayFormat && Value == FDisplayFormat) return;
  AssignedValues()->DisplayFormat = true;
  FDisplayFormat = Value;
  Changed();
}

void TcxCustomTextEditProperties::SetEchoMode(TcxEditEchoMode Value)
{
  if (Value == FEchoMode) return;
  FEchoMode = Value;
  Changed();
}

void TcxCustomTextEditProperties::SetHideCursor(bool Value)
{
  if (Value == FHideCursor) return;
  FHideCursor = Value;
  Changed();
}

void TcxCustomTextEditProperties::SetHideSelection(bool Value)
{
  if (Value == FHideSelection) return;
  FHideSelection = Value;
  Changed();
}

void TcxCustomTextEditProperties::SetIncrementalSearch(bool Value)
{
  if (Value == FIncrementalSearch) return;
  FIncrementalSearch = Value;
  if (GetEditingStyle() == 2) Changed();
}

void TcxCustomTextEditProperties::SetLookupItems(TStringList* Value) { FLookupItems->Assign(Value); }

bool TcxCustomTextEditProperties::GetLookupItemsSorted() const { return FLookupItems->GetSorted(); }

void TcxCustomTextEditProperties::SetLookupItemsSorted(bool Value) { FLookupItems->SetSorted(Value); }

void TcxCustomTextEditProperties::LookupItemsChanged() { Changed(); }

int TcxCustomTextEditProperties::GetMaxLength()
{
  return AssignedValues()->MaxLength ? FMaxLength : GetDefaultMaxLength();
}

void TcxCustomTextEditProperties::SetMaxLength(int Value)
{
  if (Value < 0) Value = 0;
  if (AssignedValues()->MaxLength && Value == FMaxLength) return;
  AssignedValues()->MaxLength = true;
  FMaxLength = Value;
  Changed();
}

int TcxCustomTextEditProperties::GetDefaultMaxLength()
{
  IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider();
  return p ? p->DefaultMaxLength() : 0;
}

double TcxCustomTextEditProperties::GetMaxValue()
{
  if (AssignedValues()->MaxValue) return FMaxValue;
  IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider();
  return p ? p->DefaultMaxValue() : 0;
}

void TcxCustomTextEditProperties::SetMaxValue(double Value)
{
  if (AssignedValues()->MinValue && Value < FMinValue) Value = FMinValue;
  if (AssignedValues()->MaxValue && Value == FMaxValue) return;
  AssignedValues()->MaxValue = true;
  FMaxValue = Value;
  Changed();
}

double TcxCustomTextEditProperties::GetMinValue()
{
  if (AssignedValues()->MinValue) return FMinValue;
  IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider();
  return p ? p->DefaultMinValue() : 0;
}

void TcxCustomTextEditProperties::SetMinValue(double Value)
{
  if (AssignedValues()->MaxValue && Value > FMaxValue) Value = FMaxValue;
  if (AssignedValues()->MinValue && Value == FMinValue) return;
  AssignedValues()->MinValue = true;
  FMinValue = Value;
  Changed();
}

void TcxCustomTextEditProperties::SetOEMConvert(bool Value)
{
  if (Value == FOEMConvert) return;
  FOEMConvert = Value;
  Changed();
}

void TcxCustomTextEditProperties::AlignmentChanged()
{
  BeginUpdate();
  TScopeExit End([this] { EndUpdate(true); });
  TcxCustomEditProperties::AlignmentChanged();
}

void TcxCustomTextEditProperties::SetAlignment(TcxEditAlignment* Value)
{
  BeginUpdate();
  TScopeExit End([this] { EndUpdate(true); });
  TcxCustomEditProperties::SetAlignment(Value);
}

void TcxCustomTextEditProperties::FormatChanged()
{
  TValueGuard changing(FFormatChanging, true);
  Changed();
}

// ---- Values and texts

void TcxCustomTextEditProperties::ClampToBounds(const Variant& AValue, Variant& AResult)
{
  AResult = AValue;
  if (!Variants::VarIsNumeric(AValue)) return;
  const double max = GetMaxValue(), min = GetMinValue();
  if (max <= min) return;
  const double v = AValue.AsDouble();
  if (v < min)
    AResult = Variant(min);
  else if (v > max)
    AResult = Variant(max);
}

void TcxCustomTextEditProperties::EditValueToDisplayValue(const Variant& AEditValue, bool AEditFocused,
                                                          Variant& DisplayValue)
{
  Variant v = AEditValue;
  if (IsEditValueValid(v, AEditFocused)) {
    PrepareDisplayValue(AEditValue, DisplayValue, AEditFocused);
  } else if (Variants::VarType(AEditValue) == varDate) {
    DisplayValue = Variant(SysUtils::DateTimeToStr(Variants::VarToDateTime(AEditValue)));
  } else {
    DisplayValue = Variant(Variants::VarToStr(AEditValue));
  }
}

void TcxCustomTextEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                                                      bool AEditFocused)
{
  if (!IsEditValueNumeric()) {
    DisplayValue = Variant(Variants::VarToStr(AEditValue));
    return;
  }
  if (AEditValue.IsNull() || AEditValue.IsEmpty() ||
      (Variants::VarIsStr(AEditValue) && Variants::VarToStr(AEditValue).empty())) {
    DisplayValue = Variant(AnsiString());
    return;
  }
  if (!Variants::VarIsNumeric(AEditValue) && !Variants::VarIsStr(AEditValue))
    throw EConvertError(cxResourceStrings::GetResourceString(cxEditConsts::sNumericConvertError));
  const double x = Variants::VarAsType(AEditValue, varDouble).AsDouble();
  IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider();
  if (!AEditFocused) {
    DisplayValue = Variant(SysUtils::FormatFloat(GetDisplayFormat(), x));
    return;
  }
  AnsiString format;
  if (!p || !p->IsOnGetTextAssigned()) {
    if (AssignedValues()->DisplayFormat)
      format = FDisplayFormat;
    else if (p)
      format = p->DefaultDisplayFormat();
  }
  const int precision = p ? p->DefaultPrecision() : 15;
  if (!format.empty())
    DisplayValue = Variant(SysUtils::FormatFloat(format, x));
  else if (p && p->IsDisplayFormatDefined(true))
    DisplayValue = Variant(SysUtils::FloatToStrF(x, SysUtils::ffFixed, precision, SysUtils::CurrencyDecimals));
  else
    DisplayValue = Variant(SysUtils::FloatToStrF(x, SysUtils::ffGeneral, precision, 0));
}

WideString TcxCustomTextEditProperties::GetDisplayText(const Variant& AEditValue, bool)
{
  Variant display;
  AnsiString text;
  try {
    if (UseProviderDisplayFormat())
      display = Variant(Variants::VarToStr(AEditValue));
    else
      EditValueToDisplayValue(AEditValue, false, display);
    text = Variants::VarToStr(display);
  } catch (...) {
    // The display text conversion still runs on what could be shown.
    DisplayValueToDisplayText(text);
    throw;
  }
  DisplayValueToDisplayText(text);
  return System::AnsiToWide(text);
}

void TcxCustomTextEditProperties::DisplayValueToDisplayText(AnsiString& AText)
{
  if (FEchoMode == eemPassword)
    AText = System::StringOfChar('*', int(AText.size()));
  else
    AText = cxTextEdit::ApplyCharCase(AText, FCharCase);
}

bool TcxCustomTextEditProperties::CompareDisplayValues(const Variant& AEditValue1,
                                                       TcxCustomEditProperties* AProperties2,
                                                       const Variant& AEditValue2)
{
  auto* p2 = dynamic_cast<TcxCustomTextEditProperties*>(AProperties2);
  if (!p2) return false;
  return GetDisplayText(AEditValue1, true) == p2->GetDisplayText(AEditValue2, true);
}

TcxEditSupportedOperations TcxCustomTextEditProperties::GetSupportedOperations()
{
  return GetButtons()->GetCount() > 0 ? 190u : 174u;
}

bool TcxCustomTextEditProperties::IsEditValueValid(Variant& AEditValue, bool AEditFocused)
{
  if (AEditValue.IsNull() || !Variants::VarIsStr(AEditValue)) return true;
  return IsDisplayValueValid(AEditValue, AEditFocused);
}

bool TcxCustomTextEditProperties::IsDisplayValueValid(Variant& DisplayValue, bool)
{
  AnsiString s = Variants::VarToStr(DisplayValue);
  if (s.empty()) return true;
  const int style = GetEditingStyle();
  if ((style == 1 || style == 2) && UseLookupData() && !FindLookupText(s)) return false;
  DisplayValue = Variant(cxTextEdit::ApplyCharCase(s, FCharCase));
  return true;
}

bool TcxCustomTextEditProperties::FindLookupText(const AnsiString& AText)
{
  for (int i = 0; i < FLookupItems->GetCount(); ++i)
    if (SysUtils::AnsiSameText(FLookupItems->GetStrings(i), AText)) return true;
  return false;
}

void TcxCustomTextEditProperties::GetValidateErrorText(int AErrorKind, AnsiString& AText)
{
  if (AErrorKind == 1)
    AText = cxResourceStrings::GetResourceString(cxEditConsts::sValueOutOfBounds);
  else
    TcxCustomEditProperties::GetValidateErrorText(AErrorKind, AText);
}

void TcxCustomTextEditProperties::ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error,
                                                       TcxCustomEdit* AEdit)
{
  if (IsEditValueNumeric() && GetMaxValue() > GetMinValue()) ValidateBounds(DisplayValue, ErrorText, AEdit, Error);
  TcxCustomEditProperties::ValidateDisplayValue(DisplayValue, ErrorText, Error, AEdit);
}

void TcxCustomTextEditProperties::ValidateBounds(Variant& DisplayValue, AnsiString& ErrorText, TcxCustomEdit* AEdit,
                                                 bool& Error)
{
  if (!AEdit) return;
  Variant v;
  AEdit->DisplayValueToEditValue(DisplayValue, v, AEdit->HasEditFocus());
  if (!Variants::VarIsNumeric(v) && Variants::VarType(v) != varDate) return;
  const double x = v.AsDouble();
  if (x < GetMinValue() || x > GetMaxValue()) {
    Error = true;
    GetValidateErrorText(1, ErrorText);
  }
}

void TcxCustomTextEditProperties::DoNewLookupDisplayText(TObject* Sender, const AnsiString& AText)
{
  if (OnNewLookupDisplayText) OnNewLookupDisplayText(Sender, AText);
}

// ---- Partner classes

TClass TcxCustomTextEditProperties::GetViewDataClass() const { return TcxCustomTextEditViewData::StaticClass(); }
TClass TcxCustomTextEditProperties::GetViewInfoClass() const { return TcxCustomTextEditViewInfo::StaticClass(); }
TcxCustomEditViewData* TcxCustomTextEditProperties::CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace)
{
  return new TcxCustomTextEditViewData(this, AStyle, AIsInplace);
}

TClass TcxCustomTextEditProperties::GetContainerClass() const { return TcxTextEdit::StaticClass(); }
TClass TcxCustomTextEditProperties::GetLookupDataClass() const { return TcxCustomTextEditLookupData::StaticClass(); }

// ---- Published lists

namespace {

const TTypeInfo* TypeInfo_NewLookupDisplayTextEvent()
{
  static const TTypeInfo* type = TypInfo::MakeSimpleType("TcxNewLookupDisplayTextEvent", tkMethod);
  return type;
}

}  // namespace

void TcxTextEditProperties::Published(TPublisher<ThisClass>& p)
{
  p.Property("CharCase", &ThisClass::GetCharCase, &ThisClass::SetCharCase).Default(ecNormal);
  p.Property("EchoMode", &ThisClass::GetEchoMode, &ThisClass::SetEchoMode).Default(eemNormal);
  p.Property("HideSelection", &ThisClass::GetHideSelection, &ThisClass::SetHideSelection).Default(true);
  p.Property("LookupItems", &ThisClass::GetLookupItems, &ThisClass::SetLookupItems);
  p.Property("LookupItemsSorted", &ThisClass::GetLookupItemsSorted, &ThisClass::SetLookupItemsSorted).Default(false);
  p.Property("MaxLength", &ThisClass::GetMaxLength, &ThisClass::SetMaxLength).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsMaxLengthStored();
  }));
  p.Property("OEMConvert", &ThisClass::GetOEMConvert, &ThisClass::SetOEMConvert).Default(false);
  p.Property("OnNewLookupDisplayText", TypeInfo_NewLookupDisplayTextEvent(), &ThisClass::OnNewLookupDisplayText,
             &ThisClass::OnNewLookupDisplayText);
}

PELTO_DEFINE_CLASS(TcxTextEditPropertiesValues)

PELTO_DEFINE_CLASS(TcxCustomTextEditProperties)

PELTO_DEFINE_CLASS(TcxTextEditProperties)
