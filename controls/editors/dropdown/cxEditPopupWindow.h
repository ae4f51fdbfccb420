// TcxCustomEditPopupWindow: the drop-down panel of an editor. It opens under (or above) its
// editor, sized from its content or from a stored size, with an optional system panel that holds
// a size grip and a close button, an optional shadow, and, when sizeable, lets the user drag the
// two edges away from the editor (or the grip) while an outline shows the new rectangle.
//
// Call flow of a resize: MouseDown (GetSizingDirection) -> capture, outline shown -> MouseMove
// (TrackRect: limits, work area, overlap with the editor, minimum size) -> outline moved ->
// MouseUp -> bounds taken, layout again, OnUserResized when the size really changed.
//
// The outline is four borderless windows: every back end can show windows, not all of them can
// draw across windows. Ownership: the window owns its view info and outline; the editor and the
// content control are borrowed.
#pragma once

#include <functional>
#include <memory>

#include "controls/editors/paint/cxEditUtils.h"
#include "controls/framework/cxCustomPopupWindow.h"

class TcxCustomEdit;
class TcxSizingOutline;

class TcxCustomEditPopupWindowViewInfo : public TcxContainerViewInfo {
  PELTO_DECLARE_CLASS(TcxCustomEditPopupWindowViewInfo, TcxContainerViewInfo)
public:
  TcxCustomEditPopupWindowViewInfo() = default;
  // Flags, grip corner, close-button state and the computed layout.
  TcxEditPopupPaintInfo Info;

  void InternalPaint(TcxCanvas* Canvas) override;
  // Recomputes the layout for a window of AWidth x AHeight.
  void Calculate(int AWidth, int AHeight);
  // The frame around the client rectangle (border, client edge, shadow, system panel).
  RECT GetBorderExtents();
  // The horizontal and vertical sizing direction (-1, 0, 1) at P (window coordinates); both 0
  // outside the sizing bands and the grip. Only the two edges away from the editor size.
  void GetSizingDirection(POINT P, int& DX, int& DY);
};

class TcxCustomEditPopupWindow : public TcxCustomPopupWindow {
  PELTO_DECLARE_CLASS(TcxCustomEditPopupWindow, TcxCustomPopupWindow)
public:
  explicit TcxCustomEditPopupWindow(TcxCustomEdit* AOwnerEdit);
  ~TcxCustomEditPopupWindow() override;

  TcxCustomEdit* GetEdit() const { return FEdit; }
  TcxCustomEditPopupWindowViewInfo* GetPopupViewInfo();

  // ---- Settings (the drop-down editor's ConfigurePopupWindow fills them)
  int GetAlignHorz() const { return FAlignHorz; }  // 0 left, 1 centre, 2 right
  void SetAlignHorz(int Value) { FAlignHorz = Value; }
  bool GetPopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupAutoSize(bool Value) { FPopupAutoSize = Value; }
  bool GetClientEdge() const { return FClientEdge; }
  void SetClientEdge(bool Value) { FClientEdge = Value; }
  int GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value) { FMinWidth = Value; }
  int GetMinHeight() const { return FMinHeight; }
  void SetMinHeight(int Value) { FMinHeight = Value; }
  // The stored size; 0 takes the editor's width, or the minimum height.
  int GetPopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(int Value) { FPopupWidth = Value; }
  int GetPopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(int Value) { FPopupHeight = Value; }
  bool GetSizeable() const { return FSizeable; }
  void SetSizeable(bool Value) { FSizeable = Value; }
  bool GetSysPanelStyle() const { return FSysPanelStyle; }
  void SetSysPanelStyle(bool Value) { FSysPanelStyle = Value; }
  bool GetShadow() const { return FShadow; }
  void SetShadow(bool Value) { FShadow = Value; }
  TcxEditPopupBorderStyle GetPopupBorderStyle() const { return FBorderStyle; }
  void SetPopupBorderStyle(TcxEditPopupBorderStyle Value) { FBorderStyle = Value; }
  bool GetNativeStyle() const { return FNativeStyle; }
  void SetNativeStyle(bool Value) { FNativeStyle = Value; }
  TcxLookAndFeelKind GetCloseButtonKind() const { return FCloseButtonKind; }
  void SetCloseButtonKind(TcxLookAndFeelKind Value) { FCloseButtonKind = Value; }
  int GetMinSysPanelHeight() const { return FMinSysPanelHeight; }
  void SetMinSysPanelHeight(int Value) { FMinSysPanelHeight = Value; }

  // The frame: width and height, with the grip, the close button and 10 more when sizeable with
  // the system panel.
  SIZE GetMinSize();
  bool IsSizing() const { return FSizingDX != 0 || FSizingDY != 0; }
  // The rectangle a drag in the current sizing directions by (DX, DY) gives, in screen coordinates.
  RECT TrackRect(int DX, int DY);
  // Lays out the view info for the current size and places the content.
  void RecalculateLayout();
  // Shown while sizing: four windows around the tracked rectangle; none otherwise.
  bool IsOutlineShown() const;
  RECT GetOutlineRect() const;
  int GetCloseButtonState() const { return int(GetViewInfoConst().Info.CloseButtonState); }

  // The content's size for an auto-sized pop-up; the content control's size by default.
  std::function<void(TObject* Sender, SIZE& Size)> OnGetContentSize;
  // After a drag that changed the size.
  TNotifyEvent OnUserResized;
  // A release on the close button after the close query agreed: the drop-down closes without
  // accepting; without a handler the pop-up just closes.
  TNotifyEvent OnCloseButtonClick;
  // Borrowed; placed on the client rectangle after each layout.
  TControl* Content = nullptr;

  void CalculateSize() override;
  POINT CalculatePosition() override;
  void ClosePopup(bool AskCloseQuery = true) override;

protected:
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Dispatch(TMessage& Message) override;
  void Resize() override;

private:
  const TcxCustomEditPopupWindowViewInfo& GetViewInfoConst() const;
  void FillViewInfo();
  void EndSizing(bool Apply);
  void SetCloseButtonState(TcxButtonState State);
  // The editor's rectangle in screen coordinates.
  RECT GetEditScreenRect();

  TcxCustomEdit* FEdit;
  int FAlignHorz = 0;
  bool FPopupAutoSize = true, FClientEdge = false, FSizeable = false, FSysPanelStyle = false, FShadow = false;
  bool FNativeStyle = false;
  int FMinWidth = 0, FMinHeight = 0, FPopupWidth = 0, FPopupHeight = 0, FMinSysPanelHeight = 0;
  TcxEditPopupBorderStyle FBorderStyle = epbsDefault;
  TcxLookAndFeelKind FCloseButtonKind = lfUltraFlat;
  int FGripCorner = 3;
  // Sizing: directions, where the drag began, the rectangle then and now (screen).
  int FSizingDX = 0, FSizingDY = 0;
  POINT FSizingStart{};
  RECT FSizingStartRect{}, FSizingRect{};
  bool FCloseButtonPressed = false;
  std::unique_ptr<TcxSizingOutline> FOutline;
};
