// TFrame: a reusable container of controls that owns the components on it, placed on a form
// (or another frame) like any control. The names of its components are its own: two frames on
// one form may both hold an "Edit1", reached as "Frame1.Edit1" and "Frame2.Edit1"
// (FindNestedComponent).
#pragma once

#include "platform/forms/controls/WinControl.h"

class TCustomFrame : public TWinControl {
  PELTO_CLASS(TCustomFrame, TWinControl)
public:
  explicit TCustomFrame(TComponent* AOwner);

  // Components read from a stream below the frame belong to it.
  TComponent* GetChildOwner() override { return this; }
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  PELTO_PUBLISHED(p) { p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor); }

protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

class TFrame : public TCustomFrame {
  PELTO_CLASS(TFrame, TCustomFrame)
public:
  explicit TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {}
};

namespace Forms {
// The component a dotted path names below Root ("Frame1.Edit1", "ListFra.Grid.View"), each step
// among the owned components of the previous one; a path starting with Root's own name may
// include it. Null when a step is missing.
TComponent* FindNestedComponent(TComponent* Root, const AnsiString& Path);
}  // namespace Forms
