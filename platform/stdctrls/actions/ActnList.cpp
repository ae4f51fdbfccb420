#include "platform/stdctrls/actions/ActnList.h"

#include <algorithm>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/controls/Control.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/rtl/FormatText.h"

// ---- TContainedAction ----------------------------------------------------------------------------

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* Value)
{
  if (Value == FActionList) return;
  if (FActionList) {
    std::erase(FActionList->FActions, this);
    FActionList->Change();
  }
  FActionList = Value;
  if (Value) {
    Value->FActions.push_back(this);
    Value->Change();
  }
}

int TContainedAction::GetIndex() const
{
  if (!FActionList) return -1;
  auto& a = FActionList->FActions;
  return int(std::find(a.begin(), a.end(), this) - a.begin());
}

namespace {

// Offers the action to the focused control and then to its form (or, with nothing focused, the
// active form): answers whether one of them took it.
bool OfferToFocusedTargets(TBasicAction* Action, bool Execute)
{
  auto offer = [&](TControl* Target) {
    return Target && (Execute ? Target->ExecuteAction(Action) : Target->UpdateAction(Action));
  };
  TWinControl* focused = TWinControl::FocusedControl();
  TControl* form = focused ? focused->GetParentForm() : nullptr;
  if (!focused && Forms::Screen) form = Forms::Screen->GetActiveForm();
  if (offer(focused)) return true;
  return form != focused && offer(form);
}

}  // namespace

bool TContainedAction::Execute()
{
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  if (OfferToFocusedTargets(this, true)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update()
{
  if (FActionList && FActionList->UpdateAction(this)) return true;
  if (OfferToFocusedTargets(this, false)) return true;
  return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) { SetActionList(dynamic_cast<TCustomActionList*>(Value)); }

// ---- TCustomAction -------------------------------------------------------------------------------

namespace {
template <class T>
bool SetField(T& Field, const T& Value)
{
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void TCustomAction::SetCaption(const AnsiString& Value)
{
  if (SetField(FCaption, Value)) Change();
}

void TCustomAction::SetChecked(bool Value)
{
  if (!SetField(FChecked, Value)) return;
  if (Value && FGroupIndex > 0 && GetActionList())
    for (int i = 0; i < GetActionList()->GetActionCount(); ++i)
      if (auto* a = dynamic_cast<TCustomAction*>(GetActionList()->GetAction(i));
          a && a != this && a->FGroupIndex == FGroupIndex)
        a->SetChecked(false);
  Change();
}

void TCustomAction::SetEnabled(bool Value)
{
  if (SetField(FEnabled, Value)) Change();
}

void TCustomAction::SetGroupIndex(int Value)
{
  if (SetField(FGroupIndex, Value)) Change();
}

void TCustomAction::SetHint(const AnsiString& Value)
{
  if (SetField(FHint, Value)) Change();
}

void TCustomAction::SetImageIndex(int Value)
{
  if (SetField(FImageIndex, Value)) Change();
}

void TCustomAction::SetShortCut(TShortCut Value)
{
  if (SetField(FShortCut, Value)) Change();
}

void TCustomAction::SetVisible(bool Value)
{
  if (SetField(FVisible, Value)) Change();
}

void TCustomAction::SetHelpContext(int Value)
{
  if (SetField(FHelpContext, Value)) Change();
}

bool TCustomAction::Execute()
{
  // The states may depend on the moment: ask once more before running.
  Update();
  return FEnabled && TContainedAction::Execute();
}

// ---- TCustomActionList ---------------------------------------------------------------------------

TCustomActionList::~TCustomActionList()
{
  while (!FActions.empty()) {
    FActions.back()->FActionList = nullptr;
    FActions.pop_back();
  }
}

TContainedAction* TCustomActionList::GetAction(int Index) const
{
  if (Index < 0 || Index >= GetActionCount())
    throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  return FActions[size_t(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* Value)
{
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  Change();
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action)
{
  bool handled = false;
  if (OnExecute) OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action)
{
  bool handled = false;
  if (OnUpdate) OnUpdate(Action, handled);
  return handled;
}

bool TCustomActionList::IsShortCut(TShortCut Key)
{
  if (Key == scNone) return false;
  for (TContainedAction* a : std::vector<TContainedAction*>(FActions))
    if (auto* c = dynamic_cast<TCustomAction*>(a); c && c->GetShortCut() == Key) {
      c->Update();
      if (!c->GetEnabled()) return false;
      c->Execute();
      return true;
    }
  return false;
}

void TCustomActionList::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  for (TContainedAction* a : FActions)
    if (a->GetOwner() == Root) Proc(a);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  // The image list is half destroyed by now: forget it without calling into it.
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    Change();
  }
}

void TCustomActionList::Change()
{
  if (OnChange && !GetComponentState().Contains(csDestroying)) OnChange(this);
}

// ---- Unit ----------------------------------------------------------------------------------------

namespace ActnList {

void ApplyToControl(TControl* Control, TBasicAction* Action, bool CheckDefaults)
{
  auto* a = dynamic_cast<TCustomAction*>(Action);
  if (!a) return;
  if (!CheckDefaults || Control->GetCaption().empty()) Control->SetCaption(a->GetCaption());
  if (!CheckDefaults || Control->GetEnabled()) Control->SetEnabled(a->GetEnabled());
  if (!CheckDefaults || Control->GetHint().empty()) Control->SetHint(a->GetHint());
  if (!CheckDefaults || Control->GetVisible()) Control->SetVisible(a->GetVisible());
}

bool ImageOf(TBasicAction* Action, TBitmap* Image)
{
  auto* a = dynamic_cast<TCustomAction*>(Action);
  if (!a || a->GetImageIndex() < 0 || !a->GetActionList()) return false;
  TCustomImageList* images = a->GetActionList()->GetImages();
  if (!images || a->GetImageIndex() >= images->GetCount()) return false;
  images->GetBitmap(a->GetImageIndex(), Image);
  return true;
}

void Initialize() { Classes::RegisterClasses({TAction::StaticClass(), TActionList::StaticClass()}); }

}  // namespace ActnList
