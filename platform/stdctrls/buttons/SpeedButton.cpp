#include "platform/stdctrls/buttons/SpeedButton.h"

#include "platform/forms/controls/WinControl.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/buttons/ButtonGlyph.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
  ControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 23, 22);
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::SetAllowAllUp(bool Value)
{
  FAllowAllUp = Value;
  // The group shares the setting.
  if (TWinControl* parent = GetParent(); parent && FGroupIndex)
    for (int i = 0; i < parent->GetControlCount(); ++i)
      if (auto* b = dynamic_cast<TSpeedButton*>(parent->GetControl(i)); b && b != this && b->FGroupIndex == FGroupIndex)
        b->FAllowAllUp = Value;
}

void TSpeedButton::SetGroupIndex(int Value)
{
  FGroupIndex = std::max(Value, 0);
  if (!FGroupIndex && FDown) SetDown(false);
}

void TSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
  TGraphicControl::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  ActnList::ApplyToControl(this, action, CheckDefaults);
  if (!CheckDefaults || !FDown) SetDown(action->GetChecked());
  if (CheckDefaults && FGlyph && !FGlyph->GetEmpty()) return;
  TBitmap image;
  if (ActnList::ImageOf(action, &image)) SetGlyph(&image);
}

void TSpeedButton::SetDown(bool Value)
{
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !Value && !FAllowAllUp) return;
  FDown = Value;
  FState = Value ? bsExclusive : bsUp;
  if (!GetEnabled()) FState = bsDisabled;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
  TWinControl* parent = GetParent();
  if (!parent || !FGroupIndex) return;
  for (int i = 0; i < parent->GetControlCount(); ++i)
    if (auto* b = dynamic_cast<TSpeedButton*>(parent->GetControl(i));
        b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) {
      b->FDown = false;
      b->FState = b->GetEnabled() ? bsUp : bsDisabled;
      b->Invalidate();
    }
}

void TSpeedButton::SetFlat(bool Value)
{
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
  FNumGlyphs = ButtonGlyph::ImageCount(Value, FNumGlyphs);
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value)
{
  FMargin = std::max(Value, -1);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value)
{
  FNumGlyphs = std::clamp(Value, 1, 4);
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value)
{
  FSpacing = Value;
  Invalidate();
}

// ---- Mouse --------------------------------------------------------------------------------------

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  // The face follows the mouse: pressed while over the button, as it was when off it.
  TButtonState state = FDown ? bsExclusive : (Inside(X, Y) ? bsDown : bsUp);
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  bool inside = Inside(X, Y);
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
    if (inside) Click();
    return;
  }
  if (inside) SetDown(!FDown);
  FState = FDown ? bsExclusive : bsUp;
  Invalidate();
  if (inside) Click();
}

void TSpeedButton::CMMouseEnter(TMessage& Message)
{
  TGraphicControl::CMMouseEnter(Message);
  FMouseInControl = true;
  if (FFlat && GetEnabled()) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& Message)
{
  TGraphicControl::CMMouseLeave(Message);
  FMouseInControl = false;
  if (FFlat && GetEnabled()) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message)
{
  TGraphicControl::CMEnabledChanged(Message);
  FState = !GetEnabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
  Invalidate();
}

// ---- Painting -----------------------------------------------------------------------------------

void TSpeedButton::Paint()
{
  TCanvas* canvas = GetCanvas();
  RECT r{0, 0, FWidth, FHeight};
  bool pressed = FState == bsDown || FState == bsExclusive;
  // A held button shows a lighter face, as the classic dithered one reads.
  TColor face = FState == bsExclusive && !FDragging ? TColor(RGB(236, 233, 216)) : clBtnFace;
  canvas->GetBrush()->SetColor(face);
  canvas->FillRect(r);
  RECT edge = r;
  if (!FFlat)
    Windows::DrawEdge(canvas->GetHandle(), &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  else if (pressed)
    Windows::DrawEdge(canvas->GetHandle(), &edge, BDR_SUNKENOUTER, BF_RECT);
  else if (FMouseInControl && GetEnabled())
    Windows::DrawEdge(canvas->GetHandle(), &edge, BDR_RAISEDINNER, BF_RECT);
  canvas->GetFont()->Assign(GetFont());
  ButtonGlyph::TGlyphFace glyphFace;
  glyphFace.Caption = GetCaption();
  glyphFace.Glyph = FGlyph.get();
  glyphFace.NumGlyphs = FNumGlyphs;
  glyphFace.Layout = FLayout;
  glyphFace.Margin = FMargin;
  glyphFace.Spacing = FSpacing;
  glyphFace.State = GetEnabled() ? FState : bsDisabled;
  RECT inner{2, 2, FWidth - 2, FHeight - 2};
  ButtonGlyph::Draw(canvas, inner, POINT{pressed ? 1 : 0, pressed ? 1 : 0}, glyphFace);
}
