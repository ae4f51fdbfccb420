#include "platform/stdctrls/buttons/GroupBox.h"

#include "platform/forms/controls/Controls.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/stdctrls/StdCtrlsUtil.h"

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

int TCustomGroupBox::CaptionHeight() { return StdCtrlsUtil::FontMetrics(GetFont()).tmHeight; }

void TCustomGroupBox::AdjustClientRect(RECT& Rect)
{
  TCustomControl::AdjustClientRect(Rect);
  Rect.top += CaptionHeight();
  int inset = GetCtl3D() ? 2 : 1;
  Rect.left += inset;
  Rect.top += inset;
  Rect.right -= inset;
  Rect.bottom -= inset;
}

void TCustomGroupBox::Paint()
{
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  int h = CaptionHeight();
  RECT r{0, h / 2 - 1, GetWidth(), GetHeight()};
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(RECT{0, 0, GetWidth(), GetHeight()});
  if (GetCtl3D()) {
    // The etched line: a light frame one pixel below and right of the shadow one.
    RECT light{r.left + 1, r.top + 1, r.right, r.bottom};
    canvas->GetBrush()->SetColor(clBtnHighlight);
    canvas->FrameRect(light);
    canvas->GetBrush()->SetColor(clBtnShadow);
    canvas->FrameRect(RECT{r.left, r.top, r.right - 1, r.bottom - 1});
  } else {
    canvas->GetBrush()->SetColor(clWindowFrame);
    canvas->FrameRect(r);
  }
  AnsiString text = GetText();
  if (text.empty()) return;
  // The caption on the line, over a gap in the frame of its own width.
  canvas->GetBrush()->SetColor(GetColor());
  if (!GetEnabled()) canvas->GetFont()->SetColor(clGrayText);
  canvas->TextOut(8, 0, text);
}

void TCustomGroupBox::CMDialogChar(TMessage& Message)
{
  // Alt with the caption's letter goes to the first control inside.
  if (Controls::IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
    if (TWinControl* next = FindNextControl(nullptr, true, true, false)) next->SetFocus();
    Message.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(Message);
}

void TCustomGroupBox::CMTextChanged(TMessage& Message)
{
  TCustomControl::CMTextChanged(Message);
  Invalidate();
  Realign();
}

void TCustomGroupBox::CMFontChanged(TMessage& Message)
{
  TCustomControl::CMFontChanged(Message);
  Realign();
}
