#include "controls/framework/cxContainerStyle.h"

#include <algorithm>

#include "controls/framework/cxLookAndFeels.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Guards.h"

namespace {

const char* const StyleValueNames[] = {"BorderColor", "BorderStyle", "Color",  "Edges",
                                       "Font",        "HotTrack",    "Shadow", "TransparentBorder"};

}  // namespace

// ---- TcxContainerStyle

TcxContainerStyle::TcxContainerStyle(TPersistent* AOwner, bool AIsReference)
    : FOwner(AOwner), FIsReference(AIsReference)
{
  if (FIsReference) {
    FAssignedValues = TcxContainerStyleValues{svColor, svFont};
  } else {
    FOwnFont = std::make_unique<TFont>();
    FOwnFont->OnChange = [this](TObject*) { FontChanged(); };
  }
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { Changed(); };
  SetStyleController(nullptr);
}

TcxContainerStyle::~TcxContainerStyle()
{
  FDestroying = true;
  if (FStyleController) FStyleController->RemoveListener(this);
}

IcxContainerStyleOwner* TcxContainerStyle::ContainerOwner() const
{
  return dynamic_cast<IcxContainerStyleOwner*>(FOwner);
}

void TcxContainerStyle::Changed()
{
  if (FUpdateCount > 0) {
    FChangePending = true;
    return;
  }
  FChangePending = false;
  if (!FIsReference && !FDestroying && OnChanged) OnChanged(this);
}

void TcxContainerStyle::EndUpdate()
{
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FChangePending) Changed();
}

// ---- Assigned values and the controller chain

const TcxContainerStyle* TcxContainerStyle::AssigningStyle(TcxContainerStyleValue Value) const
{
  // The chain is kept free of cycles by SetStyleController; the bound guards what a stream
  // might still build.
  const TcxContainerStyle* style = this;
  for (int depth = 0; style && depth < 64; ++depth) {
    if (style->GetAssignedValues().Contains(Value)) return style;
    style = style->FStyleController ? style->FStyleController->GetStyle() : nullptr;
  }
  return nullptr;
}

bool TcxContainerStyle::IsValueAssigned(int Index) const
{
  if (Index < 0 || Index > int(svShadow)) return false;
  return AssigningStyle(TcxContainerStyleValue(Index)) != nullptr;
}

TcxContainerStyleValues TcxContainerStyle::GetAssignedValues() const
{
  if (!FIsReference) return FAssignedValues;
  TcxContainerStyleValues all;
  for (int i = 0; i < std::min(GetStyleValueCount(), 64); ++i) all.Include(TcxContainerStyleValue(i));
  return all;
}

void TcxContainerStyle::SetAssignedValues(TcxContainerStyleValues Value)
{
  if (Value == FAssignedValues) return;
  FAssignedValues = Value;
  UpdateFont();
  Changed();
}

bool TcxContainerStyle::IsStored(TcxContainerStyleValue Value) const
{
  if (!FAssignedValues.Contains(Value)) return false;
  IcxContainerStyleOwner* owner = ContainerOwner();
  return !owner || !owner->GetNotStoredStyleValues().Contains(Value);
}

void TcxContainerStyle::SetValue(TcxContainerStyleValue Value, bool Equal, const std::function<void()>& Store)
{
  if (FAssignedValues.Contains(Value) && Equal) return;
  Store();
  FAssignedValues.Include(Value);
  Changed();
}

TColor TcxContainerStyle::GetBorderColor() const
{
  if (FIsReference) return clDefault;
  const TcxContainerStyle* s = AssigningStyle(svBorderColor);
  return s ? s->FBorderColor : GetDefaultBorderColor();
}

void TcxContainerStyle::SetBorderColor(TColor Value)
{
  SetValue(svBorderColor, FBorderColor == Value, [&] { FBorderColor = Value; });
}

TcxContainerBorderStyle TcxContainerStyle::GetBorderStyle() const
{
  if (FIsReference) return FAssignedValues.Contains(svBorderStyle) ? FBorderStyle : GetDefaultBorderStyle();
  const TcxContainerStyle* s = AssigningStyle(svBorderStyle);
  return s ? s->FBorderStyle : GetDefaultBorderStyle();
}

void TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle Value)
{
  SetValue(svBorderStyle, FBorderStyle == Value, [&] { FBorderStyle = Value; });
}

TcxContainerBorderStyle TcxContainerStyle::GetDefaultBorderStyle() const
{
  switch (FLookAndFeel->GetKind()) {
    case lfFlat: return cbsFlat;
    case lfStandard: return cbs3D;
    default: return cbsUltraFlat;
  }
}

TColor TcxContainerStyle::DoGetColor() const
{
  if (FIsReference) return FColor;
  TColor parent;
  if (IcxContainerStyleOwner* owner = ContainerOwner(); owner && owner->GetParentColorFor(parent)) return parent;
  const TcxContainerStyle* s = AssigningStyle(svColor);
  return s ? s->FColor : GetDefaultColor();
}

TColor TcxContainerStyle::GetEffectiveColor() const
{
  if (FIsReference) return FColor;
  if (const TcxContainerStyle* s = AssigningStyle(svColor)) return s->FColor;
  TColor parent;
  if (IcxContainerStyleOwner* owner = ContainerOwner(); owner && owner->GetParentColorFor(parent)) return parent;
  return GetDefaultColor();
}

void TcxContainerStyle::SetColor(TColor Value)
{
  SetValue(svColor, FColor == Value, [&] { FColor = Value; });
}

TcxBorders TcxContainerStyle::GetEdges() const
{
  if (FIsReference) return TcxBorders{};
  const TcxContainerStyle* s = AssigningStyle(svEdges);
  return s ? s->FEdges : GetDefaultEdges();
}

void TcxContainerStyle::SetEdges(TcxBorders Value)
{
  SetValue(svEdges, FEdges == Value, [&] { FEdges = Value; });
}

bool TcxContainerStyle::GetHotTrack() const
{
  if (FIsReference) return FAssignedValues.Contains(svHotTrack) ? FHotTrack : GetDefaultHotTrack();
  const TcxContainerStyle* s = AssigningStyle(svHotTrack);
  return s ? s->FHotTrack : GetDefaultHotTrack();
}

void TcxContainerStyle::SetHotTrack(bool Value)
{
  SetValue(svHotTrack, FHotTrack == Value, [&] { FHotTrack = Value; });
}

bool TcxContainerStyle::GetShadow() const
{
  if (FIsReference) return false;
  const TcxContainerStyle* s = AssigningStyle(svShadow);
  return s ? s->FShadow : GetDefaultShadow();
}

void TcxContainerStyle::SetShadow(bool Value)
{
  SetValue(svShadow, FShadow == Value, [&] { FShadow = Value; });
}

bool TcxContainerStyle::GetTransparentBorder() const
{
  if (FIsReference) return true;
  const TcxContainerStyle* s = AssigningStyle(svTransparentBorder);
  return s ? s->FTransparentBorder : GetDefaultTransparentBorder();
}

void TcxContainerStyle::SetTransparentBorder(bool Value)
{
  SetValue(svTransparentBorder, FTransparentBorder == Value, [&] { FTransparentBorder = Value; });
}

bool TcxContainerStyle::GetStyleValueName(int Index, AnsiString& Name) const
{
  if (Index < 0 || Index >= int(std::size(StyleValueNames))) {
    Name.clear();
    return false;
  }
  Name = StyleValueNames[Index];
  return true;
}

// ---- Font

TFont* TcxContainerStyle::GetFont() const { return FIsReference ? FFontReference : FOwnFont.get(); }

void TcxContainerStyle::SetFont(TFont* Value)
{
  if (FIsReference) {
    FFontReference = Value;
    return;
  }
  FOwnFont->Assign(Value);
  FAssignedValues.Include(svFont);
  Changed();
}

void TcxContainerStyle::FontChanged()
{
  if (!FCopyingFont) FAssignedValues.Include(svFont);
  Changed();
}

void TcxContainerStyle::UpdateFont()
{
  if (FIsReference || FAssignedValues.Contains(svFont) || !FStyleController) return;
  const TcxContainerStyle* s = FStyleController->GetStyle()->AssigningStyle(svFont);
  if (!s || !s->GetFont()) return;
  TValueGuard Copying(FCopyingFont, true);
  FOwnFont->Assign(s->GetFont());
}

// ---- Controller

TcxStyleController* TcxContainerStyle::GetStyleController() const
{
  return FStyleController == GetDefaultStyleController() ? nullptr : FStyleController;
}

bool TcxContainerStyle::WouldCloseCycle(TcxStyleController* Value) const
{
  // Walks the whole chain above Value, so a longer loop is refused as well as a short one.
  const TcxStyleController* c = Value;
  for (int depth = 0; c && depth < 1024; ++depth) {
    const TcxContainerStyle* style = c->GetStyle();
    if (style == this) return true;
    c = style->FStyleController;
    if (c == Value) return true;
  }
  return false;
}

void TcxContainerStyle::SetStyleController(TcxStyleController* Value)
{
  if (!Value) Value = GetDefaultStyleController();
  if (Value && WouldCloseCycle(Value)) return;
  if (Value == FStyleController) return;
  if (FStyleController) FStyleController->RemoveListener(this);
  FStyleController = Value;
  if (FStyleController) FStyleController->AddListener(this);
  ControllerChanged();
}

void TcxContainerStyle::ControllerChanged()
{
  UpdateFont();
  Changed();
}

void TcxContainerStyle::ControllerStyleChanged()
{
  UpdateFont();
  Changed();
}

void TcxContainerStyle::ControllerRemoved(TcxStyleController* AController)
{
  if (AController == FStyleController) SetStyleController(nullptr);
}

void TcxContainerStyle::SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }

// ---- Copying and defaults

void TcxContainerStyle::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TcxContainerStyle*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  TUpdateGuard Lock(*this);
  SetStyleController(source->GetStyleController());
  FLookAndFeel->Assign(source->FLookAndFeel.get());
  FBorderColor = source->FBorderColor;
  FBorderStyle = source->FBorderStyle;
  FEdges = source->FEdges;
  FHotTrack = source->FHotTrack;
  FShadow = source->FShadow;
  FTransparentBorder = source->FTransparentBorder;
  FColor = source->FColor;
  const TColor fontColor = source->FIsReference ? source->FTextColor
                           : source->GetFont()  ? source->GetFont()->GetColor()
                                                : clWindowText;
  if (FIsReference) {
    FFontReference = source->GetFont();
    FTextColor = fontColor;
  } else if (source->GetFont()) {
    TValueGuard Copying(FCopyingFont, true);
    FOwnFont->Assign(source->GetFont());
    FOwnFont->SetColor(fontColor);
  }
  FAssignedValues = source->FAssignedValues;
  UpdateFont();
  Changed();
}

void TcxContainerStyle::RestoreDefaults()
{
  TUpdateGuard Lock(*this);
  if (IcxContainerStyleOwner* owner = ContainerOwner()) owner->RestoreStyleDefaults();
  FLookAndFeel->SetAssignedValues(TcxLookAndFeelValues{});
  SetAssignedValues(TcxContainerStyleValues{});
}

// ---- TcxStyleController

TcxStyleController::TcxStyleController(TComponent* AOwner) : TComponent(AOwner) { RecreateStyle(); }

void TcxStyleController::RecreateStyle()
{
  FStyle = CreateStyle();
  FStyle->OnChanged = [this](TObject*) { Changed(); };
}

TcxStyleController::~TcxStyleController()
{
  FDestroying = true;
  // Each listener leaves the list as it goes back to its default controller.
  while (!FListeners.empty()) {
    TcxContainerStyle* style = FListeners.back();
    style->ControllerRemoved(this);
    if (!FListeners.empty() && FListeners.back() == style) FListeners.pop_back();
  }
  FStyle.reset();
}

void TcxStyleController::Loaded()
{
  TComponent::Loaded();
  Changed();
}

void TcxStyleController::Changed()
{
  if (OnStyleChanged && FStyle) OnStyleChanged(this, FStyle.get());
  if (FDestroying) return;
  const std::vector<TcxContainerStyle*> listeners = FListeners;
  for (TcxContainerStyle* style : listeners)
    if (std::find(FListeners.begin(), FListeners.end(), style) != FListeners.end()) StyleChanged(style);
}

void TcxStyleController::StyleChanged(TcxContainerStyle* AStyle)
{
  AStyle->ControllerStyleChanged();
  if (OnStyleChanged) OnStyleChanged(this, AStyle);
}

void TcxStyleController::AddListener(TcxContainerStyle* AStyle)
{
  if (!AStyle || std::find(FListeners.begin(), FListeners.end(), AStyle) != FListeners.end()) return;
  FListeners.push_back(AStyle);
  AStyle->GetLookAndFeel()->SetMasterLookAndFeel(FStyle->GetLookAndFeel());
}

void TcxStyleController::RemoveListener(TcxContainerStyle* AStyle)
{
  auto it = std::find(FListeners.begin(), FListeners.end(), AStyle);
  if (it == FListeners.end()) return;
  FListeners.erase(it);
  AStyle->GetLookAndFeel()->SetMasterLookAndFeel(nullptr);
}

// ---- TcxFreeNotificator

void TcxFreeNotificator::AddSender(TComponent* Sender)
{
  if (Sender) Sender->FreeNotification(this);
}

void TcxFreeNotificator::RemoveSender(TComponent* Sender)
{
  if (Sender) Sender->RemoveFreeNotification(this);
}

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && OnComponentFreed) OnComponentFreed(AComponent);
}

PELTO_DEFINE_CLASS(TcxContainerStyle)
PELTO_PUBLISH(TcxContainerStyle, p)
{
  p.Property("AssignedValues", &ThisClass::GetAssignedValues, &ThisClass::SetAssignedValues);
  p.Property("BorderColor", TypeInfo_TColor(), &ThisClass::GetBorderColor, &ThisClass::SetBorderColor)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsStored(svBorderColor); }));
  p.Property("BorderStyle", &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsStored(svBorderStyle); }));
  p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsStored(svColor); }));
  p.Property("Edges", &ThisClass::GetEdges, &ThisClass::SetEdges).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsStored(svEdges);
  }));
  p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsStored(svFont);
  }));
  p.Property("HotTrack", &ThisClass::GetHotTrack, &ThisClass::SetHotTrack).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsStored(svHotTrack);
  }));
  p.Property("Shadow", &ThisClass::GetShadow, &ThisClass::SetShadow).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsStored(svShadow);
  }));
  p.Property("TransparentBorder", &ThisClass::GetTransparentBorder, &ThisClass::SetTransparentBorder)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsStored(svTransparentBorder); }));
}

PELTO_DEFINE_CLASS(TcxStyleController)
PELTO_PUBLISH(TcxStyleController, p) { p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle); }

PELTO_DEFINE_CLASS(TcxFreeNotificator)
