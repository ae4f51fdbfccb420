// The computed look of an editor: TcxCustomEditViewInfo with one TcxEditButtonViewInfo per
// visible button, on the painting layer's view of them (paint/cxEditUtils.h). A view data object
// (cxEditViewData.h) fills them; cxEditUtils paints them. A view info compares itself with an
// older copy so that only what changed is repainted.
#pragma once

#include <memory>
#include <vector>

#include "controls/editors/edit/cxEditTypes.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "platform/forms/graphics/Colors.h"

class TFont;
class TWinControl;

class TcxEditButtonViewInfo : public TPersistent, public TcxEditButtonPaintInfo {
  PELTO_DECLARE_CLASS(TcxEditButtonViewInfo, TPersistent)
public:
  int ButtonIndex = -1;  // in the properties' button collection
  bool Default = false;
  bool EraseBackground = false;

  // Copies NativeState, BackgroundColor, Bounds, Style and State.
  void Assign(TPersistent* Source) override;
  // Whether something drawn (state, style, background, theme state) differs from the old one.
  bool Changed(const TcxEditButtonViewInfo* AOld) const;
  // A new region (owned by the caller): empty when nothing drawn changed, else Bounds.
  virtual TcxRegion* GetChangedRegion(TcxEditButtonViewInfo* AOldViewInfo);
  // Invalidates Bounds moved by AEditPosition in AControl's window when something drawn changed.
  virtual bool Repaint(TWinControl* AControl, TcxEditButtonViewInfo* AOldViewInfo, POINT AEditPosition);
};

class TcxCustomEditViewInfo : public TcxEditPaintViewInfo {
  PELTO_DECLARE_CLASS(TcxCustomEditViewInfo, TcxEditPaintViewInfo)
public:
  TcxCustomEditViewInfo() = default;
  ~TcxCustomEditViewInfo() override = default;

  int PressedButton = -1, HotButton = -1;
  TcxCustomEditProperties* Properties = nullptr;  // borrowed
  TFont* Font = nullptr;                          // the style's, borrowed
  bool EraseBackground = false;
  bool InnerEditVisible = false;
  bool HasContainerInnerControl = false;  // the editor offers IcxContainerInnerControl
  TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
  bool ButtonsChanged = false;
  RECT InnerEditRect{};
  TcxEditPaintOptions PaintOptions = 0;
  HWND WindowHandle = 0;

  int ButtonCount() const { return int(ButtonsInfo.size()); }
  TcxEditButtonViewInfo* Button(int Index) const
  {
    return static_cast<TcxEditButtonViewInfo*>(ButtonsInfo.at(Index).get());
  }
  // Frees surplus button view infos from the end or makes missing ones.
  void SetButtonCount(int Count);
  // Any button in the hot state.
  bool HasHotButton() const;
  // P is relative to the view info's origin.
  bool PtInButtons(POINT P) const;
  // False with the out values cleared in the base.
  bool NeedShowHint(TcxCanvas* ACanvas, POINT P, AnsiString& AText, bool& AIsMultiLine, RECT& ATextRect);
  // Called before text is drawn so a descendant can change the font.
  virtual void PrepareCanvasFont(TcxCanvas* ACanvas) {}
  // Invalidates in AControl what differs from the old view info (the frame without one); answers
  // whether anything was invalidated.
  virtual bool Repaint(TWinControl* AControl, TcxCustomEditViewInfo* AOldViewInfo, const RECT& AInnerEditRect);
  virtual TcxEditButtonViewInfo* CreateButtonViewInfo() { return new TcxEditButtonViewInfo; }
  // A new view info of the same class with this one's state copied; the caller owns it.
  virtual TcxCustomEditViewInfo* Clone() const;

  void Assign(TcxContainerViewInfo* Source) override;
  TcxRegion* GetRepaintRegion(TcxContainerViewInfo* AOldViewInfo) override;
  void Offset(int DX, int DY) override;

protected:
  virtual bool InternalNeedShowHint(TcxCanvas* ACanvas, POINT P, AnsiString& AText, bool& AIsMultiLine, RECT& ATextRect)
  {
    return false;
  }
  // Copies every field of Source (buttons included).
  void CopyFrom(const TcxCustomEditViewInfo& Source);
};
