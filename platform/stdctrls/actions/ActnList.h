// Actions: TActionList holds TCustomAction / TAction, commands with a caption, hint, image,
// short cut, and enabled, visible and checked states that their clients (menu items, buttons)
// show. A change to an action reaches every client through its link; the clients' links ask
// the action to update in the application's idle time.
//
// Executing: the list's OnExecute, then the action's own OnExecute. Updating: the list's
// OnUpdate, then the action's OnUpdate. A handler sets Handled to stop the rest.
#pragma once

#include <vector>

#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/stdctrls/menus/ShortCuts.h"

class TCustomActionList;
class TControl;
class TBitmap;

class TContainedAction : public TBasicAction {
  PELTO_CLASS(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TContainedAction() override;

  // The list holding the action (borrowed; null when none). Setting it moves the action.
  TCustomActionList* GetActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  const AnsiString& GetCategory() const { return FCategory; }
  void SetCategory(const AnsiString& Value) { FCategory = Value; }
  // The position in the list (-1 without one).
  int GetIndex() const;

  bool Execute() override;
  bool Update() override;

  bool HasParent() override { return FActionList != nullptr; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;

  PELTO_PUBLISHED(p) { p.Property("Category", &ThisClass::GetCategory, &ThisClass::SetCategory); }

private:
  TCustomActionList* FActionList = nullptr;
  AnsiString FCategory;
  friend class TCustomActionList;
};

class TCustomAction : public TContainedAction {
  PELTO_CLASS(TCustomAction, TContainedAction)
public:
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool GetChecked() const { return FChecked; }
  // Checking an action of a group (GroupIndex > 0) unchecks the others of its list's group.
  void SetChecked(bool Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  int GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value);

  // A disabled action does not run.
  bool Execute() override;

  PELTO_PUBLISHED(p)
  {
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("Checked", &ThisClass::GetChecked, &ThisClass::SetChecked).Default(false);
    p.Property("Enabled", &ThisClass::GetEnabled, &ThisClass::SetEnabled).Default(true);
    p.Property("GroupIndex", &ThisClass::GetGroupIndex, &ThisClass::SetGroupIndex).Default(0);
    p.Property("HelpContext", &ThisClass::GetHelpContext, &ThisClass::SetHelpContext).Default(0);
    p.Property("Hint", &ThisClass::GetHint, &ThisClass::SetHint);
    p.Property("ImageIndex", &ThisClass::GetImageIndex, &ThisClass::SetImageIndex).Default(-1);
    p.Property("ShortCut", &ThisClass::GetShortCut, &ThisClass::SetShortCut).Default(0);
    p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(true);
  }

private:
  AnsiString FCaption, FHint;
  bool FChecked = false, FEnabled = true, FVisible = true;
  int FGroupIndex = 0, FImageIndex = -1, FHelpContext = 0;
  TShortCut FShortCut = 0;
};

class TAction : public TCustomAction {
  PELTO_CLASS(TAction, TCustomAction)
public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

PELTO_EVENT_TYPE(TActionEvent, void(TBasicAction* Action, bool& Handled))

class TCustomActionList : public TComponent {
  PELTO_CLASS(TCustomActionList, TComponent)
public:
  explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
  // Lets its actions go (they stay with their owner).
  ~TCustomActionList() override;

  int GetActionCount() const { return int(FActions.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  TContainedAction* GetAction(int Index) const;
  // The image list of the actions' ImageIndex (borrowed).
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // The list's own handlers: answer whether one handled the action.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // A key that one of its enabled actions' short cuts matches runs that action.
  bool IsShortCut(TShortCut Key);

  TActionEvent OnExecute, OnUpdate;
  TNotifyEvent OnChange;

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("Images", &ThisClass::GetImages, &ThisClass::SetImages);
    p.Property("OnExecute", TypeInfo_TActionEvent(), &ThisClass::OnExecute, &ThisClass::OnExecute);
    p.Property("OnUpdate", TypeInfo_TActionEvent(), &ThisClass::OnUpdate, &ThisClass::OnUpdate);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change();

private:
  std::vector<TContainedAction*> FActions;  // borrowed; each leaves the list when freed
  TCustomImageList* FImages = nullptr;
  friend class TContainedAction;
};

class TActionList : public TCustomActionList {
  PELTO_CLASS(TActionList, TCustomActionList)
public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

namespace ActnList {
// What a control shows of an action it is linked to: caption, enabled, hint and visible (with
// CheckDefaults only where the control still has its defaults). For the controls' ActionChange.
void ApplyToControl(TControl* Control, TBasicAction* Action, bool CheckDefaults);
// The image at the action's ImageIndex in its list's Images, copied into Image; false (Image
// untouched) when the action has none.
bool ImageOf(TBasicAction* Action, TBitmap* Image);
// Registers the action classes for streams and scripts. Idempotent.
void Initialize();
}  // namespace ActnList
