#include "platform/stdctrls/comctrls/PageControl.h"

#include <algorithm>

#include "platform/forms/controls/Messages.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"

// ==== TTabSheet =================================================================================

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet()
{
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
  if (Value == FPageControl) {
    if (Value && GetParent() != Value) TWinControl::SetParent(Value);
    return;
  }
  if (FPageControl) FPageControl->RemovePage(this);
  TWinControl::SetParent(Value);
  if (Value) Value->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* AParent)
{
  if (auto* pages = dynamic_cast<TPageControl*>(AParent)) {
    SetPageControl(pages);
    return;
  }
  if (FPageControl) FPageControl->RemovePage(this);
  TWinControl::SetParent(AParent);
}

int TTabSheet::GetPageIndex() const
{
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
  if (FPageControl) FPageControl->MovePage(this, Value);
}

int TTabSheet::GetTabIndex() const
{
  if (!FPageControl || !FTabVisible) return -1;
  int index = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return index;
    if (p->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value)
{
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (!FPageControl) return;
  // A page whose tab goes is no longer the one shown.
  if (!Value && FPageControl->FActivePage == this)
    FPageControl->ChangeActivePage(FPageControl->FindNextPage(this, true, true));
  FPageControl->UpdateTabs();
}

void TTabSheet::Dispatch(TMessage& Message)
{
  TWinControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->UpdateTabs();
}

// ==== TPageControl ==============================================================================

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl()
{
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::GetPage(int Index) const
{
  if (Index < 0 || Index >= GetPageCount())
    throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  return FPages[std::size_t(Index)];
}

std::vector<AnsiString> TPageControl::TabTexts()
{
  std::vector<AnsiString> out;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible) out.push_back(p->GetCaption());
  return out;
}

TTabSheet* TPageControl::PageOfTab(int TabIndex) const
{
  for (TTabSheet* p : FPages)
    if (p->GetTabIndex() == TabIndex && TabIndex >= 0) return p;
  return nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page)
{
  FPages.push_back(Page);
  Page->FPageControl = this;
  UpdateTabs();
  // The first page shows at once, as in the designer.
  if (!FActivePage && Page->FTabVisible) ChangeActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
  auto at = std::find(FPages.begin(), FPages.end(), Page);
  if (at == FPages.end()) return;
  TTabSheet* next = FActivePage == Page ? FindNextPage(Page, true, true) : FActivePage;
  if (next == Page) next = nullptr;
  FPages.erase(at);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    if (!GetComponentState().Contains(csDestroying)) ChangeActivePage(next);
  }
  if (!GetComponentState().Contains(csDestroying)) UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* Page, int Index)
{
  auto at = std::find(FPages.begin(), FPages.end(), Page);
  if (at == FPages.end()) return;
  FPages.erase(at);
  Index = std::clamp(Index, 0, int(FPages.size()));
  FPages.insert(FPages.begin() + Index, Page);
  UpdateTabs();
}

void TPageControl::ChangeActivePage(TTabSheet* Page)
{
  TTabSheet* old = FActivePage;
  FActivePage = Page;
  if (Page && Page != old) {
    Page->BringToFront();
    Page->SetVisible(true);
  }
  if (old && old != Page) old->SetVisible(false);
  SetWindowTabIndex(Page ? Page->GetTabIndex() : -1);
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
  if (Page && Page->FPageControl != this) throw EInvalidOperation("The page belongs to another page control");
  ChangeActivePage(Page);
}

void TPageControl::SetActivePageIndex(int Value)
{
  SetActivePage(Value >= 0 && Value < GetPageCount() ? FPages[std::size_t(Value)] : nullptr);
}

void TPageControl::TabChanged(int Index) { ChangeActivePage(PageOfTab(Index)); }

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible)
{
  int count = GetPageCount();
  if (count == 0) return nullptr;
  auto at = std::find(FPages.begin(), FPages.end(), CurPage);
  int start = at == FPages.end() ? (GoForward ? count - 1 : 0) : int(at - FPages.begin());
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* p = FPages[std::size_t(i)];
    if (!CheckTabVisible || p->FTabVisible) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward)
{
  TTabSheet* next = FindNextPage(FActivePage, GoForward, true);
  if (!next || next == FActivePage || !CanChange()) return;
  ChangeActivePage(next);
  Change();
}
