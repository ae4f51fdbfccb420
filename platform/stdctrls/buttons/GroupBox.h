// TCustomGroupBox / TGroupBox: an etched frame with its caption in the top line, holding other
// controls in the area inside the frame.
#pragma once

#include "platform/forms/controls/CustomControl.h"

class TCustomGroupBox : public TCustomControl {
  PELTO_CLASS(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* AOwner);

  PELTO_PUBLISHED(p) { p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption); }

protected:
  // Below the caption's line and inside the frame.
  void AdjustClientRect(RECT& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void CMDialogChar(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  // The height of a line of the font.
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
  PELTO_CLASS(TGroupBox, TCustomGroupBox)
public:
  using TCustomGroupBox::TCustomGroupBox;
};
