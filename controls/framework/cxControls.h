// TcxControl: the base of every painted window control of the family. It adds to TCustomControl
// a TcxCanvas, an own look-and-feel, an optional painted border, two own painted scroll bars with
// a size grip, mouse-wheel scrolling and middle-button panning, focus-on-click rules, a per-point
// cursor, a pop-up menu that is any component implementing IcxPopupMenu, font listeners, self
// references that survive the control being freed inside its own handlers, and the family's own
// drag and drop (cxDragAndDrop.h).
//
// Call flow of the own bars: BoundsChanged -> UpdateScrollBars -> UpdateScrollBarsParameters
// (descendants call SetScrollBarInfo for both bars) repeated until the visibility of both bars
// settles -> ApplyCalculatedState -> PlaceScrollBars.
//
// Ownership: the control owns its canvas, look-and-feel, bars, grip and drag-and-drop object;
// the pop-up menu, listeners and the mouse-capture object are borrowed.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/framework/cxClasses.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/cxScrollBar.h"
#include "platform/forms/controls/CustomControl.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TcxCanvas;
class TcxControl;
class TcxDragAndDropObject;
class TcxDragImageList;
class TDragImageList;
class TDragObject;

PELTO_ENUM(TcxControlBorderStyle, cxcbsNone, cxcbsDefault)
PELTO_ENUM(TcxControlKey, kAll, kArrows, kChars, kTab)
PELTO_SET(TcxControlKeys, TcxControlKey)
PELTO_ENUM(TcxMouseWheelScrollingKind, mwskNone, mwskHorizontal, mwskVertical)
PELTO_ENUM(TcxDragAndDropState, ddsNone, ddsPending, ddsDragging)

// Scroll direction codes of the wheel, panning and ScrollByDirection.
enum TcxDirection { dirNone = 0, dirLeft = 1, dirRight = 2, dirUp = 3, dirDown = 4 };

// The family's cursors, registered in the screen's cursor table by Initialize.
constexpr TCursor crcxDragCopy = 2100, crcxFullScroll = 2101, crcxHorScroll = 2102, crcxVerScroll = 2103,
                  crcxUpScroll = 2104, crcxRightScroll = 2105, crcxDownScroll = 2106, crcxLeftScroll = 2107,
                  crcxRemove = 2108, crcxVertSize = 2109, crcxHorzSize = 2110, crcxMultiDrag = 2111, crcxNoDrop = 2112,
                  crcxDrag = 2113;

// Sent to every registered control when the system's scroll-bar metrics change.
constexpr UINT CM_NCSIZECHANGED = 0x8131;

// A pop-up menu of the family: anything that can pop up at a screen point.
class IcxPopupMenu {
public:
  virtual ~IcxPopupMenu() = default;
  virtual void Popup(int X, int Y) = 0;
};

// An object that holds the mouse capture through a control; told when another takes it.
class IcxMouseCaptureObject {
public:
  virtual ~IcxMouseCaptureObject() = default;
  virtual void MouseCaptureLost() = 0;
};

class IcxFontListener {
public:
  virtual ~IcxFontListener() = default;
  virtual void Changed(TcxControl* Sender, TFont* Font) = 0;
};

// What a control's own bar will be after the visibility calculation.
struct TcxScrollBarState {
  int Min = 0, Max = 0, Position = 0, PageSize = 0;
  short SmallChange = 1, LargeChange = 1;
  bool Enabled = false, Visible = false, AllowShow = false, AllowHide = false;
};

// The own scroll bar of a TcxControl; its look-and-feel follows the control's.
class TcxControlScrollBar : public TcxScrollBar {
  PELTO_DECLARE_CLASS(TcxControlScrollBar, TcxScrollBar)
public:
  explicit TcxControlScrollBar(TComponent* AOwner);
  void ApplyCalculatedState();
  TcxScrollBarState CalculatedState;

protected:
  // Focuses the owning control before a press (when it agrees to be focused).
  virtual void FocusParent();
  void WndProc(TMessage& Message) override;
};

class TcxSizeGrip : public TCustomControl {
  PELTO_DECLARE_CLASS(TcxSizeGrip, TCustomControl)
public:
  explicit TcxSizeGrip(TComponent* AOwner);

protected:
  void Paint() override;
};

// A component that belongs to a control (the grid's levels and views).
class TcxControlChildComponent : public TcxComponent {
  PELTO_DECLARE_CLASS(TcxControlChildComponent, TcxComponent)
public:
  explicit TcxControlChildComponent(TComponent* AOwner);
  ~TcxControlChildComponent() override;
  // Made with the control's owner (or none) and attached to the control. The caller owns the
  // result when OwnedByControlOwner is false.
  template <class T>
  static T* CreateForControl(TcxControl* AControl, bool OwnedByControlOwner = true);
  TcxControl* GetControl() const { return FControl; }
  virtual bool IsDestroying() const;
  virtual void SetControl(TcxControl* Value) { FControl = Value; }
  bool IsLoading() const;
  bool HasParent() override { return FControl != nullptr; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;

private:
  TcxControl* FControl = nullptr;
};

class TcxControl : public TCustomControl {
  PELTO_DECLARE_CLASS(TcxControl, TCustomControl)
public:
  explicit TcxControl(TComponent* AOwner);
  ~TcxControl() override;

  TcxControlBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TcxControlBorderStyle Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TcxControlKeys GetKeys() const { return FKeys; }
  void SetWantedKeys(TcxControlKeys Value) { FKeys = Value; }
  // Owned; the setter copies the given object.
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value);
  // A TPopupMenuBase or a component implementing IcxPopupMenu; anything else is stored as null.
  TComponent* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  TcxCanvas* GetCanvas() const { return FCanvas.get(); }
  // The control's canvas while its window exists, else a screen canvas (for measuring).
  TcxCanvas* GetActiveCanvas();
  TcxControlScrollBar* GetHScrollBar() const { return FHScrollBar.get(); }
  TcxControlScrollBar* GetVScrollBar() const { return FVScrollBar.get(); }
  TcxSizeGrip* GetSizeGrip() const { return FSizeGrip.get(); }
  bool IsScrollBarsUpdating() const { return FCalculatingScrollBarsParams; }
  bool IsPanning() const { return FIsPanning; }

  // ---- Queries and helpers that descendants and their owners call
  bool IsDestroying() const;
  bool IsLoading() const;
  bool IsHScrollBarVisible() const;
  bool IsVScrollBarVisible() const;
  void SetScrollBarInfo(TScrollBarKind Kind, int Min, int Max, int Step, int Page, int Pos, bool AllowShow,
                        bool AllowHide);
  void ScrollByDirection(int Direction);
  void InvalidateRect(const RECT& R, bool EraseBackground);
  bool IsNearMouseDownPos(int X, int Y) const;
  POINT GetMouseDownPos() const { return FMouseDownPos; }
  // Ref is set to null when the control is destroyed (the last registered first).
  void AddSelfReference(TcxControl** Ref);
  void RemoveSelfReference(TcxControl** Ref);
  void AddListener(IcxFontListener* Listener);
  void RemoveListener(IcxFontListener* Listener);
  TObject* GetMouseCaptureObject() const { return FMouseCaptureObject; }
  void SetMouseCaptureObject(TObject* Value);
  void DesignerModified();
  virtual bool CanFocusOnForm();

  // ---- Drag and drop inside the control (cxDragAndDrop.h)
  TcxDragAndDropObject* GetDragAndDropObject();
  // Makes the object of one gesture (the classic class reference).
  using TcxDragAndDropObjectClass = std::function<TcxDragAndDropObject*(TcxControl*)>;
  TcxDragAndDropObjectClass GetDragAndDropObjectClassValue() const { return FDragAndDropObjectClass; }
  void SetDragAndDropObjectClass(TcxDragAndDropObjectClass Value) { FDragAndDropObjectClass = std::move(Value); }
  TcxDragAndDropState GetDragAndDropState() const { return FDragAndDropState; }
  void SetDragAndDropState(TcxDragAndDropState Value);
  void FinishDragAndDrop(bool Accepted);
  TDragImageList* GetDragImages() override;

  // ---- Own scroll bars
  virtual void UpdateScrollBars();
  virtual void GetBounds(RECT& R);
  RECT GetBounds()
  {
    RECT r;
    GetBounds(r);
    return r;
  }
  virtual void GetClientBounds(RECT& R);
  RECT GetClientBounds()
  {
    RECT r;
    GetClientBounds(r);
    return r;
  }
  virtual void GetHScrollBarBounds(RECT& R);
  virtual void GetVScrollBarBounds(RECT& R);
  virtual void GetSizeGripBounds(RECT& R);
  // While not empty it replaces the client rectangle in GetBounds.
  void SetBoundsRect(const RECT& R) { FBounds = R; }
  virtual TcxCustomLookAndFeelPainterClass GetLookAndFeelPainter();
  virtual int GetBorderSize();

  TNotifyEvent OnFocusChanged, OnMouseEnter, OnMouseLeave;

  PELTO_PUBLISHED(p);

protected:
  // ---- Overrides of the class library
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void Resize() override;

  // ---- Operations this class introduces
  virtual bool DoShowPopupMenu(TComponent* Menu, int X, int Y);
  virtual void ParentBackgroundChanged() {}
  virtual void StartAutoDragOnMove(TMouseButton Button, int X, int Y);
  virtual bool IsDragAllowedAt(int X, int Y) { return true; }
  virtual void BeforeMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {}
  virtual void FinishMouseOperations();
  virtual bool ShouldFocusOnClick();
  virtual bool MayFocus() { return ShouldFocusOnClick(); }
  virtual TCursor GetCurrentCursor(int X, int Y) { return FDefaultCursor; }
  virtual bool IsDesigning() const;
  virtual bool IsFocused() { return Focused(); }
  virtual TcxMouseWheelScrollingKind GetMouseWheelScrollingKind();
  virtual bool EraseBackgroundNeeded() { return false; }
  virtual void AttachScrollBars();
  virtual bool IsInternalControl(TControl* AControl);
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) {}
  virtual void InitScrollBars() {}
  virtual void UpdateScrollBarsParameters() {}
  virtual bool IsPixelScrollBar(TScrollBarKind Kind) { return false; }
  virtual bool HasOwnScrollBars() { return true; }
  virtual void Scroll(TScrollBarKind Kind, TScrollCode ScrollCode, int& ScrollPos) {}
  virtual void PlaceScrollBars();
  // The stored class, else TcxDragAndDropObject.
  virtual TcxDragAndDropObjectClass GetDragAndDropObjectClass();
  virtual void DrawDragImage(TcxCanvas* ACanvas, const RECT& R) {}
  // TcxDragImageList without owner.
  virtual TDragImageList* CreateDragImages();
  using TDragObjectClass = std::function<TDragObject*(TControl*)>;
  // TcxDragControlObject.
  virtual TDragObjectClass GetDragObjectClass();
  virtual SIZE GetDragImagesSize() { return SIZE{0, 0}; }
  virtual bool HasDragImages() { return false; }
  virtual void InitDragImages(TDragImageList* AImages);
  virtual bool IsWithinMouseDownArea(int X, int Y);

  // ---- Dynamic hooks
  virtual void ColorValueChanged() {}
  virtual void VisibleChanged() {}
  virtual void AddChildComponent(TcxControlChildComponent* Child) { Child->SetControl(this); }
  virtual void RemoveChildComponent(TcxControlChildComponent* Child) { Child->SetControl(nullptr); }
  virtual bool AllowMouseDownWithoutFocus() { return false; }
  virtual void BoundsChanged() { UpdateScrollBars(); }
  virtual bool CanBeginAutoDrag(int X, int Y) { return FDragAndDropState == ddsNone; }
  virtual void CursorChanged() { FDefaultCursor = GetCursor(); }
  virtual void ReleaseMouseCaptureObject() { SetMouseCaptureObject(nullptr); }
  virtual void FocusChanged();
  virtual void FontChanged();
  virtual bool CanDrag(int X, int Y, TShiftState Shift) { return FDragAndDropState != ddsNone; }
  virtual bool GetFocusOnClick() { return true; }
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);
  virtual void TextChanged() {}
  virtual void DragAndDrop(POINT P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);
  virtual bool StartDragAndDrop(POINT P) { return false; }
  // Whether a class-library drag may go on with this drag object; refused drags are cancelled.
  virtual bool StartDrag(TDragObject* DragObject) { return true; }
  virtual void BeginDragAndDrop();

  // ---- Message handlers
  void WMCancelMode(TMessage& Message) override;
  void WMContextMenu(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMCursorChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  void StartPanning();
  void SetDefaultCursor(TCursor Value) { FDefaultCursor = Value; }

private:
  void CreateScrollBars();
  void DestroyScrollBars();
  void ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
  void NCSizeChanged();
  void CalculateScrollBarsVisibility();
  void SetInternalCursor(TCursor Value);

  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxCanvas> FScreenCanvas;  // while there is no window
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TcxControlScrollBar> FHScrollBar, FVScrollBar;
  std::unique_ptr<TcxSizeGrip> FSizeGrip;
  std::unique_ptr<TcxDragAndDropObject> FDragAndDropObject;
  std::unique_ptr<TDragImageList> FDragImages;
  TcxDragAndDropObjectClass FDragAndDropObjectClass;
  TcxControlBorderStyle FBorderStyle = cxcbsNone;
  TScrollStyle FScrollBars = ssBoth;
  TcxControlKeys FKeys;
  TComponent* FPopupMenu = nullptr;
  TCursor FDefaultCursor = crDefault;
  bool FSettingCursor = false;  // the control sets Cursor itself; the default stays
  bool FCalculatingScrollBarsParams = false;
  bool FInVisibilityCalculation = false;
  bool FScrollBarsSettled = false;
  bool FSavedHVisible = false, FSavedVVisible = false;
  std::vector<IcxFontListener*> FListeners;
  std::vector<TcxControl**> FSelfReferences;
  TObject* FMouseCaptureObject = nullptr;
  POINT FMouseDownPos{-1, -1};
  TcxDragAndDropState FDragAndDropState = ddsNone;
  bool FFinishingDragAndDrop = false;
  TCursor FDragAndDropPrevCursor = crDefault;
  bool FIsPanning = false;
  bool FLastParentBackground = true;
  RECT FBounds{};

  friend class TcxControlScrollBar;
  friend class TcxControlChildComponent;
};

template <class T>
T* TcxControlChildComponent::CreateForControl(TcxControl* AControl, bool OwnedByControlOwner)
{
  T* Result = new T(OwnedByControlOwner && AControl ? AControl->GetOwner() : nullptr);
  Result->SetControl(AControl);
  return Result;
}

namespace cxControls {
// The mouse cursor in screen coordinates.
void GetMouseCursorPos(POINT& P);
inline int Identity(int Value) { return Value; }
// Shows a TPopupMenuBase (AutoPopup) or an IcxPopupMenu at a screen point; false for others.
bool ShowPopupMenu(TControl* AControl, TComponent* AMenu, int X, int Y);
// Nested: the first call sets the hourglass, the last RestoreCursor puts the saved cursor back.
void ShowHourglassCursor();
void RestoreCursor();
UINT GetDoubleClickInterval();
// The work area of the monitor nearest to the point.
RECT GetDesktopWorkArea(POINT P);
bool IsCtrlPressed();
// Both distances strictly below Mouse.DragThreshold.
bool IsWithinDragThreshold(POINT MouseDownPoint, int X, int Y);
// Maps a rectangle between two windows' client coordinates (null: the screen).
void MapWindowRect(HWND From, HWND To, RECT& R);

// Registers the cursors; creates nothing else until first use. Idempotent.
void Initialize();
// Frees the settings controller, the tracking timers left over and the cursors.
void Finalize();
}  // namespace cxControls
