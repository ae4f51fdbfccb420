// TcxContainer: a painted control that draws a border, an optional shadow and a background around
// one inner window control that does the work (a list box, an edit), and makes the pair behave as
// one control: keys, focus, cursor, drag settings, colours and fonts go to the inner control,
// mouse events and focus changes come back, the border hot-tracks the mouse and the focus, and the
// inner control is clipped to the area inside the border.
//
// Call flow: a change (style, mouse, focus, size) -> RefreshView -> CalculateViewInfo ->
// AdjustInnerControl -> UpdateInnerControlColors -> window region -> invalidate the frame.
//
// The style and the view info are made on first use, so that a descendant's CreateStyle and
// CreateViewInfo are in force. The container owns both; the inner control is owned by whoever
// made it (normally the container, as its owner).
#pragma once

#include <memory>
#include <optional>

#include "controls/framework/cxContainerStyle.h"
#include "controls/framework/cxContainerViewInfo.h"
#include "controls/framework/cxControls.h"
#include "controls/framework/cxDragAndDrop.h"

class TcxContainer;

// Implemented by inner controls.
class IcxContainerInnerControl {
public:
  virtual ~IcxContainerInnerControl() = default;
  virtual TWinControl* GetControl() = 0;
  virtual TcxContainer* GetControlContainer() = 0;
};

class TcxContainer : public TcxControl, public IcxMouseTrackingCaller, public IcxContainerStyleOwner {
  PELTO_DECLARE_CLASS(TcxContainer, TcxControl)
public:
  explicit TcxContainer(TComponent* AOwner);
  ~TcxContainer() override;

  TWinControl* GetInnerControl() const { return FInnerControl; }
  TcxContainerStyle* GetStyle();
  // Copies the given style.
  void SetStyle(TcxContainerStyle* Value) { GetStyle()->Assign(Value); }
  TcxContainerViewInfo* GetViewInfo();
  // True when the container or its inner control has the focus (never at design time).
  bool Focused();
  void SetFocus() override;
  void SetDragMode(TDragMode Value);
  virtual void SetDragKind(TDragKind Value);
  // The clip rectangle the inner control was given, if any.
  const std::optional<RECT>& GetInnerControlClip() const { return FInnerClip; }
  // Raised and lowered by inner controls around their own SetBounds; never below 0.
  void SetInnerBoundsChanging(bool Entering);
  bool IsInnerControlFocused();
  // Recalculates and repaints the frame with the cursor's position.
  void ShortRefresh(bool IsMouseEvent = true);

  // ---- IcxMouseTrackingCaller
  void MouseLeave() override;

  // ---- IcxContainerStyleOwner
  bool GetParentColorFor(TColor& Color) override;
  TcxContainerStyleValues GetNotStoredStyleValues() override { return {}; }
  void RestoreStyleDefaults() override;

  PELTO_PUBLISHED(p);

protected:
  // Set by descendants; not owned through this pointer.
  void SetInnerControl(TWinControl* Value);
  virtual std::unique_ptr<TcxContainerStyle> CreateStyle();
  virtual std::unique_ptr<TcxContainerViewInfo> CreateViewInfo();
  virtual bool IsReferenceStyleNeeded() { return false; }

  // ---- Operations this class introduces
  virtual void UpdateInnerControlColors();
  virtual void CalculateViewInfo(POINT P, bool IsMouseEvent);
  virtual void ClearInnerControlBounds() { FInnerClip.reset(); }
  virtual void StyleChanged();
  virtual void DataChange() {}
  virtual void DataSetChange() {}
  virtual void MouseTrackingLeave();
  virtual RECT GetBorderExtent();
  // The part of Child's rectangle inside Bounds, in Child's coordinates; none when nothing is cut.
  virtual std::optional<RECT> GetChildClipRect(const RECT& Bounds, TControl* Child);
  virtual RECT GetMouseAreaBounds();
  virtual bool HasShadow();
  virtual bool IsInnerControlBoundsChanged(TWinControl* AControl, const std::optional<RECT>& Clip);
  virtual bool UseStandardTabOrder() { return false; }
  virtual void RefreshView(POINT P, int Button, bool IsMouseEvent, TShiftState Shift);
  virtual void SetInnerControlBounds(TWinControl* AControl, const std::optional<RECT>& Clip);
  // With own bars (HasOwnScrollBars), each painted bar mirrors the inner window's native one:
  // shown where it stands, enabled as it is, with its range, page and position.
  virtual void SyncScrollBars();
  virtual void AdjustInnerControl();
  virtual bool WantsTab() { return false; }
  virtual void UpdateData() {}
  virtual int GetThemedObjectType() { return 3; }
  virtual int GetNativePart() { return 1; }
  virtual int GetNativeState();
  // Offered every message an inner edit's default handler gets; True drops it.
  virtual bool InnerControlDefaultHandler(TMessage& Message) { return false; }
  virtual void FocusInnerControl();
  virtual void EnabledChanged();

  // ---- Overrides
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void AdjustClientRect(RECT& Rect) override;
  void AlignControls(TControl* AControl, RECT& Rect) override;
  void CreateHandle() override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  bool IsDragAllowedAt(int X, int Y) override { return false; }
  bool ShouldFocusOnClick() override;
  void GetClientBounds(RECT& R) override;
  using TcxControl::GetClientBounds;
  bool HasOwnScrollBars() override { return false; }
  bool IsFocused() override { return Focused(); }
  void ColorValueChanged() override;
  void CursorChanged() override;
  void FontChanged() override;
  void FocusChanged() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool GetFocusOnClick() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter(TControl* AControl) override;
  void MouseLeave(TControl* AControl) override;
  void Resize() override;
  void WMContextMenu(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMSysColorChange(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  void CMParentColorChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message) override;

  bool IsCreating() const { return FCreating; }
  bool IsContainerDestroying() const { return FDestroying || IsDestroying(); }
  bool FInnerMouseDown = false;  // the inner control forwards a press

private:
  void UpdateWindowRegion();
  void StartTracking();
  void SyncOwnScrollBar(TcxScrollBar* Bar, LONG Object, int BarKind);

  TWinControl* FInnerControl = nullptr;
  std::unique_ptr<TcxContainerStyle> FStyle;
  std::unique_ptr<TcxContainerViewInfo> FViewInfo;
  std::optional<RECT> FInnerClip;
  TShiftState FShiftState;
  int FInnerBoundsChanging = 0;
  bool FCreating = false;
  bool FApplyingStyle = false;
  bool FDestroying = false;
  bool FMovingInnerControl = false;
  bool FSyncingScrollBars = false;

  // The inner list box hands the container its events.
  friend class TcxCustomInnerListBox;
};

namespace cxContainer {
// Left 1, right 2, middle 3.
int MouseButtonCode(TMouseButton Button);
RECT GetControlRect(TControl* AControl);
void GetMouseCursorPos(POINT& P);
void InvalidateControlRect(TWinControl* AControl, const RECT& R, bool Erase);
// Invalidates the bands of R outside InnerRect (all of R when InnerRect is empty).
void InvalidateFrame(HWND Wnd, const RECT& R, const RECT& InnerRect, bool Erase);
// The rectangle region of R (united with R moved by (3, 3) for a shadow, less Excluded); none for
// NoRegion. The window's region changes only when it differs.
void SetWindowRegion(HWND Wnd, const RECT& R, bool NoRegion, bool Shadow, const RECT* Excluded = nullptr);
// Null removes the region.
void SetChildRegion(TWinControl* AControl, const std::optional<RECT>& R);
bool IsHandleOfControl(TWinControl* AControl, HWND Handle);
TShiftState GetShiftState();
bool StringsEqual(const AnsiString& S1, const AnsiString& S2, bool CaseSensitive);
// Where the window's native bar (OBJID_HSCROLL or OBJID_VSCROLL) stands, in Host's client
// coordinates: false when it is hidden, or when it would start left of or above Host's client
// area or be larger than MaxSize. Unavailable tells whether the native bar is disabled.
bool NativeScrollBarBounds(HWND Wnd, LONG Object, TWinControl* Host, SIZE MaxSize, RECT& Bounds, bool& Unavailable);
// The native bar's range, position and page (limited to its Max) into the painted bar.
void CopyNativeScrollInfo(HWND Wnd, int BarKind, TcxScrollBar* Bar);
}  // namespace cxContainer
