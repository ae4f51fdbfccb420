#include "platform/stdctrls/panels/Label.h"

#include "platform/forms/controls/Controls.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/DrawText.h"

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
  ControlStyle = ControlStyle + TControlStyle{csOpaque, csReplicatable};
  SetBounds(0, 0, 65, 17);
  TControl::SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value)
{
  if (Value == GetTransparent()) return;
  if (Value)
    ControlStyle = ControlStyle - TControlStyle{csOpaque};
  else
    ControlStyle = ControlStyle + TControlStyle{csOpaque};
  // What is under the label shows (or hides) again: the parent repaints the rectangle.
  InvalidateControl(GetVisible(), false);
}

void TCustomLabel::SetWordWrap(bool Value)
{
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
  if (Value == FShowAccelChar) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value)
{
  if (Value == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::SetAutoSize(bool Value)
{
  if (Value == GetAutoSize()) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded()
{
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::DoDrawText(HDC DC, RECT& Rect, UINT Flags)
{
  AnsiString text = GetCaption();
  // An empty caption still measures one line high; a lone "&" would vanish as a prefix.
  if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += " ";
  Flags |= DT_EXPANDTABS;
  if (FWordWrap) Flags |= DT_WORDBREAK;
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  Windows::SetBkMode(DC, TRANSPARENT);
  if (!(Flags & DT_CALCRECT) && !GetEnabled()) {
    // The engraved look of disabled text: a light copy below right, the shadow on top.
    RECT lit{Rect.left + 1, Rect.top + 1, Rect.right + 1, Rect.bottom + 1};
    Windows::SetTextColor(DC, Graphics::ColorToRGB(clBtnHighlight));
    Windows::DrawText(DC, text.c_str(), int(text.size()), &lit, Flags);
    Windows::SetTextColor(DC, Graphics::ColorToRGB(clBtnShadow));
  } else
    Windows::SetTextColor(DC, Graphics::ColorToRGB(GetFont()->GetColor()));
  Windows::DrawText(DC, text.c_str(), int(text.size()), &Rect, Flags);
}

void TCustomLabel::Paint()
{
  TCanvas* canvas = GetCanvas();
  RECT client = GetClientRect();
  if (!GetTransparent()) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  canvas->SetFont(GetFont());
  canvas->TextExtent("");  // selects the font into the DC
  HDC dc = canvas->GetHandle();
  static constexpr UINT kAlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = kAlignFlags[FAlignment];
  RECT r = client;
  if (FLayout != tlTop) {
    RECT measured = client;
    DoDrawText(dc, measured, flags | DT_CALCRECT);
    int free = (client.bottom - client.top) - (measured.bottom - measured.top);
    r.top += FLayout == tlBottom ? free : free / 2;
  }
  DoDrawText(dc, r, flags);
}

void TCustomLabel::AdjustBounds()
{
  if (GetComponentState().Contains(csLoading) || !GetAutoSize()) return;
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, GetFont()->GetHandle());
  RECT r = GetClientRect();
  DoDrawText(dc, r, DT_CALCRECT);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  int left = GetLeft();
  if (FAlignment == taRightJustify) left += GetWidth() - r.right;
  SetBounds(left, GetTop(), r.right, r.bottom);
}

void TCustomLabel::Dispatch(TMessage& Message)
{
  if (Message.Msg == CM_DIALOGCHAR) {
    // Alt with the caption's mnemonic focuses the linked control.
    if (FFocusControl && GetEnabled() && FShowAccelChar && Controls::IsAccel(Word(Message.WParam), GetCaption()) &&
        FFocusControl->CanFocus()) {
      FFocusControl->SetFocus();
      Message.Result = 1;
    }
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TCustomLabel::CMTextChanged(TMessage& Message)
{
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message)
{
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
}
