// Sections: command ids · TMenuItem (tree, properties, handles) · TMenu (dispatch) · TMainMenu
// (merging) · TPopupMenu and the pop-up list window · start-up.
#include "platform/stdctrls/menus/Menus.h"

#include <algorithm>
#include <unordered_map>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/UtilWindow.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/window/Windows.h"

// ---- Command ids -----------------------------------------------------------------------------------

namespace {
// Ids of live items; kept below the ids the MDI client gives its window list (0xFF00).
std::unordered_map<UINT, TMenuItem*> gCommands;
UINT gNextCommand = 1;

UINT UniqueCommand(TMenuItem* Item)
{
  while (gCommands.count(gNextCommand)) gNextCommand = gNextCommand % 0xFEFF + 1;
  UINT id = gNextCommand;
  gNextCommand = gNextCommand % 0xFEFF + 1;
  gCommands[id] = Item;
  return id;
}

bool IsGoing(const TComponent* C) { return C->GetComponentState().Contains(csDestroying); }
}  // namespace

// ---- TMenuItem: the tree -------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(UniqueCommand(this)) {}

TMenuItem::~TMenuItem()
{
  if (FParent) FParent->Remove(this);
  Destroying();
  while (!FItems.empty()) delete FItems.back();  // each takes itself out
  if (FHandle && !FMenu) Windows::DestroyMenu(FHandle);
  gCommands.erase(FCommand);
}

TMenuItem* TMenuItem::GetItem(int Index) const
{
  if (Index < 0 || Index >= GetCount()) throw EMenuError("Menu index out of range");
  return FItems[size_t(Index)];
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > GetCount()) Index = GetCount();
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (FHandle) RebuildHandle();
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item)
{
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) throw EMenuError("Menu index out of range");
  FItems.erase(it);
  Item->FParent = nullptr;
  // Its pop-up must leave ours before anything frees it.
  if (FHandle) RebuildHandle();
  MenuChanged();
}

void TMenuItem::Delete(int Index) { delete GetItem(Index); }

void TMenuItem::Clear()
{
  while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TMenuItem* TMenuItem::FindCommand(UINT ACommand)
{
  if (FCommand == ACommand && !FMenu) return this;
  for (TMenuItem* i : FItems)
    if (TMenuItem* r = i->FindCommand(ACommand)) return r;
  return nullptr;
}

TMenuItem* TMenuItem::FindHandle(HMENU AHandle)
{
  if (AHandle && FHandle == AHandle) return this;
  for (TMenuItem* i : FItems)
    if (TMenuItem* r = i->FindHandle(AHandle)) return r;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const
{
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  for (TMenuItem* i : FItems) Proc(i);
}

TComponent* TMenuItem::GetParentComponent()
{
  if (!FParent) return nullptr;
  if (FParent->FMenu) return dynamic_cast<TComponent*>(FParent->FMenu);
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value)
{
  if (FParent) FParent->Remove(this);
  if (auto* item = dynamic_cast<TMenuItem*>(Value))
    item->Add(this);
  else if (auto* menu = dynamic_cast<TMenu*>(Value))
    menu->GetItems()->Add(this);
}

// ---- TMenuItem: properties -----------------------------------------------------------------------

void TMenuItem::SetCaption(const AnsiString& Value)
{
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut Value)
{
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged();
}

void TMenuItem::SetChecked(bool Value)
{
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetRadioItem(bool Value)
{
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetGroupIndex(Byte Value)
{
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::TurnSiblingsOff()
{
  if (!FParent) return;
  for (TMenuItem* i : FParent->FItems)
    if (i != this && i->FRadioItem && i->FGroupIndex == FGroupIndex && i->FChecked) {
      i->FChecked = false;
      i->MenuChanged();
    }
}

void TMenuItem::SetEnabled(bool Value)
{
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged();
}

void TMenuItem::SetVisible(bool Value)
{
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged();
}

void TMenuItem::SetDefault(bool Value)
{
  if (FDefault == Value) return;
  // One default item per pop-up.
  if (Value && FParent)
    for (TMenuItem* i : FParent->FItems) i->FDefault = false;
  FDefault = Value;
  MenuChanged();
}

void TMenuItem::SetImageIndex(int Value)
{
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  MenuChanged();
}

void TMenuItem::Click()
{
  if (!FEnabled) return;
  if (FActionLink && FActionLink->GetAction())
    FActionLink->Execute(this);
  else if (OnClick)
    OnClick(this);
}

// ---- TMenuItem: the action -----------------------------------------------------------------------

// Carries the action's changes to its menu item.
class TMenuActionLink : public TBasicActionLink {
public:
  explicit TMenuActionLink(TMenuItem* AClient) : TBasicActionLink(AClient), FItem(AClient) {}

protected:
  void Change() override
  {
    TBasicActionLink::Change();
    if (GetAction()) FItem->ActionChange(GetAction());
  }

private:
  TMenuItem* FItem;
};

TBasicAction* TMenuItem::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

void TMenuItem::SetAction(TBasicAction* Value)
{
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TMenuActionLink>(this);
  FActionLink->SetAction(Value);
  ActionChange(Value);
}

void TMenuItem::ActionChange(TBasicAction* Sender)
{
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  SetCaption(a->GetCaption());
  SetEnabled(a->GetEnabled());
  SetHint(a->GetHint());
  SetImageIndex(a->GetImageIndex());
  SetShortCut(a->GetShortCut());
  SetVisible(a->GetVisible());
  // Checked last: a radio item's siblings follow.
  SetChecked(a->GetChecked());
}

void TMenuItem::InitiateAction()
{
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::InitiateActions()
{
  for (TMenuItem* i : std::vector<TMenuItem*>(FItems))
    if (IndexOf(i) >= 0) i->InitiateAction();
}

// ---- TMenuItem: handles --------------------------------------------------------------------------

HMENU TMenuItem::GetHandle()
{
  if (FMenu) return FMenu->GetMenuHandle();
  // The window layer frees a bar's pop-ups with the window it stood on.
  if (FHandle && !Windows::IsMenu(FHandle)) FHandle = nullptr;
  if (!FHandle) {
    FHandle = Windows::CreatePopupMenu();
    RebuildHandle();
  }
  return FHandle;
}

std::vector<TMenuItem*> TMenuItem::ShownItems() const
{
  std::vector<TMenuItem*> own;
  for (TMenuItem* i : FItems)
    if (i->FVisible) own.push_back(i);
  auto* main = dynamic_cast<TMainMenu*>(FMenu);
  if (!main || !main->FMerged) return own;
  std::vector<TMenuItem*> theirs;
  for (TMenuItem* i : main->FMerged->GetItems()->FItems)
    if (i->FVisible) theirs.push_back(i);
  // Their groups replace ours; the rest meet in group order, ours first among equals.
  std::erase_if(own, [&](TMenuItem* o) {
    return std::any_of(theirs.begin(), theirs.end(), [&](TMenuItem* t) { return t->FGroupIndex == o->FGroupIndex; });
  });
  std::vector<TMenuItem*> r;
  size_t a = 0, b = 0;
  while (a < own.size() || b < theirs.size()) {
    if (b == theirs.size() || (a < own.size() && own[a]->FGroupIndex <= theirs[b]->FGroupIndex))
      r.push_back(own[a++]);
    else
      r.push_back(theirs[b++]);
  }
  return r;
}

void TMenuItem::AppendTo(HMENU Menu)
{
  if (IsLine()) {
    Windows::AppendMenu(Menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  UINT flags = MF_STRING | (FEnabled ? 0 : MF_GRAYED) | (FChecked ? MF_CHECKED : 0) | (FDefault ? MF_DEFAULT : 0) |
               (IsOwnerDrawn() ? MF_OWNERDRAW : 0);
  AnsiString text = FCaption;
  if (!FItems.empty()) {
    Windows::AppendMenu(Menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(GetHandle()), text.c_str());
  } else {
    if (FShortCut) {
      AnsiString keys = Menus::ShortCutToText(FShortCut);
      if (!keys.empty()) text += "\t" + keys;
    }
    Windows::AppendMenu(Menu, flags, FCommand, text.c_str());
  }
  if (flags & MF_OWNERDRAW) {
    // The owner-draw messages name the item by its command, also for an item with a sub-menu.
    MENUITEMINFOA info;
    info.fMask = MIIM_DATA;
    info.dwItemData = FCommand;
    Windows::SetMenuItemInfo(Menu, UINT(Windows::GetMenuItemCount(Menu) - 1), TRUE, &info);
  }
}

void TMenuItem::RebuildHandle()
{
  if (IsGoing(this)) return;
  // Handles are made when first asked for, already filled.
  HMENU h = FHandle;
  if (!h || !Windows::IsMenu(h)) return;
  // RemoveMenu, not DeleteMenu: the sub-items keep their pop-ups.
  while (Windows::GetMenuItemCount(h) > 0) Windows::RemoveMenu(h, 0, MF_BYPOSITION);
  for (TMenuItem* i : ShownItems()) i->AppendTo(h);
}

void TMenuItem::MenuChanged()
{
  if (IsGoing(this)) return;
  if (FParent) {
    if (FParent->FHandle) FParent->RebuildHandle();
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
  } else if (FMenu) {
    FMenu->MenuChanged();
  }
}

// ---- TMenu ---------------------------------------------------------------------------------------

TMenu::TMenu(bool Bar) : FItems(std::make_unique<TMenuItem>(nullptr)), FBar(Bar) { FItems->FMenu = this; }

HMENU TMenu::GetMenuHandle()
{
  TMenuItem* root = FItems.get();
  if (!root) return nullptr;
  if (root->FHandle && !Windows::IsMenu(root->FHandle)) root->FHandle = nullptr;
  if (!root->FHandle) {
    root->FHandle = FBar ? Windows::CreateMenu() : Windows::CreatePopupMenu();
    root->RebuildHandle();
  }
  return root->FHandle;
}

TMenuItem* TMenu::FindItem(UINT Command)
{
  for (TMenuItem* root : Roots())
    if (TMenuItem* i = root->FindCommand(Command)) return i;
  return nullptr;
}

TMenuItem* TMenu::FindShortCut(TShortCut Key)
{
  if (Key == scNone) return nullptr;
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
    for (int n = 0; n < parent->GetCount(); ++n) {
      TMenuItem* i = parent->GetItem(n);
      if (!i->GetVisible()) continue;
      if (i->GetCount() == 0 && i->GetShortCut() == Key) return i;
      if (i->GetEnabled())
        if (TMenuItem* r = find(i)) return r;
    }
    return nullptr;
  };
  for (TMenuItem* root : Roots())
    if (TMenuItem* i = find(root)) return i;
  return nullptr;
}

bool TMenu::DoDispatchCommand(UINT Command)
{
  TMenuItem* item = FindItem(Command);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DoDispatchPopup(HMENU Handle)
{
  for (TMenuItem* root : Roots())
    if (TMenuItem* item = root->FindHandle(Handle)) {
      item->Click();
      item->InitiateActions();
      return true;
    }
  return false;
}

bool TMenu::DoIsShortCut(TMessage& Message)
{
  TShortCut key = Menus::ShortCut(Word(Message.WParam), KeyDataToShiftState(Message.LParam));
  TMenuItem* item = FindShortCut(key);
  if (!item) return false;
  // An action may enable or disable the item just now.
  item->InitiateAction();
  if (!item->GetEnabled()) return false;
  item->Click();
  return true;
}

// ---- TMainMenu -----------------------------------------------------------------------------------

namespace {
// Main menus merged into another (the child's menu -> the frame's menu that shows it).
std::unordered_map<TMainMenu*, TMainMenu*> gMergedInto;
}  // namespace

TMainMenu::TMainMenu(TComponent* AOwner) : TMainMenuBase(AOwner), TMenu(true) {}

TMainMenu::~TMainMenu()
{
  Destroying();
  if (auto it = gMergedInto.find(this); it != gMergedInto.end()) it->second->Unmerge(this);
  if (FMerged) Unmerge(FMerged);
  HMENU h = FItems->FHandle;
  FItems.reset();
  if (h) Windows::DestroyMenu(h);
}

void TMainMenu::GetChildren(TGetChildProc Proc, TComponent* Root) { FItems->GetChildren(Proc, Root); }

std::vector<TMenuItem*> TMainMenu::Roots() const
{
  if (!FMerged) return {FItems.get()};
  return {FItems.get(), FMerged->GetItems()};
}

void TMainMenu::Merge(TMainMenu* Menu)
{
  if (Menu == this) Menu = nullptr;
  if (Menu == FMerged) return;
  if (FMerged) {
    FMerged->RemoveFreeNotification(this);
    gMergedInto.erase(FMerged);
  }
  FMerged = Menu;
  if (Menu) {
    // A menu shows in one frame at a time.
    if (auto it = gMergedInto.find(Menu); it != gMergedInto.end()) it->second->Unmerge(Menu);
    Menu->FreeNotification(this);
    gMergedInto[Menu] = this;
  }
  FItems->RebuildHandle();
  MenuChanged();
}

void TMainMenu::MergeChildMenu(TMainMenuBase* Child, bool Merge)
{
  auto* menu = dynamic_cast<TMainMenu*>(Child);
  if (!menu) return;
  if (Merge)
    this->Merge(menu);
  else
    Unmerge(menu);
}

void TMainMenu::Unmerge(TMainMenu* Menu)
{
  if (Menu && Menu == FMerged) Merge(nullptr);
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation)
{
  TMainMenuBase::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMerged) Unmerge(FMerged);
  if (Operation == opRemove && AComponent == FImages) ImagesFreed();
}

void TMainMenu::MenuChanged()
{
  if (GetComponentState().Contains(csDestroying)) return;
  // The frame showing us refills its bar with our new top level.
  if (auto it = gMergedInto.find(this); it != gMergedInto.end()) {
    it->second->FItems->RebuildHandle();
    it->second->MenuChanged();
  }
  auto* form = dynamic_cast<TWinControl*>(GetWindowOwner());
  if (form && form->HandleAllocated()) Windows::DrawMenuBar(form->GetHandle());
}

// ---- TPopupMenu and the pop-up list --------------------------------------------------------------

// The hidden window that owns every pop-up menu while it shows: it passes the commands and the
// opening pop-ups to the menus and the selected item's hint to the application.
class TPopupList {
public:
  static TPopupList& Get()
  {
    static TPopupList list;
    return list;
  }
  void Add(TPopupMenu* Menu) { FMenus.push_back(Menu); }
  void Remove(TPopupMenu* Menu)
  {
    std::erase(FMenus, Menu);
    if (FMenus.empty() && FWindow) {
      UtilWindow::DeallocateHWnd(FWindow);
      FWindow = nullptr;
    }
  }
  HWND Window()
  {
    // The window layer may have been reset under us (tests start it afresh).
    if (FWindow && !Windows::IsWindow(FWindow)) FWindow = nullptr;
    if (!FWindow)
      FWindow = UtilWindow::AllocateHWnd(
          [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) { return Handle(Wnd, Msg, WParam, LParam); });
    return FWindow;
  }

private:
  LRESULT Handle(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
  {
    try {
      switch (Msg) {
        case WM_COMMAND:
          for (TPopupMenu* m : std::vector<TPopupMenu*>(FMenus))
            if (std::find(FMenus.begin(), FMenus.end(), m) != FMenus.end() && m->DoDispatchCommand(LOWORD(WParam)))
              return 0;
          break;
        case WM_INITMENUPOPUP:
          for (TPopupMenu* m : FMenus)
            if (m->DoDispatchPopup(reinterpret_cast<HMENU>(WParam))) return 0;
          break;
        case WM_MENUSELECT: MenuSelect(WParam, LParam); return 0;
        case WM_MEASUREITEM:
        case WM_DRAWITEM: {
          TMessage message{Msg, WParam, LParam, 0};
          for (TPopupMenu* m : FMenus)
            if (m->DoOwnerDraw(message)) return TRUE;
          break;
        }
        default: break;
      }
    } catch (...) {
      Controls::AppLink().HandleException(nullptr);
      return 0;
    }
    return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
  }

  void MenuSelect(WPARAM WParam, LPARAM LParam)
  {
    if (!Forms::Application) return;
    TMenuItem* item = nullptr;
    HMENU menu = reinterpret_cast<HMENU>(LParam);
    if (menu) {
      for (TPopupMenu* m : FMenus) {
        if (HIWORD(WParam) & MF_POPUP) {
          HMENU sub = Windows::GetSubMenu(menu, LOWORD(WParam));
          item = m->GetItems()->FindHandle(sub);
        } else {
          item = m->FindItem(LOWORD(WParam));
        }
        if (item) break;
      }
    }
    Forms::Application->SetHint(item ? Controls::GetLongHint(item->GetHint()) : AnsiString());
  }

  std::vector<TPopupMenu*> FMenus;  // borrowed; each removes itself when freed
  HWND FWindow = nullptr;
};

TPopupMenu::TPopupMenu(TComponent* AOwner) : TPopupMenuBase(AOwner), TMenu(false) { TPopupList::Get().Add(this); }

TPopupMenu::~TPopupMenu()
{
  Destroying();
  TPopupList::Get().Remove(this);
  HMENU h = FItems->FHandle;
  FItems.reset();
  if (h) Windows::DestroyMenu(h);
}

void TPopupMenu::GetChildren(TGetChildProc Proc, TComponent* Root) { FItems->GetChildren(Proc, Root); }

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
  TPopupMenuBase::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) ImagesFreed();
}

void TPopupMenu::DoPopup(TObject* Sender)
{
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y)
{
  DoPopup(this);
  static constexpr UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  UINT flags = kAlign[FAlignment] | (FTrackButton == tbLeftButton ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON);
  Windows::TrackPopupMenu(GetMenuHandle(), flags, X, Y, 0, TPopupList::Get().Window(), nullptr);
}

// ---- Start-up ------------------------------------------------------------------------------------

namespace Menus {

void Initialize()
{
  Classes::RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
  ActnList::Initialize();
}

void Finalize() {}

}  // namespace Menus
