// TCustomForm: a top-level window holding controls: its border and caption, where it first
// appears, showing and hiding, modal running, closing, the active control and the focus moving
// inside it, dialog keys, the menu bar, and the MDI frame and child forms.
//
// Showing (Visible, Show) makes the window on demand, places it by Position the first time and
// each time it is shown modally, fires OnShow and shows it as WindowState says. ShowModal runs a
// nested loop with every other window of the program disabled until ModalResult is set and
// CloseQuery agrees; it raises EInvalidOperation "Cannot make a visible window modal" for a form
// already visible (or disabled, or an MDI child). Close asks CloseQuery, then OnClose decides
// (hide, free, minimize or nothing); freeing goes through Release, which deletes the form once
// the messages already queued are handled, so a form may close itself from its own events.
//
// MDI: an fsMDIForm makes an MDI client window (ClientHandle) inside its client area; an
// fsMDIChild form is made by that client, inside the main form (or the first MDI form there is);
// raises EInvalidOperation "Cannot create form. No MDI forms are currently active" when none.
//
// Ownership: the owner frees the form; the menu is borrowed.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/controls/ScrollingWinControl.h"

class TCanvas;
class TControlCanvas;
class TMainMenuBase;

PELTO_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
PELTO_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
PELTO_SET(TBorderIcons, TBorderIcon)
PELTO_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
PELTO_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
           poMainFormCenter, poOwnerFormCenter)
PELTO_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
PELTO_ENUM(TFormStateItem, fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated)
PELTO_SET(TFormState, TFormStateItem)
PELTO_ENUM(TTileMode, tbHorizontal, tbVertical)

PELTO_EVENT_TYPE(TCloseEvent, void(TObject* Sender, TCloseAction& Action))
PELTO_EVENT_TYPE(TCloseQueryEvent, void(TObject* Sender, bool& CanClose))

class TCustomForm : public TScrollingWinControl {
  PELTO_CLASS(TCustomForm, TScrollingWinControl)
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // ---- Showing and closing
  void Show();
  void Hide();
  // Answers the ModalResult that ended the loop (mrCancel when the application ends).
  virtual int ShowModal();
  void Close();
  // OnCloseQuery, and for an MDI form every child's CloseQuery.
  virtual bool CloseQuery();
  // Deletes the form once the messages already waiting are handled.
  void Release();
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TFormState GetFormState() const { return FFormState; }
  bool GetActive() const { return FActive; }

  // ---- Looks and place
  TFormStyle GetFormStyle() const { return FFormStyle; }
  // Re-makes the window when it exists.
  void SetFormStyle(TFormStyle Value);
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState GetWindowState() const;
  void SetWindowState(TWindowState Value);
  int GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);
  RECT GetClientRect() override;
  void SetClientSize(int AWidth, int AHeight) override;
  TCanvas* GetCanvas() const;

  // ---- Focus and keys
  TWinControl* GetActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control that
  // cannot take the focus (unless the form is loading).
  void SetActiveControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  // The focus leaves Control (hidden, disabled or removed).
  void DefocusControl(TWinControl* Control, bool Removing);
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // A key that the menu's short cuts take (OnShortCut first).
  virtual bool IsShortCut(TMessage& Message);
  void SendCancelMode(TControl* Sender);
  void SetFocus() override;
  bool CanFocus() override { return GetVisible() && GetEnabled(); }

  // ---- Menu (borrowed)
  TMainMenuBase* GetMenu() const { return FMenu; }
  void SetMenu(TMainMenuBase* Value);

  // ---- MDI
  HWND GetClientHandle() const { return FClientHandle; }
  int GetMDIChildCount() const;
  TCustomForm* GetMDIChildren(int Index) const;
  TCustomForm* GetActiveMDIChild() const;
  void Cascade();
  void Tile();
  TTileMode GetTileMode() const { return FTileMode; }
  void SetTileMode(TTileMode Value) { FTileMode = Value; }
  void ArrangeIcons();
  void Next();
  void Previous();

  TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  PELTO_PUBLISHED(p)
  {
    p.Property("BorderStyle", &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle).Default(bsSizeable);
    p.Property("BorderIcons", &ThisClass::GetBorderIcons, &ThisClass::SetBorderIcons);
    p.Property("Caption", TypeInfo_TCaption(), &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("ClientHeight", &ThisClass::GetClientHeight, &ThisClass::SetClientHeight).Stored(false);
    p.Property("ClientWidth", &ThisClass::GetClientWidth, &ThisClass::SetClientWidth).Stored(false);
    p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor).Default(clBtnFace);
    p.Property("FormStyle", &ThisClass::GetFormStyle, &ThisClass::SetFormStyle).Default(fsNormal);
    p.Property("KeyPreview", &ThisClass::GetKeyPreview, &ThisClass::SetKeyPreview).Default(false);
    p.Property("Position", &ThisClass::GetPosition, &ThisClass::SetPosition).Default(poDesigned);
    p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(false);
    p.Property("WindowState", &ThisClass::GetWindowState, &ThisClass::SetWindowState).Default(wsNormal);
    p.Property("OnActivate", TypeInfo_TNotifyEvent(), &ThisClass::OnActivate, &ThisClass::OnActivate);
    p.Property("OnClose", TypeInfo_TCloseEvent(), &ThisClass::OnClose, &ThisClass::OnClose);
    p.Property("OnCloseQuery", TypeInfo_TCloseQueryEvent(), &ThisClass::OnCloseQuery, &ThisClass::OnCloseQuery);
    p.Property("OnCreate", TypeInfo_TNotifyEvent(), &ThisClass::OnCreate, &ThisClass::OnCreate);
    p.Property("OnDeactivate", TypeInfo_TNotifyEvent(), &ThisClass::OnDeactivate, &ThisClass::OnDeactivate);
    p.Property("OnDestroy", TypeInfo_TNotifyEvent(), &ThisClass::OnDestroy, &ThisClass::OnDestroy);
    p.Property("OnHide", TypeInfo_TNotifyEvent(), &ThisClass::OnHide, &ThisClass::OnHide);
    p.Property("OnPaint", TypeInfo_TNotifyEvent(), &ThisClass::OnPaint, &ThisClass::OnPaint);
    p.Property("OnShow", TypeInfo_TNotifyEvent(), &ThisClass::OnShow, &ThisClass::OnShow);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void DefaultHandler(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void UpdateShowing() override;
  bool SetFocusedControl(TWinControl* Control) override;
  void PaintWindow(HDC DC) override;
  void CMDialogKey(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void WMSize(TMessage& Message) override;

  virtual void DoClose(TCloseAction& Action);
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // An MDI child shows its menu merged into its frame's while it is the active child.
  void MergeMenu(bool MergeState);
  TCustomForm* MDIFrame() const;
  void WMActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMMenuCommand(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMRelease(TMessage& Message);
  void CloseModal();
  void SetWindowFocus();
  // Puts the form where Position says (before it is shown).
  void ApplyPosition();
  RECT NonClientFor(int AWidth, int AHeight) const;
  TCustomForm* MDIParentForm() const;

  TFormStyle FFormStyle = fsNormal;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormState FFormState;
  TModalResult FModalResult = mrNone;
  bool FActive = false;
  bool FKeyPreview = false;
  int FPixelsPerInch = 96;
  TWinControl* FActiveControl = nullptr;
  TMainMenuBase* FMenu = nullptr;
  HWND FClientHandle = nullptr;  // the MDI client of an fsMDIForm, destroyed with the window
  TTileMode FTileMode = tbHorizontal;
  std::unique_ptr<TControlCanvas> FCanvas;
  bool FReleasing = false;
};
