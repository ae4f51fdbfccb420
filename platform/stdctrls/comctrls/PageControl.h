// TPageControl and TTabSheet: pages stacked in a tab control, one tab per page whose
// TabVisible is set, the active page shown over the page area. A page joins a page control by
// SetPageControl (or by being parented to it); PageIndex is its place among all pages.
// The user's choice of a tab asks OnChanging and tells OnChange; setting ActivePage or
// ActivePageIndex from the program tells neither.
#pragma once

#include <vector>

#include "platform/stdctrls/comctrls/TabControl.h"

class TPageControl;

class TTabSheet : public TWinControl {
  PELTO_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  // The place among the page control's pages; -1 without one.
  int GetPageIndex() const;
  void SetPageIndex(int Value);
  // The place among the shown tabs; -1 when its tab is hidden or it has no page control.
  int GetTabIndex() const;
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  // Joins a page control given as parent.
  void SetParent(TWinControl* AParent) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("PageIndex", &ThisClass::GetPageIndex, &ThisClass::SetPageIndex);
    p.Property("TabVisible", &ThisClass::GetTabVisible, &ThisClass::SetTabVisible).Default(true);
  }

protected:
  void Dispatch(TMessage& Message) override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

class TPageControl : public TCustomTabControl {
  PELTO_CLASS(TPageControl, TCustomTabControl)
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int GetPageCount() const { return int(FPages.size()); }
  // Raises EListError for a bad index.
  TTabSheet* GetPage(int Index) const;
  // Null when none.
  TTabSheet* GetActivePage() const { return FActivePage; }
  // Raises EInvalidOperation for a page of another page control.
  void SetActivePage(TTabSheet* Page);
  int GetActivePageIndex() const { return FActivePage ? FActivePage->GetPageIndex() : -1; }
  void SetActivePageIndex(int Value);
  // The page after (or before) CurPage, round the end; with CheckTabVisible only pages with a
  // shown tab. Null when there is none.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
  // Moves to the next page with a shown tab as the user does: asking OnChanging, telling OnChange.
  void SelectNextPage(bool GoForward);

  PELTO_PUBLISHED(p)
  {
    p.Property("ActivePage", &ThisClass::GetActivePage, &ThisClass::SetActivePage);
    p.Property("MultiLine", &ThisClass::GetMultiLine, &ThisClass::SetMultiLine).Default(false);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(tsTabs);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
    p.Property("OnChanging", TypeInfo_TTabChangingEvent(), &ThisClass::OnChanging, &ThisClass::OnChanging);
  }

protected:
  std::vector<AnsiString> TabTexts() override;
  int SelectedTab() override { return FActivePage ? FActivePage->GetTabIndex() : -1; }
  void TabChanged(int Index) override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void MovePage(TTabSheet* Page, int Index);
  // Shows Page over the others (null: none) and chooses its tab.
  void ChangeActivePage(TTabSheet* Page);
  TTabSheet* PageOfTab(int TabIndex) const;

  std::vector<TTabSheet*> FPages;  // borrowed: each page is owned by its owner
  TTabSheet* FActivePage = nullptr;
};
