// TWinControl: a control with a window of its own, which can hold other controls.
//
// The window is made on demand (Handle, HandleNeeded) from CreateParams: CreateWnd registers the
// window class when needed (a class based on a system one, such as "EDIT", keeps that class's
// procedure as the default handler) and CreateWindowHandle makes the window; the windowed
// children get theirs right after, in their order. DestroyHandle destroys the children's windows
// first, each keeping its text, then its own. RecreateWnd does both and gives the focus back.
//
// Children: the control lists its windowless and its windowed children (z-order, the windowed
// ones after the windowless ones in painting) and its tab order. It aligns them (AlignControls)
// and applies their anchors when its client area changes.
//
// Raises EInvalidOperation "Control '%s' has no parent window" when a window is needed for a
// control that has neither a parent nor a parent window.
#pragma once

#include <vector>

#include "platform/forms/controls/Control.h"

class TBrush;

// What CreateParams fills for CreateWnd.
struct TCreateParams {
  AnsiString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  // The class the window gets: registered from WindowClass under WinClassName when missing.
  WNDCLASSEXA WindowClass;
  AnsiString WinClassName;
};

class TWinControl : public TControl {
  PELTO_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  // Destroys the window and frees nothing it does not own; children still parented here are
  // taken out (their owner frees them).
  ~TWinControl() override;

  // ---- Window
  // Made on demand; raises as the header says.
  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // A window not made by a control that stands as this one's parent (a top-level control with
  // no parent control).
  HWND GetParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // Destroys and makes the window again, keeping the text, the children and the focus.
  void RecreateWnd();

  // ---- Children
  int GetControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  // Windowless children first, then windowed ones, each in z-order (bottom first).
  TControl* GetControl(int Index) const;
  // Raises EInvalidOperation "Control '%s' has no parent window"-like errors through
  // the child's SetParent only; here it just links.
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  // The visible, enabled windowless child (or any child with AllowWinControls) at a client
  // point, topmost first; null when none.
  TControl* ControlAtPos(POINT Pos, bool AllowDisabled, bool AllowWinControls = false);
  // Re-places the aligned children and applies the anchors.
  void Realign();
  void DisableAlign();
  void EnableAlign();
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  // Paints the windowless children (from First's successor, all when null) into DC.
  void PaintControls(HDC DC, TControl* First);

  // ---- Focus and tab order
  virtual bool CanFocus();
  bool Focused() const;
  // Focuses the window (made on demand). Raises EInvalidOperation "Cannot focus a disabled or
  // invisible window" when it cannot take the focus.
  virtual void SetFocus();
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int GetTabOrder() const;
  void SetTabOrder(int Value);
  // The windowed descendants in tab order, nested containers expanded in place.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  // The next (or previous) control after CurControl that can take the focus: with CheckTabStop
  // only controls with TabStop, with CheckParent only direct children. Null when none.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  // The focused control among this root's descendants (the window layer's focus).
  static TWinControl* FocusedControl();

  // ---- Looks
  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool GetParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);
  TBrush* GetBrush() const { return FBrush.get(); }
  TImeMode GetImeMode() const { return FImeMode; }
  // The input method while the control has the focus: imDisable keeps it away, imClose closes
  // it, imOpen and the script modes open it (imSAlpha and imAlpha for letters), imDontCare
  // leaves it as it is.
  void SetImeMode(TImeMode Value);
  const TImeName& GetImeName() const { return FImeName; }
  void SetImeName(const TImeName& Value) { FImeName = Value; }

  RECT GetClientRect() override;
  POINT GetClientOrigin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool IsShowing() const override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetParent(TWinControl* AParent) override;
  void ChangeScale(int M, int D) override;

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  // ---- Docking (a site takes controls dropped on it; DockTree.h lays them out)
  bool GetDockSite() const { return FDockSite; }
  void SetDockSite(bool Value);
  // With a dock site: a dock manager places the clients, with grabbers and close buttons.
  bool GetUseDockManager() const { return FUseDockManager; }
  void SetUseDockManager(bool Value);
  // Owned by the site; null unless DockSite and UseDockManager.
  TDockTree* GetDockManager() const { return FDockManager.get(); }
  // The controls docked here, in docking order (borrowed).
  int GetDockClientCount() const { return static_cast<int>(FDockClients.size()); }
  TControl* GetDockClients(int Index) const { return FDockClients.at(static_cast<size_t>(Index)); }
  // Source is over the site at (X, Y) of its client area: places the docking rectangle, then
  // OnDockOver may refuse.
  virtual void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
  // Docks Source's control where its docking rectangle says, then OnDockDrop.
  virtual void DockDrop(TDragDockObject* Source, int X, int Y);
  // Whether Client may dock here with the mouse at MousePos (screen), and the screen area where
  // the site answers (its window rectangle grown by 10 pixels; OnGetSiteInfo may change both).
  virtual void GetSiteInfo(TControl* Client, RECT& InfluenceRect, POINT MousePos, bool& CanDock);
  // Client leaves for NewTarget (null: floating): OnUnDock may refuse; on leaving the site
  // forgets it. Answers whether it left.
  virtual bool DoUnDock(TWinControl* NewTarget, TControl* Client);

  TNotifyEvent OnEnter, OnExit;
  TDockOverEvent OnDockOver;
  TDockDropEvent OnDockDrop;
  TUnDockEvent OnUnDock;
  TGetSiteInfoEvent OnGetSiteInfo;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

  PELTO_PUBLISHED(p)
  {
    p.Property("Ctl3D", &ThisClass::GetCtl3D, &ThisClass::SetCtl3D).Default(true);
    p.Property("DockSite", &ThisClass::GetDockSite, &ThisClass::SetDockSite).Default(false);
    p.Property("UseDockManager", &ThisClass::GetUseDockManager, &ThisClass::SetUseDockManager).Default(false);
    p.Property("ImeMode", &ThisClass::GetImeMode, &ThisClass::SetImeMode).Default(imDontCare);
    p.Property("ImeName", TypeInfo_TImeName(), &ThisClass::GetImeName, &ThisClass::SetImeName);
    p.Property("ParentCtl3D", &ThisClass::GetParentCtl3D, &ThisClass::SetParentCtl3D).Default(true);
    p.Property("TabOrder", &ThisClass::GetTabOrder, &ThisClass::SetTabOrder).Default(-1);
    p.Property("TabStop", &ThisClass::GetTabStop, &ThisClass::SetTabStop).Default(false);
    p.Property("OnDockDrop", TypeInfo_TDockDropEvent(), &ThisClass::OnDockDrop, &ThisClass::OnDockDrop);
    p.Property("OnDockOver", TypeInfo_TDockOverEvent(), &ThisClass::OnDockOver, &ThisClass::OnDockOver);
    p.Property("OnEnter", TypeInfo_TNotifyEvent(), &ThisClass::OnEnter, &ThisClass::OnEnter);
    p.Property("OnExit", TypeInfo_TNotifyEvent(), &ThisClass::OnExit, &ThisClass::OnExit);
    p.Property("OnGetSiteInfo", TypeInfo_TGetSiteInfoEvent(), &ThisClass::OnGetSiteInfo, &ThisClass::OnGetSiteInfo);
    p.Property("OnKeyDown", TypeInfo_TKeyEvent(), &ThisClass::OnKeyDown, &ThisClass::OnKeyDown);
    p.Property("OnKeyPress", TypeInfo_TKeyPressEvent(), &ThisClass::OnKeyPress, &ThisClass::OnKeyPress);
    p.Property("OnKeyUp", TypeInfo_TKeyEvent(), &ThisClass::OnKeyUp, &ThisClass::OnKeyUp);
    p.Property("OnUnDock", TypeInfo_TUnDockEvent(), &ThisClass::OnUnDock, &ThisClass::OnUnDock);
  }

protected:
  // ---- Docking
  // The manager UseDockManager makes (a TDockTree here).
  virtual std::unique_ptr<TDockTree> CreateDockManager();
  // Takes Client out of the clients and the dock manager; it keeps its parent.
  virtual void RemoveDockClient(TControl* Client);

  // ---- Window making
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void CreateHandle();
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void DestroyHandle();
  // Bases the window class on a registered one (its procedure becomes the default handler).
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  void UpdateControlState();

  // ---- Messages
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // The window's procedure before the control took it over (the class's default).
  WNDPROC FDefWndProc = nullptr;

  virtual void WMPaint(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  // Applies ImeMode to the window (on focus) and takes back what only it needed (on leaving).
  void SetIme();
  void ResetIme();
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSysKeyDown(TMessage& Message);
  virtual void WMSysKeyUp(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMMove(TMessage& Message);
  virtual void WMWindowPosChanged(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMMouseLeave(TMessage& Message);
  virtual void WMDestroy(TMessage& Message);
  virtual void WMNCDestroy(TMessage& Message);
  virtual void WMCommand(TMessage& Message);
  virtual void WMNotify(TMessage& Message);
  virtual void WMReflected(TMessage& Message);
  virtual void WMCtlColor(TMessage& Message);
  virtual void WMNextDlgCtl(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CNSysKeyDown(TMessage& Message);
  virtual void CNSysChar(TMessage& Message);
  virtual void CNCtlColor(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMChildKey(TMessage& Message);
  virtual void CMFocusChanged(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMShowHintChanged(TMessage& Message) override;
  virtual void CMCtl3DChanged(TMessage& Message);
  virtual void CMParentCtl3DChanged(TMessage& Message);
  virtual void CMRecreateWnd(TMessage& Message);
  virtual void CMWantSpecialKey(TMessage& Message) { Message.Result = 0; }

  // ---- Keys: answer true when the key was consumed (Key set to 0, or KeyPreview took it).
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  // The form that sees this control's keys first (its KeyPreview is on), or null.
  TWinControl* KeyPreviewForm();
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();

  // ---- Painting and layout
  // Paints the window's own content into DC (the default procedure here).
  virtual void PaintWindow(HDC DC);
  // BeginPaint, PaintWindow and the windowless children, EndPaint.
  void PaintHandler(TMessage& Message);
  // The area the aligned children share; the client rectangle here.
  virtual void AdjustClientRect(RECT& Rect);
  virtual void AlignControls(TControl* AControl, RECT& Rect);
  // Re-aligns for a child whose align or bounds changed.
  void AlignControl(TControl* AControl);
  // A child was aligned or moved by the anchors.
  virtual void ControlsAligned() {}
  // A child asks to be shown (a page control turns to its page); passed up here.
  virtual void ShowControl(TControl* AControl);
  // The focus leaves this control and its children (hidden, disabled or removed).
  void RemoveFocus(bool Removing);
  // Mouse messages for a windowless child go to it: answers whether one took this one.
  bool IsControlMouseMsg(TMessage& Message);
  virtual void SetZOrder(bool TopMost);
  void SetChildOrder(TComponent* Child, int Order) override;
  // The place a new window takes (the parent window's z-order); WM_SETFONT etc.
  virtual void UpdateShowing();
  // Sets the focused control of this root (CM_EXIT / CM_ENTER along the way).
  virtual bool SetFocusedControl(TWinControl* Control);
  // The window that the focus should go to when this one is activated.
  bool IsRootControl() const;
  TWinControl* RootControl();

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  std::unique_ptr<TBrush> FBrush;
  std::vector<TControl*> FControls;        // windowless children, z-order
  std::vector<TWinControl*> FWinControls;  // windowed children, z-order
  std::vector<TWinControl*> FTabList;
  TWinControl* FFocusedControl = nullptr;  // root controls: the control holding the focus
  int FAlignLevel = 0;
  bool FTabStop = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  TImeMode FImeMode = imDontCare;
  TImeName FImeName;
  bool FInAlign = false;
  bool FDockSite = false;
  bool FUseDockManager = false;
  std::unique_ptr<TDockTree> FDockManager;
  std::vector<TControl*> FDockClients;

private:
  bool DoKeyUpDown(TMessage& Message, bool Down);
  void DoAlignAndAnchors(TControl* AControl);
  void Insert(TControl* AControl);
  void Remove(TControl* AControl);
  // What RecreateWnd restores: the window's text, where the focus was.
  bool FRecreating = false;

  friend class TControl;
  friend struct TWinControlAccess;
};

struct TWinControlAccess {
  static void Dispatch(TWinControl* C, TMessage& M) { C->Dispatch(M); }
  static bool SetFocusedControl(TWinControl* Root, TWinControl* C) { return Root->SetFocusedControl(C); }
  static TWinControl* FocusedOf(TWinControl* Root) { return Root->FFocusedControl; }
  static void SetHandle(TWinControl* C, HWND H) { C->FHandle = H; }
  static WNDPROC& DefWndProc(TWinControl* C) { return C->FDefWndProc; }
  static std::vector<TControl*>& DockClients(TWinControl* C) { return C->FDockClients; }
  // The client is gone or moved away without asking: the site forgets it.
  static void ForgetDockClient(TWinControl* Site, TControl* Client) { Site->RemoveDockClient(Client); }
};
