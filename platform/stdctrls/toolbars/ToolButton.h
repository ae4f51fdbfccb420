// TToolButton: one button of a TToolBar. The bar's window draws and clicks it; the control
// stands over the button's rectangle so that hints, actions, Enabled and Visible work as for any
// control. A button is a push button, a check button (Grouped: one of the neighbouring grouped
// check buttons down, or none with AllowAllUp), a drop-down (its arrow drops DropdownMenu, or
// MenuItem's sub-items), a separator or a divider (a separator with an etched line).
//
// MenuItem: the button takes the item's action, caption, checked state, enabled state, hint,
// image and visibility; a click runs the item, or drops its sub-items when it has any.
#pragma once

#include "platform/forms/controls/GraphicControl.h"
#include "platform/stdctrls/menus/Menus.h"

class TToolBar;

PELTO_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)

class TToolButton : public TGraphicControl {
  PELTO_CLASS(TToolButton, TGraphicControl)
public:
  explicit TToolButton(TComponent* AOwner);
  ~TToolButton() override;

  // The bar the button stands on (its parent); null elsewhere.
  TToolBar* GetToolBar() const { return FToolBar; }
  // The position among the bar's buttons, -1 off a bar.
  int GetIndex() const;

  TToolButtonStyle GetStyle() const { return FStyle; }
  void SetStyle(TToolButtonStyle Value);
  // The image of the bar's image lists; -1 for none.
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool GetGrouped() const { return FGrouped; }
  void SetGrouped(bool Value);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  // A check button's state; putting a grouped one down lets the others of its group up.
  bool GetDown() const { return FDown; }
  void SetDown(bool Value);
  bool GetIndeterminate() const { return FIndeterminate; }
  void SetIndeterminate(bool Value);
  bool GetMarked() const { return FMarked; }
  void SetMarked(bool Value);
  // A new row of the bar starts after this button.
  bool GetWrap() const { return FWrap; }
  void SetWrap(bool Value);
  // The button's width fits its caption rather than the bar's ButtonWidth.
  void SetAutoSize(bool Value) override;
  // Borrowed; forgotten when freed.
  TPopupMenu* GetDropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value);
  TMenuItem* GetMenuItem() const { return FMenuItem; }
  void SetMenuItem(TMenuItem* Value);

  // Drops the button's menu under it: DropdownMenu, else MenuItem's sub-items. Answers whether a
  // menu was shown (its item runs when its command comes back through the queue).
  bool CheckMenuDropdown();
  // Runs the action or OnClick; a button for a menu item without an action runs the item.
  void Click() override;
  // On a TToolBar the button joins the bar's buttons, at the end.
  void SetParent(TWinControl* AParent) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("AllowAllUp", &ThisClass::GetAllowAllUp, &ThisClass::SetAllowAllUp).Default(false);
    p.Property("AutoSize", &ThisClass::GetAutoSize, &ThisClass::SetAutoSize).Default(false);
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("Down", &ThisClass::GetDown, &ThisClass::SetDown).Default(false);
    p.Property("DropdownMenu", &ThisClass::GetDropdownMenu, &ThisClass::SetDropdownMenu);
    p.Property("Grouped", &ThisClass::GetGrouped, &ThisClass::SetGrouped).Default(false);
    p.Property("ImageIndex", &ThisClass::GetImageIndex, &ThisClass::SetImageIndex).Default(-1);
    p.Property("Indeterminate", &ThisClass::GetIndeterminate, &ThisClass::SetIndeterminate).Default(false);
    p.Property("Marked", &ThisClass::GetMarked, &ThisClass::SetMarked).Default(false);
    p.Property("MenuItem", &ThisClass::GetMenuItem, &ThisClass::SetMenuItem);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(tbsButton);
    p.Property("Wrap", &ThisClass::GetWrap, &ThisClass::SetWrap).Default(false);
  }

protected:
  void Paint() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMTextChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;

private:
  friend class TToolBar;
  // The bar's window shows the button again (all of it, or its state only).
  void Changed(bool StateOnly);

  TToolBar* FToolBar = nullptr;
  int FCommand = 0;  // the bar window's command id of the button
  TToolButtonStyle FStyle = tbsButton;
  int FImageIndex = -1;
  bool FGrouped = false, FAllowAllUp = false, FDown = false, FIndeterminate = false, FMarked = false, FWrap = false;
  TPopupMenu* FDropdownMenu = nullptr;
  TMenuItem* FMenuItem = nullptr;
};
