#include "controls/editors/edit/cxEditStyle.h"

#include "controls/editors/edit/cxEdit.h"
#include "platform/rtl/Guards.h"

namespace {

const char* const EditStyleValueNames[] = {"ButtonStyle", "ButtonTransparency", "PopupBorderStyle"};

}  // namespace

TcxCustomEditStyle::TcxCustomEditStyle(TPersistent* AOwner, bool AIsReference) : TcxContainerStyle(AOwner, AIsReference)
{}

void TcxCustomEditStyle::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomEditStyle*>(Source);
  if (!s) {
    TcxContainerStyle::Assign(Source);
    return;
  }
  {
    TUpdateGuard Lock(*this);
    FButtonStyle = s->FButtonStyle;
    FButtonTransparency = s->FButtonTransparency;
    FPopupBorderStyle = s->FPopupBorderStyle;
    FEditAssigned = s->FEditAssigned;
    FPopupCloseButton = s->FPopupCloseButton;
    TcxContainerStyle::Assign(Source);
  }
  Changed();
}

const TcxCustomEditStyle* TcxCustomEditStyle::AssigningEditStyle(int AValue) const
{
  const TcxContainerStyle* style = this;
  for (int depth = 0; style && depth < 64; ++depth) {
    auto* edit = dynamic_cast<const TcxCustomEditStyle*>(style);
    if (edit && edit->IsOwnBitAssigned(AValue)) return edit;
    TcxStyleController* c = style->GetStyleController();
    style = c ? c->GetStyle() : nullptr;
  }
  return nullptr;
}

TcxEditButtonStyle TcxCustomEditStyle::GetButtonStyle() const
{
  if (IsReference()) return IsOwnBitAssigned(svButtonStyle) ? FButtonStyle : GetDefaultButtonStyle();
  const TcxCustomEditStyle* s = AssigningEditStyle(svButtonStyle);
  return s ? s->FButtonStyle : GetDefaultButtonStyle();
}

TcxEditButtonTransparency TcxCustomEditStyle::GetButtonTransparency() const
{
  if (IsReference())
    return IsOwnBitAssigned(svButtonTransparency) ? FButtonTransparency : GetDefaultButtonTransparency();
  const TcxCustomEditStyle* s = AssigningEditStyle(svButtonTransparency);
  return s ? s->FButtonTransparency : GetDefaultButtonTransparency();
}

TcxEditPopupBorderStyle TcxCustomEditStyle::GetPopupBorderStyle() const
{
  if (IsReference()) return IsOwnBitAssigned(svPopupBorderStyle) ? FPopupBorderStyle : GetDefaultPopupBorderStyle();
  const TcxCustomEditStyle* s = AssigningEditStyle(svPopupBorderStyle);
  return s ? s->FPopupBorderStyle : GetDefaultPopupBorderStyle();
}

void TcxCustomEditStyle::SetEditValue(int AValue, bool Equal, int Store)
{
  if (IsOwnBitAssigned(AValue) && Equal) return;
  switch (AValue) {
    case svButtonStyle: FButtonStyle = TcxEditButtonStyle(Store); break;
    case svButtonTransparency: FButtonTransparency = TcxEditButtonTransparency(Store); break;
    default: FPopupBorderStyle = TcxEditPopupBorderStyle(Store); break;
  }
  FEditAssigned |= 1u << (AValue - 8);
  Changed();
}

void TcxCustomEditStyle::SetButtonStyle(TcxEditButtonStyle Value)
{
  SetEditValue(svButtonStyle, FButtonStyle == Value, Value);
}

void TcxCustomEditStyle::SetButtonTransparency(TcxEditButtonTransparency Value)
{
  SetEditValue(svButtonTransparency, FButtonTransparency == Value, Value);
}

void TcxCustomEditStyle::SetPopupBorderStyle(TcxEditPopupBorderStyle Value)
{
  SetEditValue(svPopupBorderStyle, FPopupBorderStyle == Value, Value);
}

void TcxCustomEditStyle::SetPopupCloseButton(bool Value)
{
  if (Value == FPopupCloseButton) return;
  FPopupCloseButton = Value;
  Changed();
}

unsigned TcxCustomEditStyle::GetEditAssignedValues() const
{
  return unsigned(GetAssignedValues().Mask()) | (FEditAssigned << 8);
}

void TcxCustomEditStyle::SetEditAssignedValues(unsigned Value)
{
  TUpdateGuard Lock(*this);
  const unsigned edit = (Value >> 8) & 7u;
  if (edit != FEditAssigned) {
    FEditAssigned = edit;
    Changed();
  }
  SetAssignedValues(TcxContainerStyleValues::FromMask(Value & 0xFFu));
}

bool TcxCustomEditStyle::IsValueAssigned(int AValue) const
{
  if (AValue >= svButtonStyle && AValue <= svPopupBorderStyle) return AssigningEditStyle(AValue) != nullptr;
  return TcxContainerStyle::IsValueAssigned(AValue);
}

bool TcxCustomEditStyle::GetStyleValueName(int AValue, AnsiString& Name) const
{
  if (AValue < svButtonStyle) return TcxContainerStyle::GetStyleValueName(AValue, Name);
  if (AValue > svPopupBorderStyle) {
    Name.clear();
    return false;
  }
  Name = EditStyleValueNames[AValue - svButtonStyle];
  return true;
}

TColor TcxCustomEditStyle::GetEffectiveColor() const
{
  if (IsReference()) return GetColor();
  if (IsValueAssigned(svColor)) return GetColor();
  auto* edit = dynamic_cast<TcxCustomEdit*>(const_cast<TcxCustomEditStyle*>(this)->GetOwner());
  if (edit && !edit->IsInplace() && edit->GetParentColor() && edit->GetParent()) return edit->GetParent()->GetColor();
  return GetDefaultColor();
}

void TcxCustomEditStyle::RestoreDefaults()
{
  TUpdateGuard Lock(*this);
  if (FEditAssigned) {
    FEditAssigned = 0;
    Changed();
  }
  TcxContainerStyle::RestoreDefaults();
}

bool TcxCustomEditStyle::IsEditValueStored(int AValue) const
{
  if (!IsOwnBitAssigned(AValue)) return false;
  auto* owner = dynamic_cast<IcxContainerStyleOwner*>(const_cast<TcxCustomEditStyle*>(this)->GetOwner());
  return !owner || !(owner->GetNotStoredStyleValues().Mask() & (std::uint64_t(1) << AValue));
}

// ---- TcxEditStyleController

TcxEditStyleController::TcxEditStyleController(TComponent* AOwner) : TcxStyleController(AOwner) { RecreateStyle(); }

PELTO_DEFINE_CLASS(TcxCustomEditStyle)

PELTO_DEFINE_CLASS(TcxEditStyle)
PELTO_PUBLISH(TcxEditStyle, p)
{
  p.Property("ButtonStyle", &ThisClass::GetButtonStyle, &ThisClass::SetButtonStyle)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsEditValueStored(svButtonStyle); }));
  p.Property("ButtonTransparency", &ThisClass::GetButtonTransparency, &ThisClass::SetButtonTransparency)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsEditValueStored(svButtonTransparency); }));
  p.Property("PopupBorderStyle", &ThisClass::GetPopupBorderStyle, &ThisClass::SetPopupBorderStyle)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsEditValueStored(svPopupBorderStyle); }));
}

PELTO_DEFINE_CLASS(TcxEditStyleController)
