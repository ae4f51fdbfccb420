// What the common dialogs' forms share to lay out their controls: a control placed on a parent
// (owned by the form), a caption that focuses its field, and the confirm and cancel buttons.
#pragma once

#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/panels/Label.h"

namespace DialogControls {

// A T owned by Owner, shown on Parent at the given place.
template <class T>
T* Place(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
{
  auto* c = new T(Owner);
  c->SetParent(Parent);
  c->SetBounds(X, Y, W, H);
  return c;
}

inline TLabel* Caption(TComponent* Owner, TWinControl* Parent, const AnsiString& Text, int X, int Y,
                       TWinControl* Focus = nullptr)
{
  auto* l = new TLabel(Owner);
  l->SetParent(Parent);
  l->SetLeft(X);
  l->SetTop(Y);
  l->SetCaption(Text);
  if (Focus) l->SetFocusControl(Focus);
  return l;
}

// "确定" (the default button; its click runs OnConfirm) and "取消" (Escape, mrCancel), side by
// side from X.
inline TButton* OkCancel(TComponent* Owner, TWinControl* Parent, int X, int Y, TNotifyEvent OnConfirm)
{
  auto* ok = Place<TButton>(Owner, Parent, X, Y, 75, 23);
  ok->SetCaption("确定");
  ok->SetDefault(true);
  ok->OnClick = std::move(OnConfirm);
  auto* cancel = Place<TButton>(Owner, Parent, X + 83, Y, 75, 23);
  cancel->SetCaption("取消");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  return ok;
}

}  // namespace DialogControls
