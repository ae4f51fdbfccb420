// TPopupMenuBase: what a control needs of its pop-up menu; TPopupMenu (platform/stdctrls)
// implements it. The control shows it on a right click or the context-menu key unless
// OnContextPopup handled the request.
#pragma once

#include "platform/classes/Component.h"

class TPopupMenuBase : public TComponent {
  PELTO_CLASS(TPopupMenuBase, TComponent)
public:
  explicit TPopupMenuBase(TComponent* AOwner) : TComponent(AOwner) {}

  // Shows the menu at a screen point and runs it.
  virtual void Popup(int X, int Y) = 0;
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // The control the menu was last shown for (borrowed).
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

  PELTO_PUBLISHED(p) { p.Property("AutoPopup", &ThisClass::GetAutoPopup, &ThisClass::SetAutoPopup).Default(true); }

private:
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
};
