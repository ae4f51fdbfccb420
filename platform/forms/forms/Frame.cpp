#include "platform/forms/forms/Frame.h"

#include "platform/rtl/StringUtils.h"

TCustomFrame::TCustomFrame(TComponent* AOwner) : TWinControl(AOwner)
{
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 320, 240);
}

void TCustomFrame::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomFrame::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  // The frame's controls, then its components without a parent (lists, menus).
  TWinControl::GetChildren(Proc, this);
  for (int i = 0; i < GetComponentCount(); ++i) {
    TComponent* c = GetComponent(i);
    if (!c->HasParent()) Proc(c);
  }
}

void TCustomFrame::Notification(TComponent* AComponent, TOperation Operation)
{
  TWinControl::Notification(AComponent, Operation);
}

namespace Forms {

TComponent* FindNestedComponent(TComponent* Root, const AnsiString& Path)
{
  if (!Root) return nullptr;
  TComponent* current = Root;
  std::size_t start = 0;
  bool first = true;
  while (start <= Path.size()) {
    std::size_t dot = Path.find('.', start);
    AnsiString step = Path.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start);
    if (step.empty()) return nullptr;
    TComponent* next = current->FindComponent(step);
    if (!next && first && SysUtils::SameText(step, Root->GetName())) next = Root;
    if (!next) return nullptr;
    current = next;
    first = false;
    if (dot == AnsiString::npos) break;
    start = dot + 1;
  }
  return current;
}

}  // namespace Forms
