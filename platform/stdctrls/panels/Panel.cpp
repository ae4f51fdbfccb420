#include "platform/stdctrls/panels/Panel.h"

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/DrawText.h"

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                               csOpaque,          csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  ExtCtrls::AddBorderStyle(Params, FBorderStyle, GetCtl3D());
  if (!FFullRepaint) Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::FrameChanged()
{
  Invalidate();
  Realign();
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
  if (Value == FBevelInner) return;
  FBevelInner = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
  if (Value == FBevelOuter) return;
  FBevelOuter = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelWidth(int Value)
{
  if (Value < 1) Value = 1;
  if (Value == FBevelWidth) return;
  FBevelWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(int Value)
{
  if (Value < 0) Value = 0;
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value)
{
  if (Value != bsSingle) Value = bsNone;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  // The edge is the window's own: a new window takes it.
  if (HandleAllocated()) RecreateWnd();
}

int TCustomPanel::FrameWidth() const
{
  return FBorderWidth + (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
}

void TCustomPanel::AdjustClientRect(RECT& Rect)
{
  TCustomControl::AdjustClientRect(Rect);
  int w = FrameWidth();
  Rect.left += w;
  Rect.top += w;
  Rect.right -= w;
  Rect.bottom -= w;
}

void TCustomPanel::Paint()
{
  TCanvas* canvas = GetCanvas();
  RECT r = GetClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    if (cut == bvSpace) {
      // A gap of the bevel's width in the panel's colour.
      canvas->GetBrush()->SetColor(GetColor());
      ExtCtrls::FrameInside(canvas, r, FBevelWidth);
      return;
    }
    bool raised = cut == bvRaised;
    ExtCtrls::Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
                      FBevelWidth);
  };
  bevel(FBevelOuter);
  canvas->GetBrush()->SetColor(GetColor());
  ExtCtrls::FrameInside(canvas, r, FBorderWidth);
  bevel(FBevelInner);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(r);
  AnsiString text = GetCaption();
  if (text.empty()) return;
  canvas->SetFont(GetFont());
  canvas->TextExtent("");  // selects the font into the DC
  HDC dc = canvas->GetHandle();
  static constexpr UINT kPanelAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  Windows::SetBkMode(dc, TRANSPARENT);
  Windows::SetTextColor(dc, Graphics::ColorToRGB(GetEnabled() ? GetFont()->GetColor() : clGrayText));
  Windows::DrawText(dc, text.c_str(), int(text.size()), &r,
                    DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | kPanelAlign[FAlignment]);
}

void TCustomPanel::CMTextChanged(TMessage& Message)
{
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TCustomPanel::CMFontChanged(TMessage& Message)
{
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}
