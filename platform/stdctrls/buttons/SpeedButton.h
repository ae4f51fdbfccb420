// TSpeedButton: a windowless button with a glyph, for tool bars. Buttons of one parent with the
// same GroupIndex (above 0) work together: pressing one holds it down and raises the others;
// with AllowAllUp a held button is raised by pressing it again. Flat buttons show their edge
// only while the mouse is over them or they are down. A speed button never takes the focus.
#pragma once

#include <memory>

#include "platform/forms/controls/GraphicControl.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TSpeedButton : public TGraphicControl {
  PELTO_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  void Click() override;
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // Only a grouped button stays down; a held button of a group without AllowAllUp stays down
  // until another one of its group is pressed.
  bool GetDown() const { return FDown; }
  void SetDown(bool Value);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  // Owned; setting copies the picture.
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int GetMargin() const { return FMargin; }
  void SetMargin(int Value);
  int GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // What the face shows now.
  TButtonState GetState() const { return FState; }

  PELTO_PUBLISHED(p)
  {
    p.Property("AllowAllUp", &ThisClass::GetAllowAllUp, &ThisClass::SetAllowAllUp).Default(false);
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("GroupIndex", &ThisClass::GetGroupIndex, &ThisClass::SetGroupIndex).Default(0);
    p.Property("Down", &ThisClass::GetDown, &ThisClass::SetDown).Default(false);
    p.Property("Flat", &ThisClass::GetFlat, &ThisClass::SetFlat).Default(false);
    p.Property("Glyph", &ThisClass::GetGlyph, &ThisClass::SetGlyph);
    p.Property("Layout", &ThisClass::GetLayout, &ThisClass::SetLayout).Default(blGlyphLeft);
    p.Property("Margin", &ThisClass::GetMargin, &ThisClass::SetMargin).Default(-1);
    p.Property("NumGlyphs", &ThisClass::GetNumGlyphs, &ThisClass::SetNumGlyphs).Default(1);
    p.Property("Spacing", &ThisClass::GetSpacing, &ThisClass::SetSpacing).Default(4);
  }

protected:
  // Caption, enabled, hint and visible follow the action, Down its checked state and the glyph
  // its image.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;

private:
  // Raises the other held buttons of the group.
  void UpdateExclusive();
  bool Inside(int X, int Y) const { return X >= 0 && X < FWidth && Y >= 0 && Y < FHeight; }

  std::unique_ptr<TBitmap> FGlyph;
  bool FAllowAllUp = false;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FFlat = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FNumGlyphs = 1;
  int FSpacing = 4;
  TButtonState FState = bsUp;
  bool FDragging = false;
  bool FMouseInControl = false;
};
