// TMainMenuBase: what a form needs of its menu bar; TMainMenu (platform/stdctrls) implements it.
// The form puts the menu's handle on its window and passes it the commands and key short cuts
// that reach the window.
#pragma once

#include "platform/classes/Component.h"
#include "platform/forms/controls/Messages.h"

class TMainMenuBase : public TComponent {
  PELTO_CLASS(TMainMenuBase, TComponent)
public:
  explicit TMainMenuBase(TComponent* AOwner) : TComponent(AOwner) {}

  // The menu bar (made on demand; owned by the menu, never destroyed by the form).
  virtual HMENU GetHandle() = 0;
  // A WM_COMMAND from the bar: answers whether an item took it.
  virtual bool DispatchCommand(WORD ACommand) = 0;
  // WM_INITMENUPOPUP for one of its pop-ups: answers whether it was one of them.
  virtual bool DispatchPopup(HMENU AHandle) { return false; }
  // A key (CM_... key message with its shift state) that an item's short cut matches: the item
  // runs; answers whether one did.
  virtual bool IsShortCut(TMessage& Message) { return false; }
  // WM_MEASUREITEM or WM_DRAWITEM for an owner-drawn item (CtlType ODT_MENU) of one of its
  // pop-ups: the item measures or draws itself; answers whether one of its items did.
  virtual bool DispatchOwnerDraw(TMessage& Message) { return false; }
  // For an MDI frame's menu: shows the active MDI child's menu merged into it (Merge true), or
  // stops showing it (it is not an error if it was not shown).
  virtual void MergeChildMenu(TMainMenuBase* Child, bool Merge) {}
  // The form the menu stands on (the menu tells it to redraw the bar when it changes).
  TComponent* GetWindowOwner() const { return FWindowOwner; }
  void SetWindowOwner(TComponent* Value) { FWindowOwner = Value; }

private:
  TComponent* FWindowOwner = nullptr;
};
