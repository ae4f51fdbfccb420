// TCustomTabControl over the "SysTabControl32" window class, and TTabControl: a row of tabs
// (Tabs, changeable at any time) above a page area that the control's aligned children fill.
// A click on a tab (or Ctrl+Tab) asks OnChanging, which may refuse, then tells OnChange;
// setting TabIndex from the program tells neither.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

class TCustomTabControl : public TWinControl {
  PELTO_CLASS(TCustomTabControl, TWinControl)
public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;

  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { SetStyleFlag(FMultiLine, Value); }
  TTabStyle GetStyle() const { return FStyle; }
  void SetStyle(TTabStyle Value);
  // The tab at a client point; -1 when none.
  int IndexOfTabAt(int X, int Y);
  // The rectangle of tab Index in client coordinates; empty without a window.
  RECT TabRect(int Index);
  // The page area in client coordinates.
  RECT GetDisplayRect();

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void AdjustClientRect(RECT& Rect) override;
  virtual bool CanChange();
  virtual void Change();
  // The window's tabs: these texts, the one at Selected chosen (-1: none).
  void SetWindowTabs(const std::vector<AnsiString>& Texts, int Selected);
  // The texts the window should show now, and the chosen one; asked when the window is made.
  virtual std::vector<AnsiString> TabTexts() = 0;
  virtual int SelectedTab() = 0;
  // The user moved to another tab (after OnChanging allowed it).
  virtual void TabChanged(int Index) {}
  int WindowTabIndex();
  void SetWindowTabIndex(int Index);
  void UpdateTabs() { SetWindowTabs(TabTexts(), SelectedTab()); }

private:
  void SetStyleFlag(bool& Flag, bool Value);
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);

  bool FMultiLine = false;
  TTabStyle FStyle = tsTabs;
};

class TTabControl : public TCustomTabControl {
  PELTO_CLASS(TTabControl, TCustomTabControl)
public:
  explicit TTabControl(TComponent* AOwner);
  ~TTabControl() override;

  // Owned; every change shows at once. Setting copies the lines.
  TStrings* GetTabs() const;
  void SetTabs(TStrings* Value);
  // -1: none. Kept within the tabs when they change.
  int GetTabIndex();
  void SetTabIndex(int Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("MultiLine", &ThisClass::GetMultiLine, &ThisClass::SetMultiLine).Default(false);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(tsTabs);
    p.Property("TabIndex", &ThisClass::GetTabIndex, &ThisClass::SetTabIndex).Default(-1);
    p.Property("Tabs", &ThisClass::GetTabs, &ThisClass::SetTabs);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
    p.Property("OnChanging", TypeInfo_TTabChangingEvent(), &ThisClass::OnChanging, &ThisClass::OnChanging);
  }

protected:
  std::vector<AnsiString> TabTexts() override;
  int SelectedTab() override { return FTabIndex; }
  void TabChanged(int Index) override { FTabIndex = Index; }

private:
  void TabsChanged();
  std::unique_ptr<TStringList> FTabs;
  int FTabIndex = -1;
};
