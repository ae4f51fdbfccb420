#include "controls/editors/edit/cxEditViewInfo.h"

#include "controls/framework/cxContainer.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/win/window/Rects.h"

namespace {

bool SameRect(const RECT& A, const RECT& B)
{
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

bool IsEmptyRect(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }

RECT Moved(RECT R, POINT By)
{
  Windows::OffsetRect(&R, By.x, By.y);
  return R;
}

}  // namespace

// ---- TcxEditButtonViewInfo

void TcxEditButtonViewInfo::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxEditButtonViewInfo*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  NativeState = s->NativeState;
  BackgroundColor = s->BackgroundColor;
  Bounds = s->Bounds;
  Style = s->Style;
  State = s->State;
}

bool TcxEditButtonViewInfo::Changed(const TcxEditButtonViewInfo* AOld) const
{
  return !AOld || State != AOld->State || Style != AOld->Style || BackgroundColor != AOld->BackgroundColor ||
         NativeState != AOld->NativeState;
}

TcxRegion* TcxEditButtonViewInfo::GetChangedRegion(TcxEditButtonViewInfo* AOldViewInfo)
{
  return Changed(AOldViewInfo) ? new TcxRegion(Bounds) : TcxRegion::CreateEmpty();
}

bool TcxEditButtonViewInfo::Repaint(TWinControl* AControl, TcxEditButtonViewInfo* AOldViewInfo, POINT AEditPosition)
{
  if (!Changed(AOldViewInfo)) return false;
  cxContainer::InvalidateControlRect(AControl, Moved(Bounds, AEditPosition), EraseBackground);
  return true;
}

// ---- TcxCustomEditViewInfo

void TcxCustomEditViewInfo::SetButtonCount(int Count)
{
  Count = std::max(0, Count);
  while (int(ButtonsInfo.size()) > Count) ButtonsInfo.pop_back();
  while (int(ButtonsInfo.size()) < Count) ButtonsInfo.emplace_back(CreateButtonViewInfo());
}

bool TcxCustomEditViewInfo::HasHotButton() const
{
  for (const auto& b : ButtonsInfo)
    if (b->State == cxEditButtonHot) return true;
  return false;
}

bool TcxCustomEditViewInfo::PtInButtons(POINT P) const
{
  P.x += Bounds.left;
  P.y += Bounds.top;
  for (const auto& b : ButtonsInfo)
    if (Windows::PtInRect(&b->VisibleBounds, P)) return true;
  return false;
}

bool TcxCustomEditViewInfo::NeedShowHint(TcxCanvas* ACanvas, POINT P, AnsiString& AText, bool& AIsMultiLine,
                                         RECT& ATextRect)
{
  AText.clear();
  AIsMultiLine = false;
  ATextRect = RECT{0, 0, 0, 0};
  return InternalNeedShowHint(ACanvas, P, AText, AIsMultiLine, ATextRect);
}

void TcxCustomEditViewInfo::CopyFrom(const TcxCustomEditViewInfo& S)
{
  // The container's and the painting layer's parts.
  Bounds = S.Bounds;
  BorderRect = S.BorderRect;
  ClientRect = S.ClientRect;
  BackgroundColor = S.BackgroundColor;
  BorderColor = S.BorderColor;
  BorderStyle = S.BorderStyle;
  BorderWidth = S.BorderWidth;
  ContainerState = S.ContainerState;
  HotState = S.HotState;
  Edges = S.Edges;
  Shadow = S.Shadow;
  NativeStyle = S.NativeStyle;
  ThemedObjectType = S.ThemedObjectType;
  NativePart = S.NativePart;
  NativeState = S.NativeState;
  BorderWidths = S.BorderWidths;
  FrameRect = S.FrameRect;
  EditThemeState = S.EditThemeState;
  HasMargins = S.HasMargins;
  TextColor = S.TextColor;
  Transparent = S.Transparent;
  Enabled = S.Enabled;
  Focused = S.Focused;
  IsDesigning = S.IsDesigning;
  IsInplace = S.IsInplace;
  // This class's part.
  PressedButton = S.PressedButton;
  HotButton = S.HotButton;
  Properties = S.Properties;
  Font = S.Font;
  EraseBackground = S.EraseBackground;
  InnerEditVisible = S.InnerEditVisible;
  HasContainerInnerControl = S.HasContainerInnerControl;
  PopupBorderStyle = S.PopupBorderStyle;
  ButtonsChanged = S.ButtonsChanged;
  InnerEditRect = S.InnerEditRect;
  PaintOptions = S.PaintOptions;
  WindowHandle = S.WindowHandle;
  SetButtonCount(S.ButtonCount());
  for (int i = 0; i < S.ButtonCount(); ++i) {
    TcxEditButtonViewInfo* d = Button(i);
    const TcxEditButtonViewInfo* s = S.Button(i);
    static_cast<TcxEditButtonPaintInfo&>(*d) = static_cast<const TcxEditButtonPaintInfo&>(*s);
    d->ButtonIndex = s->ButtonIndex;
    d->Default = s->Default;
    d->EraseBackground = s->EraseBackground;
  }
}

TcxCustomEditViewInfo* TcxCustomEditViewInfo::Clone() const
{
  auto* r = static_cast<TcxCustomEditViewInfo*>(ClassType()->Create(nullptr));
  r->CopyFrom(*this);
  return r;
}

void TcxCustomEditViewInfo::Assign(TcxContainerViewInfo* Source)
{
  if (auto* s = dynamic_cast<TcxCustomEditViewInfo*>(Source)) {
    CopyFrom(*s);
    return;
  }
  TcxEditPaintViewInfo::Assign(Source);
}

TcxRegion* TcxCustomEditViewInfo::GetRepaintRegion(TcxContainerViewInfo* AOldViewInfo)
{
  TcxRegion* r = TcxEditPaintViewInfo::GetRepaintRegion(AOldViewInfo);
  auto* old = dynamic_cast<TcxCustomEditViewInfo*>(AOldViewInfo);
  const bool sameLayout = old && old->BorderStyle == BorderStyle &&
                          (BorderStyle == cbsNone || old->BorderColor == BorderColor) &&
                          old->ButtonCount() == ButtonCount() && old->EditThemeState == EditThemeState;
  if (sameLayout) {
    for (int i = 0; i < ButtonCount(); ++i) r->Combine(Button(i)->GetChangedRegion(old->Button(i)), rcmAdd);
  } else if (!IsEmptyRect(Bounds)) {
    r->Combine(new TcxRegion(Bounds), rcmAdd);
  }
  return r;
}

void TcxCustomEditViewInfo::Offset(int DX, int DY)
{
  TcxEditPaintViewInfo::Offset(DX, DY);
  Windows::OffsetRect(&InnerEditRect, DX, DY);
  Windows::OffsetRect(&FrameRect, DX, DY);
  for (auto& b : ButtonsInfo) {
    Windows::OffsetRect(&b->Bounds, DX, DY);
    Windows::OffsetRect(&b->VisibleBounds, DX, DY);
  }
}

bool TcxCustomEditViewInfo::Repaint(TWinControl* AControl, TcxCustomEditViewInfo* AOldViewInfo,
                                    const RECT& AInnerEditRect)
{
  if (!AControl || !AControl->HandleAllocated()) return false;
  const HWND wnd = AControl->GetHandle();
  const POINT origin{0, 0};
  if (!AOldViewInfo) {
    cxContainer::InvalidateFrame(wnd, Bounds, AInnerEditRect, EraseBackground);
    return false;
  }
  bool result = false;
  const bool sameLayout =
      AOldViewInfo->EditThemeState == EditThemeState && AOldViewInfo->ButtonCount() == ButtonCount();
  auto invalidateBand = [&](const RECT& Inner) {
    if (IsEmptyRect(Bounds) || SameRect(Bounds, Inner)) return;
    cxContainer::InvalidateFrame(wnd, Bounds, Inner, AOldViewInfo->EraseBackground);
    result = true;
  };
  if (sameLayout) {
    const bool hasBorder = BorderStyle != cbsNone;
    if (AOldViewInfo->BorderStyle != BorderStyle || (hasBorder && AOldViewInfo->BorderColor != BorderColor) ||
        !SameRect(AOldViewInfo->Bounds, Bounds) || AOldViewInfo->BackgroundColor != BackgroundColor ||
        AOldViewInfo->ContainerState != ContainerState)
      invalidateBand(BorderRect);
    for (int i = 0; i < ButtonCount(); ++i)
      if (Button(i)->Repaint(AControl, AOldViewInfo->Button(i), origin)) result = true;
    if (!SameRect(AOldViewInfo->ClientRect, ClientRect) || AOldViewInfo->BackgroundColor != BackgroundColor) {
      cxContainer::InvalidateControlRect(AControl, Bounds, false);
      result = true;
    }
  } else {
    RECT inner = AInnerEditRect;
    if (!IsEmptyRect(inner)) Windows::IntersectRect(&inner, &inner, &ClientRect);
    invalidateBand(inner);
  }
  return result;
}

PELTO_DEFINE_CLASS(TcxEditButtonViewInfo)

PELTO_DEFINE_CLASS(TcxCustomEditViewInfo)
