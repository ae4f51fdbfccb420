// TBitBtn: a push button with a glyph beside its caption, drawn by the control (an owner-drawn
// BUTTON window). Kind gives a stock button its caption, modal result and Default or Cancel
// role; bkClose closes the form on a click.
#pragma once

#include <memory>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/stdctrls/StdCtrlsTypes.h"
#include "platform/stdctrls/buttons/Button.h"

class TBitBtn : public TButton {
  PELTO_CLASS(TBitBtn, TButton)
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  void Click() override;
  // Owned; setting copies the picture.
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TBitBtnKind GetKind() const { return FKind; }
  void SetKind(TBitBtnKind Value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int GetMargin() const { return FMargin; }
  void SetMargin(int Value);
  // 1..4 images in the glyph (up, disabled, down, held down).
  int GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Glyph", &ThisClass::GetGlyph, &ThisClass::SetGlyph);
    p.Property("Kind", &ThisClass::GetKind, &ThisClass::SetKind).Default(bkCustom);
    p.Property("Layout", &ThisClass::GetLayout, &ThisClass::SetLayout).Default(blGlyphLeft);
    p.Property("Margin", &ThisClass::GetMargin, &ThisClass::SetMargin).Default(-1);
    p.Property("NumGlyphs", &ThisClass::GetNumGlyphs, &ThisClass::SetNumGlyphs).Default(1);
    p.Property("Spacing", &ThisClass::GetSpacing, &ThisClass::SetSpacing).Default(4);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  // As a button's, and the glyph is the action's image.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void Dispatch(TMessage& Message) override;
  // The default frame is drawn here: the window's own style stays owner-drawn.
  void SetButtonStyle(bool ADefault) override { Invalidate(); }
  virtual void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct);

private:
  std::unique_ptr<TBitmap> FGlyph;
  TBitBtnKind FKind = bkCustom;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FNumGlyphs = 1;
  int FSpacing = 4;
};
