// TCustomLabel / TLabel: a caption painted on the parent's window. It sizes itself to its text
// (AutoSize, on by default: a word-wrapped label keeps its width and grows in height, a
// right-aligned one keeps its right edge), and with a FocusControl an Alt mnemonic of the
// caption focuses that control.
#pragma once

#include "platform/forms/controls/GraphicControl.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/panels/ExtCtrls.h"

class TCustomLabel : public TGraphicControl {
  PELTO_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* AOwner);

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  // A transparent label leaves what is under it and paints only its text.
  bool GetTransparent() const { return !ControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Borrowed; forgotten when it is freed.
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  // Whether "&" marks the mnemonic ("&&" shows one "&"); off, every "&" shows.
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  void SetAutoSize(bool Value) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("Alignment", &ThisClass::GetAlignment, &ThisClass::SetAlignment).Default(taLeftJustify);
    p.Property("AutoSize", &ThisClass::GetAutoSize, &ThisClass::SetAutoSize).Default(true);
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("FocusControl", &ThisClass::GetFocusControl, &ThisClass::SetFocusControl);
    p.Property("Layout", &ThisClass::GetLayout, &ThisClass::SetLayout).Default(tlTop);
    p.Property("ShowAccelChar", &ThisClass::GetShowAccelChar, &ThisClass::SetShowAccelChar).Default(true);
    p.Property("Transparent", &ThisClass::GetTransparent, &ThisClass::SetTransparent).Default(false);
    p.Property("WordWrap", &ThisClass::GetWordWrap, &ThisClass::SetWordWrap).Default(false);
  }

protected:
  void Paint() override;
  // Draws the caption on DC (its font selected) into Rect with the DT_ flags of the label's
  // settings added to Flags; DT_CALCRECT measures into Rect.
  virtual void DoDrawText(HDC DC, RECT& Rect, UINT Flags);
  // The auto-size: the text's size, with the edge the alignment keeps.
  void AdjustBounds();
  void Dispatch(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  PELTO_CLASS(TLabel, TCustomLabel)
public:
  using TCustomLabel::TCustomLabel;
};
