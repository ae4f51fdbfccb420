// Sections: provider -> assigned values and alignment -> properties (life, settings, change
// reporting, validation) -> unit globals.
#include "controls/editors/edit/cxEditProperties.h"

#include <algorithm>
#include <vector>

#include "controls/data/storage/cxVariants.h"
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/edit/cxEditRepository.h"
#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/edit/cxEditViewData.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/framework/cxContainerStyle.h"
#include "platform/rtl/Guards.h"

namespace {

// Every living properties object; lives for the run so that late destructors find it.
std::vector<TcxCustomEditProperties*>& PropertiesList()
{
  static auto* list = new std::vector<TcxCustomEditProperties*>;
  return *list;
}

std::unique_ptr<TcxRegisteredClasses>& RegisteredProperties()
{
  static std::unique_ptr<TcxRegisteredClasses> p;
  return p;
}

std::unique_ptr<TcxEditRepository>& DefaultRepository()
{
  static std::unique_ptr<TcxEditRepository> p;
  return p;
}

}  // namespace

// ---- Provider

TcxCustomEditDefaultValuesProvider::~TcxCustomEditDefaultValuesProvider() { ClearUsages(); }

void TcxCustomEditDefaultValuesProvider::Changed()
{
  if (OnChanged) OnChanged(this);
}

void TcxCustomEditDefaultValuesProvider::ClearUsages()
{
  for (TcxCustomEditProperties* p : PropertiesList())
    if (p->GetDefaultValuesProvider() == static_cast<IcxEditDefaultValuesProvider*>(this))
      p->SetDefaultValuesProvider(nullptr);
}

// ---- Assigned values and alignment

void TcxCustomEditPropertiesValues::Assign(TPersistent* Source)
{
  if (auto* s = dynamic_cast<TcxCustomEditPropertiesValues*>(Source)) {
    ReadOnly = s->ReadOnly;
    return;
  }
  TPersistent::Assign(Source);
}

void TcxEditAlignment::DoChanged()
{
  if (OnChanged) OnChanged(this);
}

void TcxEditAlignment::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxEditAlignment*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FVert = s->FVert;
  FHorz = s->FHorz;
  FIsHorzAssigned = s->FIsHorzAssigned;
  DoChanged();
}

void TcxEditAlignment::SetHorz(TAlignment Value)
{
  if (FIsHorzAssigned && FHorz == Value) return;
  FHorz = Value;
  FIsHorzAssigned = true;
  DoChanged();
}

void TcxEditAlignment::SetVert(TcxEditVertAlignment Value)
{
  if (FVert == Value) return;
  FVert = Value;
  DoChanged();
}

void TcxEditAlignment::ResetHorz()
{
  FIsHorzAssigned = false;
  DoChanged();
}

// ---- Properties: life

TcxCustomEditProperties::TcxCustomEditProperties(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner)
{
  PropertiesList().push_back(this);
  FFreeNotificator = std::make_unique<TcxFreeNotificator>(nullptr);
  FFreeNotificator->OnComponentFreed = [this](TComponent* C) { FreeNotification(C); };
  FWorkAlignment = std::make_unique<TcxEditAlignment>(this);
  FWorkAlignment->OnChanged = [this](TObject*) { AlignmentChanged(); };
  CreateAssignedValues();
  FButtons = std::make_unique<TcxEditButtons>(this);
  FButtons->OnChange = [this](TObject*) { ButtonsChanged(); };
  FAlignment = std::make_unique<TcxEditAlignment>(this);
  FUseLeftAlignmentOnEditing = DefaultUseLeftAlignmentOnEditing();
}

TcxCustomEditProperties::~TcxCustomEditProperties()
{
  FIDefaultValuesProvider = nullptr;
  OnPropertiesChanged = nullptr;
  FButtons->OnChange = nullptr;
  FButtons.reset();
  FAlignment.reset();
  FAssignedValues.reset();
  FWorkAlignment.reset();
  FFreeNotificator.reset();
  auto& list = PropertiesList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TcxCustomEditProperties::CreateAssignedValues()
{
  TObject* o = GetAssignedValuesClass()->Create(nullptr);
  FAssignedValues.reset(static_cast<TcxCustomEditPropertiesValues*>(o));
}

// ---- Settings

void TcxCustomEditProperties::SetAutoSelect(bool Value)
{
  if (Value == FAutoSelect) return;
  FAutoSelect = Value;
  Changed();
}

void TcxCustomEditProperties::SetUseLeftAlignmentOnEditing(bool Value)
{
  if (Value == FUseLeftAlignmentOnEditing) return;
  FUseLeftAlignmentOnEditing = Value;
  Changed();
}

TcxEditAlignment* TcxCustomEditProperties::GetAlignment()
{
  FWorkAlignment->OnChanged = nullptr;
  FWorkAlignment->Assign(FAlignment.get());
  TComponent* c = cxEdit::GetFirstComponent(this);
  const bool writing = c && c->GetComponentState().Contains(csWriting);
  if (!(FAlignment->IsStored() && writing) && !FWorkAlignment->IsHorzAssigned()) {
    // Keeps Horz unassigned: only the shown value follows the default.
    const TAlignment def = GetDefaultHorzAlignment();
    FWorkAlignment->SetHorz(def);
    FWorkAlignment->ResetHorz();
  }
  FWorkAlignment->OnChanged = [this](TObject*) { AlignmentChanged(); };
  return FWorkAlignment.get();
}

void TcxCustomEditProperties::SetAlignment(TcxEditAlignment* Value)
{
  FAlignment->Assign(Value);
  Changed();
}

void TcxCustomEditProperties::AlignmentChanged()
{
  FAlignment->Assign(FWorkAlignment.get());
  Changed();
}

TAlignment TcxCustomEditProperties::GetDefaultHorzAlignment()
{
  if (FIDefaultValuesProvider) return FIDefaultValuesProvider->DefaultAlignment();
  return FWorkAlignment->GetHorz();
}

bool TcxCustomEditProperties::GetReadOnly() const
{
  if (FAssignedValues->ReadOnly) return FReadOnly;
  if (FIDefaultValuesProvider) return FIDefaultValuesProvider->DefaultReadOnly();
  return false;
}

void TcxCustomEditProperties::SetReadOnly(bool Value)
{
  if (FAssignedValues->ReadOnly && FReadOnly == Value) return;
  FAssignedValues->ReadOnly = true;
  FReadOnly = Value;
  Changed();
}

bool TcxCustomEditProperties::IsReadOnlyStored() const { return FAssignedValues->ReadOnly; }

bool TcxCustomEditProperties::CanModify() const
{
  if (FAssignedValues->ReadOnly && !FReadOnly) return true;
  if (!GetReadOnly() && FIDefaultValuesProvider) return FIDefaultValuesProvider->CanModify();
  return !GetReadOnly();
}

void TcxCustomEditProperties::SetDefaultValuesProvider(IcxEditDefaultValuesProvider* AProvider)
{
  FIDefaultValuesProvider = AProvider;
  if (!dynamic_cast<TcxCustomEdit*>(GetOwner())) return;
  if (AProvider) {
    AProvider->SetOnChanged([this](TObject*) { Changed(); });
    AProvider->GetInstance();
  }
  Changed();
}

void TcxCustomEditProperties::EndUpdate(bool AInvokeChanged)
{
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0 && AInvokeChanged) Changed();
}

bool TcxCustomEditProperties::UseProviderDisplayFormat()
{
  const TcxEditDisplayFormatOptions o = GetDisplayFormatOptions();
  return (o & (1u << dfoSupports)) && !UsesDataDisplayText(true) && UsesDataDisplayText(false) &&
         FIDefaultValuesProvider && FIDefaultValuesProvider->IsDisplayFormatDefined(!(o & (1u << dfoNoCurrencyValue)));
}

bool TcxCustomEditProperties::IsValueFormattedByProvider(bool AEditFocused)
{
  const TcxEditDisplayFormatOptions o = GetDisplayFormatOptions();
  if (AEditFocused || !(o & (1u << dfoSupports)) || !FIDefaultValuesProvider) return false;
  return FIDefaultValuesProvider->IsDisplayFormatDefined(!(o & (1u << dfoNoCurrencyValue)));
}

TcxEditSupportedOperations TcxCustomEditProperties::GetSupportedOperations()
{
  return FButtons->GetCount() > 0 ? (1u << esoHotTrack) : 0;
}

void TcxCustomEditProperties::ButtonsChanged() { Changed(); }

void TcxCustomEditProperties::RestoreDefaults()
{
  FAlignment->ResetHorz();
  FAssignedValues->RestoreDefaults();
  Changed();
}

// ---- Change reporting

bool TcxCustomEditProperties::IsChangeSuppressed()
{
  if (FChangedLocked || FUpdateCount > 0) return true;
  auto* c = dynamic_cast<TComponent*>(GetOwner());
  return c && c->GetComponentState().Contains(csDestroying);
}

void TcxCustomEditProperties::Changed()
{
  if (IsChangeSuppressed()) return;
  if (OnPropertiesChanged) OnPropertiesChanged(this);
}

void TcxCustomEditProperties::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomEditProperties*>(Source);
  if (!s) {
    TcxInterfacedPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  TScopeExit End([this] { EndUpdate(true); });
  SetAutoSelect(s->GetAutoSelect());
  FButtons->Assign(s->GetButtons());
  FBeepOnError = s->FBeepOnError;
  FClearKey = s->FClearKey;
  FClickKey = s->FClickKey;
  FUseLeftAlignmentOnEditing = s->FUseLeftAlignmentOnEditing;
  FIDefaultValuesProvider = s->FIDefaultValuesProvider;
  SetAlignment(s->GetAlignment());
  FAssignedValues->ReadOnly = false;
  if (s->FAssignedValues->ReadOnly) SetReadOnly(s->GetReadOnly());
  FImmediatePost = s->FImmediatePost;
  FMouseWheelInplace = s->FMouseWheelInplace;
  FValidateOnEnter = s->FValidateOnEnter;
  OnButtonClick = s->OnButtonClick;
  OnChange = s->OnChange;
  OnEditValueChanged = s->OnEditValueChanged;
  OnValidate = s->OnValidate;
}

// ---- Partners

TClass TcxCustomEditProperties::GetViewDataClass() const { return TcxCustomEditViewData::StaticClass(); }
TClass TcxCustomEditProperties::GetContainerClass() const { return TcxCustomEdit::StaticClass(); }
TClass TcxCustomEditProperties::GetStyleClass() const { return TcxCustomEditStyle::StaticClass(); }
TClass TcxCustomEditProperties::GetViewInfoClass() const { return TcxCustomEditViewInfo::StaticClass(); }

TcxCustomEditViewData* TcxCustomEditProperties::CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace)
{
  return new TcxCustomEditViewData(this, AStyle, AIsInplace);
}

TcxCustomEditViewInfo* TcxCustomEditProperties::CreateViewInfo() const
{
  return static_cast<TcxCustomEditViewInfo*>(GetViewInfoClass()->Create(nullptr));
}

void TcxCustomEditProperties::CalculateEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AStyle, bool AIsInplace,
                                                const Variant& AEditValue, TcxEditSizeProperties& AEditSizeProperties,
                                                SIZE& ASize)
{
  std::unique_ptr<TcxCustomEditViewData> vd(CreateViewData(AStyle, AIsInplace));
  vd->CalculateEditSize(ACanvas, AEditValue, AEditSizeProperties, ASize);
}

// ---- Validation

void TcxCustomEditProperties::GetValidateErrorText(int, AnsiString& AText)
{
  AText = cxResourceStrings::GetResourceString(cxEditConsts::sInvalidInputValue);
}

void TcxCustomEditProperties::ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error,
                                                   TcxCustomEdit* AEdit)
{
  if (!CanValidate()) return;
  if (ErrorText.empty()) GetValidateErrorText(0, ErrorText);
  bool changed = false;
  DoValidate(DisplayValue, ErrorText, Error, AEdit, changed);
}

void TcxCustomEditProperties::DoValidate(Variant& DisplayValue, AnsiString& ErrorText, bool& Error,
                                         TcxCustomEdit* AEdit, bool& AChangedByHandler)
{
  AChangedByHandler = false;
  if (!OnValidate) return;
  const Variant kept = DisplayValue;
  OnValidate(AEdit, DisplayValue, ErrorText, Error);
  if (!Error) return;
  if (Variants::VarToStr(DisplayValue) != Variants::VarToStr(kept))
    AChangedByHandler = true;
  else if (AEdit)
    DisplayValue = Variant(AEdit->GetDisplayValueText());
}

// ---- Unit globals

int cxEdit::GetEditPropertiesCount() { return int(PropertiesList().size()); }

TcxCustomEditProperties* cxEdit::GetEditProperties(int Index) { return PropertiesList().at(Index); }

TcxRegisteredClasses* cxEdit::GetRegisteredEditProperties()
{
  if (!RegisteredProperties()) RegisteredProperties() = std::make_unique<TcxRegisteredClasses>(false);
  return RegisteredProperties().get();
}

TcxEditRepository* cxEdit::GetDefaultEditRepository()
{
  if (!DefaultRepository()) DefaultRepository() = std::make_unique<TcxEditRepository>(nullptr);
  return DefaultRepository().get();
}

bool cxEdit::VarEqualsExact(const Variant& V1, const Variant& V2)
{
  return V1.VarType() == V2.VarType() && cxVariants::VarEqualsBooleanAsText(V1, V2);
}

void cxEdit::Finalize()
{
  DefaultRepository().reset();
  RegisteredProperties().reset();
}

PELTO_DEFINE_CLASS(TcxCustomEditDefaultValuesProvider)

PELTO_DEFINE_CLASS(TcxCustomEditPropertiesValues)

PELTO_DEFINE_CLASS(TcxEditAlignment)
PELTO_PUBLISH(TcxEditAlignment, p)
{
  p.Property("Horz", &ThisClass::GetHorz, &ThisClass::SetHorz).StoredWhen(p.When([](const ThisClass* a) {
    return a->FIsHorzAssigned;
  }));
  p.Property("Vert", &ThisClass::GetVert, &ThisClass::SetVert).Default(taTopJustify);
}

PELTO_DEFINE_CLASS(TcxCustomEditProperties)
PELTO_PUBLISH(TcxCustomEditProperties, p)
{
  p.Property("Alignment", &ThisClass::GetAlignment, &ThisClass::SetAlignment).StoredWhen(p.When([](const ThisClass* s) {
    return s->FAlignment->IsStored();
  }));
  p.Property("AutoSelect", &ThisClass::GetAutoSelect, &ThisClass::SetAutoSelect).Default(true);
  p.Property("BeepOnError", &ThisClass::GetBeepOnError, &ThisClass::SetBeepOnError).Default(false);
  p.Property("Buttons", &ThisClass::GetButtons, &ThisClass::SetButtons);
  p.Property("ClearKey", &ThisClass::GetClearKey, &ThisClass::SetClearKey).Default(TShortCut(0));
  p.Property("ClickKey", &ThisClass::GetClickKey, &ThisClass::SetClickKey).Default(TShortCut(16397));
  p.Property("ImmediatePost", &ThisClass::GetImmediatePost, &ThisClass::SetImmediatePost).Default(false);
  p.Property("ReadOnly", &ThisClass::GetReadOnly, &ThisClass::SetReadOnly).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsReadOnlyStored();
  }));
  p.Property("UseLeftAlignmentOnEditing", &ThisClass::GetUseLeftAlignmentOnEditing,
             &ThisClass::SetUseLeftAlignmentOnEditing)
      .StoredWhen(p.When([](const ThisClass* s) {
        return s->FUseLeftAlignmentOnEditing != const_cast<ThisClass*>(s)->DefaultUseLeftAlignmentOnEditing();
      }));
  p.Property("ValidateOnEnter", &ThisClass::GetValidateOnEnter, &ThisClass::SetValidateOnEnter).Default(false);
}
