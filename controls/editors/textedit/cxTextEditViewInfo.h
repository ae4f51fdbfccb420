// The text editor's view: TcxCustomTextEditViewData computes the text to draw (password stars,
// character case), the text flags, the selection highlight and the size a value needs;
// TcxCustomTextEditViewInfo holds the result, paints it (when the EDIT window is hidden, and in
// every grid cell) and decides whether a hint with the full text is needed.
#pragma once

#include "controls/editors/edit/cxEditViewData.h"
#include "controls/editors/edit/cxEditViewInfo.h"

class TcxCustomTextEditProperties;

class TcxCustomTextEditViewInfo : public TcxCustomEditViewInfo {
  PELTO_DECLARE_CLASS(TcxCustomTextEditViewInfo, TcxCustomEditViewInfo)
public:
  TcxCustomTextEditViewInfo() = default;

  // Text, TextRect, text flags, editing style, EDIT-window-shown, combo-box style, selection
  // and its colours, and the prepared rows (laid out again when TextOutData is not initialized).
  TcxTextPaintInfo TextInfo;
  bool ReversedSelection = false;  // the typed part is highlighted instead of the completion
  int MaxLineCount = 0;

  AnsiString GetText() const { return TextInfo.Text; }
  // The prepared rows point into the old text: a new text drops them.
  void SetText(const AnsiString& Value);

  void InternalPaint(TcxCanvas* ACanvas) override;
  void Offset(int DX, int DY) override;
  TcxCustomEditViewInfo* Clone() const override;
  void Assign(TcxContainerViewInfo* Source) override;
  virtual void DrawText(TcxCanvas* ACanvas);

protected:
  bool InternalNeedShowHint(TcxCanvas* ACanvas, POINT P, AnsiString& AText, bool& AIsMultiLine,
                            RECT& ATextRect) override;
  void CopyTextFrom(const TcxCustomTextEditViewInfo& S);
};

class TcxCustomTextEditViewData : public TcxCustomEditViewData {
  PELTO_DECLARE_CLASS(TcxCustomTextEditViewData, TcxCustomEditViewData)
public:
  TcxCustomTextEditViewData(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle, bool AIsInplace);

  bool UseProviderFormat = false;

  TcxCustomTextEditProperties* TextProperties() const;
  void InitCacheData() override;
  SIZE InternalGetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                  const TcxEditSizeProperties& AEditSizeProperties) override;
  void Calculate(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void GetClientExtent(TcxCustomEditViewInfo* AViewInfo, RECT& Extent) override;

  // The view info's text := the draw text of the value; the selection copied.
  virtual void PrepareDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo);
  virtual bool IsInnerEditShown();
  virtual bool DrawsAsComboBox() { return false; }
  virtual void CalculateTextFlags(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo);
  // The view info's text := the value's string form through DisplayValueToDisplayText.
  virtual void SetDrawText(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo);
  virtual int GetDrawTextFlags();
  virtual void GetTextOffsets(RECT& R);

  // The text the value shows: provider-formatted or through EditValueToDisplayValue, then the
  // password stars or the character case.
  AnsiString GetDrawText(const Variant& AEditValue);
};
