// TControl: the base of every control, windowed or not. It holds the bounds, alignment, anchors
// and constraints, visibility and enabled state, colour and font with their inheritance from
// the parent, hints, cursor, pop-up menu and action, and turns mouse messages into the mouse
// and click events. Messages reach it through WindowProc (WndProc by default), which Dispatch
// routes to the handlers below; what no handler takes goes to DefaultHandler.
//
// Ownership: the owner (TComponent) deletes the control; the parent only shows it. Deleting a
// control takes it out of its parent. The font, the constraints and the action link are owned
// by the control; the pop-up menu and the action are borrowed (the control hears when they are
// freed and forgets them).
//
// A windowless control (TGraphicControl) gets its mouse messages from its parent, in its own
// client coordinates, and paints in its parent's WM_PAINT.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/controls/ControlEnums.h"
#include "platform/forms/controls/DockTypes.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/controls/PopupMenuBase.h"
#include "platform/forms/controls/SizeConstraints.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"

class TWinControl;
class TFont;
class TSizeConstraints;
class TBasicAction;
class TControlActionLink;
class TPopupMenuBase;
class TDragImageList;
class TCustomForm;
class TControl;

using TWndMethod = std::function<void(TMessage& Message)>;

// What CM_HINTSHOW hands a control (LParam points to it): the control may change the text,
// where the hint shows, how long it waits and stays, or refuse the hint (Result non-zero).
struct THintInfo {
  TControl* HintControl = nullptr;
  TClass HintWindowClass = nullptr;  // another hint window class for this hint (null: the application's)
  POINT HintPos;                     // screen coordinates of the hint window's top-left corner
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  RECT CursorRect;  // client coordinates: the hint stays while the mouse is inside
  POINT CursorPos;  // client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  AnsiString HintStr;
  void* HintData = nullptr;
};

class TControl : public TComponent {
  PELTO_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- Messages
  // The control's message procedure; WndProc unless a user subclassed it.
  TWndMethod WindowProc;
  // Sends a message straight to WindowProc and answers its Result.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);

  // ---- Parent and bounds
  TWinControl* GetParent() const { return FParent; }
  // Raises EInvalidOperation "Control '%s' can't have itself as a parent" and, for a parent that
  // does not accept the control, the error its InsertControl raises.
  virtual void SetParent(TWinControl* AParent);
  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  RECT GetBoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBoundsRect(const RECT& R) { SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top); }
  // Applies the constraints and CanResize, moves the window (if any), re-aligns the parent and
  // remembers the new place for the anchors.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  // (0, 0, ClientWidth, ClientHeight).
  virtual RECT GetClientRect();
  int GetClientWidth() { return GetClientRect().right; }
  int GetClientHeight() { return GetClientRect().bottom; }
  void SetClientWidth(int Value) { SetClientSize(Value, GetClientHeight()); }
  void SetClientHeight(int Value) { SetClientSize(GetClientWidth(), Value); }
  virtual void SetClientSize(int AWidth, int AHeight);
  // The client origin on the screen.
  virtual POINT GetClientOrigin();
  POINT ClientToScreen(POINT P);
  POINT ScreenToClient(POINT P);

  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* GetConstraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* Value);
  bool GetAutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);

  // ---- State
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show();
  void Hide();
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Visible, and so are the parents up to a window the control does not own.
  virtual bool IsShowing() const;
  TControlStyle ControlStyle;
  TControlState ControlState;

  // ---- Looks
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* GetFont() const { return FFont.get(); }
  // Copies Value.
  void SetFont(TFont* Value);
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The caption or text; a windowed control holds it in its window while it has one.
  AnsiString GetText();
  void SetText(const AnsiString& Value);
  AnsiString GetCaption() { return GetText(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }

  // ---- Hints: "short|long"; the hint window shows the short part.
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);

  // ---- Menu and action (borrowed; forgotten when freed)
  TPopupMenuBase* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenuBase* Value);
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* GetActionLink() const { return FActionLink.get(); }
  // An action offered to the control (it is focused, or the form of the focused control):
  // answers whether the control ran it (or updated it). Here: when the action handles the
  // control as its target.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  // ---- Dragging
  TDragMode GetDragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TCursor GetDragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  TDragKind GetDragKind() const { return FDragKind; }
  void SetDragKind(TDragKind Value) { FDragKind = Value; }
  // Starts dragging this control: at once, or once the mouse moved Threshold pixels (a
  // negative Threshold: Mouse.DragThreshold) with the left button held.
  void BeginDrag(bool Immediate, int Threshold = -1);
  // Ends a drag of this control; Drop tells whether the target takes it.
  void EndDrag(bool Drop);
  bool Dragging() const;
  // Answers whether Source may be dropped here (OnDragOver; refused without a handler).
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  // The images shown while this control is dragged; none here. Borrowed.
  virtual TDragImageList* GetDragImages() { return nullptr; }

  // ---- Docking (DockDrag.h and DockTree.h hold the machinery)
  // The dock site holding the control, null when it is not docked.
  TWinControl* GetHostDockSite() const { return FHostDockSite; }
  // Docks into Value (null floats the control where it is).
  void SetHostDockSite(TWinControl* Value);
  // Held by a floating host of FloatingDockSiteClass, or a top-level control with no host.
  bool Floating() const;
  // The class of the tool window a floating control lives in (a TWinControl taking its owner).
  TClass GetFloatingDockSiteClass() const;
  void SetFloatingDockSiteClass(TClass Value) { FFloatingDockSiteClass = Value; }
  // The size the control takes when it floats; 0: the size it had before it was docked.
  int GetUndockWidth() const { return FUndockWidth > 0 ? FUndockWidth : FFloatSize.cx > 0 ? FFloatSize.cx : FWidth; }
  void SetUndockWidth(int Value) { FUndockWidth = Value; }
  int GetUndockHeight() const
  {
    return FUndockHeight > 0 ? FUndockHeight : FFloatSize.cy > 0 ? FFloatSize.cy : FHeight;
  }
  void SetUndockHeight(int Value) { FUndockHeight = Value; }
  // Docks the control into NewDockSite beside DropControl (a client of the site) on ControlSide
  // (alNone: the site's default place). Answers false when the site or the old host refused.
  bool ManualDock(TWinControl* NewDockSite, TControl* DropControl = nullptr, TAlign ControlSide = alNone);
  // Floats the control in a tool window whose client area is ScreenPos (screen coordinates); a
  // form floats as its own window there. Answers false when the old host refused to let go.
  bool ManualFloat(const RECT& ScreenPos);
  // Takes NewDockSite as host and parent; ARect (screen) is where the drop put it.
  virtual void Dock(TWinControl* NewDockSite, const RECT& ARect);

  // ---- Painting
  // Marks the control for repainting (a windowless one marks its rectangle in the parent).
  virtual void Invalidate();
  // Paints the pending parts now.
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // ---- Actions
  virtual void Click();
  virtual void DblClick();
  // Whether the point (client coordinates) is part of the control for the mouse.
  virtual bool HitTest(int X, int Y) { return true; }
  // Scales position, size and font by M/D (the form's PixelsPerInch change).
  virtual void ChangeScale(int M, int D);
  // Whether the control has a parent for the streaming system.
  bool HasParent() override { return true; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;

  // The form the control sits on, or null.
  TCustomForm* GetParentForm() const;

  // ---- Events (sender first)
  TNotifyEvent OnClick, OnDblClick, OnResize;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDrag;
  TContextPopupEvent OnContextPopup;
  TStartDockEvent OnStartDock;
  TEndDragEvent OnEndDock;

  PELTO_PUBLISHED(p)
  {
    p.Property("Left", &ThisClass::GetLeft, &ThisClass::SetLeft);
    p.Property("Top", &ThisClass::GetTop, &ThisClass::SetTop);
    p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth);
    p.Property("Height", &ThisClass::GetHeight, &ThisClass::SetHeight);
    p.Property("Align", &ThisClass::GetAlign, &ThisClass::SetAlign).Default(alNone);
    p.Property("Anchors", &ThisClass::GetAnchors, &ThisClass::SetAnchors);
    p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor)
        .StoredWhen(TPublisher<ThisClass>::When([](const TControl* c) { return !c->GetParentColor(); }));
    p.Property("Constraints", &ThisClass::GetConstraints, &ThisClass::SetConstraints);
    p.Property("Cursor", TypeInfo_TCursor(), &ThisClass::GetCursor, &ThisClass::SetCursor).Default(crDefault);
    p.Property("DragCursor", TypeInfo_TCursor(), &ThisClass::GetDragCursor, &ThisClass::SetDragCursor).Default(crDrag);
    p.Property("DragKind", &ThisClass::GetDragKind, &ThisClass::SetDragKind).Default(dkDrag);
    p.Property("DragMode", &ThisClass::GetDragMode, &ThisClass::SetDragMode).Default(dmManual);
    p.Property("Enabled", &ThisClass::GetEnabled, &ThisClass::SetEnabled).Default(true);
    p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont)
        .StoredWhen(TPublisher<ThisClass>::When([](const TControl* c) { return !c->GetParentFont(); }));
    p.Property("Hint", &ThisClass::GetHint, &ThisClass::SetHint);
    p.Property("ParentColor", &ThisClass::GetParentColor, &ThisClass::SetParentColor).Default(true);
    p.Property("ParentFont", &ThisClass::GetParentFont, &ThisClass::SetParentFont).Default(true);
    p.Property("ParentShowHint", &ThisClass::GetParentShowHint, &ThisClass::SetParentShowHint).Default(true);
    p.Property("PopupMenu", &ThisClass::GetPopupMenu, &ThisClass::SetPopupMenu);
    p.Property("ShowHint", &ThisClass::GetShowHint, &ThisClass::SetShowHint)
        .StoredWhen(TPublisher<ThisClass>::When([](const TControl* c) { return !c->GetParentShowHint(); }));
    p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(true);
    p.Property("OnCanResize", TypeInfo_TCanResizeEvent(), &ThisClass::OnCanResize, &ThisClass::OnCanResize);
    p.Property("OnClick", TypeInfo_TNotifyEvent(), &ThisClass::OnClick, &ThisClass::OnClick);
    p.Property("OnConstrainedResize", TypeInfo_TConstrainedResizeEvent(), &ThisClass::OnConstrainedResize,
               &ThisClass::OnConstrainedResize);
    p.Property("OnContextPopup", TypeInfo_TContextPopupEvent(), &ThisClass::OnContextPopup, &ThisClass::OnContextPopup);
    p.Property("OnDblClick", TypeInfo_TNotifyEvent(), &ThisClass::OnDblClick, &ThisClass::OnDblClick);
    p.Property("OnDragDrop", TypeInfo_TDragDropEvent(), &ThisClass::OnDragDrop, &ThisClass::OnDragDrop);
    p.Property("OnDragOver", TypeInfo_TDragOverEvent(), &ThisClass::OnDragOver, &ThisClass::OnDragOver);
    p.Property("OnEndDock", TypeInfo_TEndDragEvent(), &ThisClass::OnEndDock, &ThisClass::OnEndDock);
    p.Property("OnEndDrag", TypeInfo_TEndDragEvent(), &ThisClass::OnEndDrag, &ThisClass::OnEndDrag);
    p.Property("OnMouseDown", TypeInfo_TMouseEvent(), &ThisClass::OnMouseDown, &ThisClass::OnMouseDown);
    p.Property("OnMouseMove", TypeInfo_TMouseMoveEvent(), &ThisClass::OnMouseMove, &ThisClass::OnMouseMove);
    p.Property("OnMouseUp", TypeInfo_TMouseEvent(), &ThisClass::OnMouseUp, &ThisClass::OnMouseUp);
    p.Property("OnMouseWheel", TypeInfo_TMouseWheelEvent(), &ThisClass::OnMouseWheel, &ThisClass::OnMouseWheel);
    p.Property("OnResize", TypeInfo_TNotifyEvent(), &ThisClass::OnResize, &ThisClass::OnResize);
    p.Property("OnStartDock", TypeInfo_TStartDockEvent(), &ThisClass::OnStartDock, &ThisClass::OnStartDock);
    p.Property("OnStartDrag", TypeInfo_TStartDragEvent(), &ThisClass::OnStartDrag, &ThisClass::OnStartDrag);
  }

protected:
  // ---- Message plumbing
  virtual void WndProc(TMessage& Message);
  // Routes a message to its handler; unknown ones go to DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // ---- Handlers (each passes on to DefaultHandler what it does not consume)
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMRButtonDblClk(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMShowHintChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMCursorChanged(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMMouseWheel(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);
  virtual void CMHintShow(TMessage& Message);
  virtual void CMSysColorChange(TMessage& Message);
  virtual void CMDrag(TMessage& Message);

  // ---- Mouse and wheel
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, POINT MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, POINT MousePos);
  // Fires OnContextPopup, then shows the pop-up menu at the screen point.
  virtual void DoContextPopup(POINT MousePos, bool& Handled);

  // ---- Size
  virtual void Resize();
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  // Whether auto-sizing may give the control this size; the sizes may be changed.
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight) { return true; }
  virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
  // Fits the size into the constraints.
  void DoConstrainedResize(int& NewWidth, int& NewHeight);
  // Gives an auto-sized control the size CanAutoSize answers.
  virtual void AdjustSize();
  virtual void ConstraintsChanged();
  // Asks the parent to realign (the control's align or bounds changed).
  virtual void RequestAlign();
  // The bounds were set from outside: the anchors start from here.
  void UpdateAnchorRules();
  // Stores the bounds without moving anything (the window moved itself).
  void UpdateBoundsRect(const RECT& R);
  // Applies the anchors after the parent was resized.
  void AnchorToParent();

  // ---- Drag hooks
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, int X, int Y);
  virtual void DoDragMsg(TMessage& Message);
  // OnStartDock; a null object makes the drag use a TDragDockObject of the control.
  virtual void DoStartDock(TDragObject*& DragObject);
  // OnEndDock (Target null when the drag was cancelled or refused).
  virtual void DoEndDock(TObject* Target, int X, int Y);
  // Makes the floating host of FloatingDockSiteClass, placed so that its client area is Bounds.
  virtual TWinControl* CreateFloatingDockSite(const RECT& Bounds);
  // Where the control floats when floated from code: its place on the screen, undocked size.
  RECT FloatingRect();

  // ---- Texts
  virtual AnsiString GetTextBuf();
  virtual void SetTextBuf(const AnsiString& Value);

  // ---- Inheritance from the parent
  virtual void ParentFontChanged() {}
  bool DesktopFontHint() const { return false; }

  // ---- Actions
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  void InitiateAction();

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

  // Sets the visible flag and tells the control (CM_VISIBLECHANGED) and the parent.
  virtual void VisibleChanging() {}
  void SendCancelMode(TControl* Sender);
  // Invalidates the control's rectangle in the parent (windowless controls).
  void InvalidateControl(bool IsVisible, bool IsOpaque);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  AnsiString FText;  // held here while no window holds it
  bool FAnchorMove = false;

private:
  void FontChangedHandler(TObject* Sender);
  void SetParentInternal(TWinControl* AParent) { FParent = AParent; }

  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  // Where the anchors count from: the bounds and the parent's client size when they were set.
  RECT FAnchorBounds{};
  SIZE FAnchorParentSize{};
  bool FAnchorRulesValid = false;
  std::unique_ptr<TSizeConstraints> FConstraints;
  bool FAutoSize = false;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  TCursor FCursor = crDefault;
  AnsiString FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenuBase* FPopupMenu = nullptr;
  std::unique_ptr<TControlActionLink> FActionLink;
  TDragMode FDragMode = dmManual;
  TCursor FDragCursor = crDrag;
  TDragKind FDragKind = dkDrag;
  bool FInFontChange = false;
  TWinControl* FHostDockSite = nullptr;
  TClass FFloatingDockSiteClass = nullptr;
  int FUndockWidth = 0, FUndockHeight = 0;
  SIZE FFloatSize{};  // the size before it was last docked

  friend class TWinControl;
  friend class TSizeConstraints;
  friend class TControlActionLink;
  friend struct TControlAccess;
};

// Access to protected members for the units of this module (drag manager, message loop).
struct TControlAccess {
  static void WndProc(TControl* C, TMessage& M) { C->WndProc(M); }
  static void DoStartDrag(TControl* C, TDragObject*& D) { C->DoStartDrag(D); }
  static void DoEndDrag(TControl* C, TObject* T, int X, int Y) { C->DoEndDrag(T, X, Y); }
  static void SetParentInternal(TControl* C, TWinControl* P) { C->SetParentInternal(P); }
  static void DoStartDock(TControl* C, TDragObject*& D) { C->DoStartDock(D); }
  static void DoEndDock(TControl* C, TObject* T, int X, int Y) { C->DoEndDock(T, X, Y); }
  static void SetHostDockSiteInternal(TControl* C, TWinControl* H) { C->FHostDockSite = H; }
};
