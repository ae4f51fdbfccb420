// TcxCustomPopupWindow: the base of the family's drop-down panels. It keeps one process-wide list
// of shown popups, opens with Popup and closes with ClosePopup (with OnShowing, OnShowed,
// OnClosing, OnClosed), is either a focused top-level window (TakeFocus, optionally running its
// own message loop in ModalMode) or a child-style window that never takes the focus, and draws its
// border from a container style and view info.
//
// Three thread hooks, installed by cxContainer::Initialize and removed by Finalize, close the
// shown popups when the user clicks elsewhere, when the owner's window closes, hides or moves
// away, or when the application is deactivated, and keep the owner form's caption active.
#pragma once

#include <memory>

#include "controls/framework/cxContainerStyle.h"
#include "controls/framework/cxContainerViewInfo.h"
#include "controls/framework/cxPopupHooks.h"
#include "controls/framework/cxPopupWindow.h"

// Close a popup without asking (posted by PostClosePopup); open a popup focusing WParam's control.
constexpr UINT CM_CLOSEPOPUPWINDOW = 0x8065, CM_SHOWPOPUPWINDOW = 0x8066;

class TcxCustomPopupWindow : public TcxPopupWindow {
  PELTO_DECLARE_CLASS(TcxCustomPopupWindow, TcxPopupWindow)
public:
  // AOwnerControl is borrowed; the popup hears when it is freed.
  explicit TcxCustomPopupWindow(TControl* AOwnerControl);
  ~TcxCustomPopupWindow() override;

  TControl* GetOwnerControl() const { return FOwnerControl; }
  TWinControl* GetFocusedControl() const { return FFocusedControl; }
  bool GetTakeFocus() const { return FTakeFocus; }
  // Recreates the window and, when shown, shows it again.
  void SetTakeFocus(bool Value);
  bool GetTopMost() const { return FTopMost; }
  void SetTopMost(bool Value);
  bool GetModalMode() const { return FModalMode; }
  void SetModalMode(bool Value) { FModalMode = Value; }
  TcxContainerStyle* GetStyle();
  TcxContainerViewInfo* GetViewInfo();
  bool IsShown() const;
  bool HasCapture();
  bool CanFocus() override { return GetVisible(); }
  // Shown, TakeFocus, and the focus is in the popup.
  bool Focused();

  virtual void Popup(TWinControl* AFocusedControl);
  // With AskCloseQuery a refusing CloseQuery keeps the popup open.
  virtual void ClosePopup(bool AskCloseQuery = true);
  virtual bool IsNavigationKey(Word Key);

  TNotifyEvent OnShowing, OnShowed, OnClosing, OnClosed;

protected:
  virtual void DoClosed();
  virtual void DoClosing();
  virtual void DoShowed();
  virtual bool EraseBackgroundNeeded() { return false; }
  virtual void StyleChanged() {}
  virtual std::unique_ptr<TcxContainerStyle> CreateStyle();
  virtual std::unique_ptr<TcxContainerViewInfo> CreateViewInfo();
  virtual void MouseEnter(TControl* AControl) {}
  virtual void MouseLeave(TControl* AControl) {}

  void InitPopup() override {}
  void AdjustClientRect(RECT& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void Deactivate() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void CMVisibleChanged(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend struct TcxPopupHooks;
  void Reshow();
  TControl* FOwnerControl;
  TWinControl* FFocusedControl = nullptr;
  bool FTakeFocus = true, FTopMost = false, FModalMode = true;
  bool FClosingWithoutQuery = false;
  std::unique_ptr<TcxContainerStyle> FStyle;
  std::unique_ptr<TcxContainerViewInfo> FViewInfo;
};

namespace cxContainer {
// Posts CM_CLOSEPOPUPWINDOW to the popup.
void PostClosePopup(TcxCustomPopupWindow* Popup);
// The shown popups, oldest first.
int ShownPopupCount();
TcxCustomPopupWindow* ShownPopup(int Index);
// Whether Window is a descendant of the control's window or of one of its windowed children, or
// lies in another shown popup opened from this popup.
bool IsWindowInside(TWinControl* AControl, HWND Window);
// Whether Window is the control's form, inside it, or (for a top-level form) inside its window.
bool IsRelatedWindow(TControl* AControl, HWND Window);
}  // namespace cxContainer
