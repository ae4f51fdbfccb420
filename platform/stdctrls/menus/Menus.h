// Menus: TMenuItem (the item tree), TMenu, TMainMenu (a form's menu bar, merged with the menu of
// the active MDI child) and TPopupMenu (shown at a point).
//
// Flow: a change to an item rebuilds the menu handle of its parent in place (the handles stay
// the same, so an open menu and a window's bar keep working); the form passes WM_COMMAND,
// WM_INITMENUPOPUP and key short cuts to its TMainMenu; pop-up menus get theirs through one
// hidden window that also carries the selected item's hint to Application.Hint.
//
// Ownership: an item belongs to its Owner component (the form) like any component, and is also
// freed with its parent item; freeing an item takes it out of its parent. A menu owns its root
// item (Items).
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/controls/MainMenuBase.h"
#include "platform/forms/controls/PopupMenuBase.h"
#include "platform/stdctrls/StdCtrlsTypes.h"
#include "platform/stdctrls/menus/ShortCuts.h"
#include "platform/win/WinUser.h"

class TMenu;
class TCanvas;
class TChangeLink;

class TMenuItem : public TComponent {
  PELTO_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  // Frees the sub-items and leaves the parent.
  ~TMenuItem() override;

  // ---- The tree
  int GetCount() const { return int(FItems.size()); }
  // Raises EMenuError "Menu index out of range" for a bad index.
  TMenuItem* GetItem(int Index) const;
  TMenuItem* GetParent() const { return FParent; }
  // Index -1 or Count appends. Raises EMenuError "Menu inserted twice" for an item that already
  // has a parent.
  void Add(TMenuItem* Item) { Insert(GetCount(), Item); }
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* Item);
  // Frees the item at Index.
  void Delete(int Index);
  // Frees every sub-item.
  void Clear();
  // -1 when Item is not a sub-item.
  int IndexOf(const TMenuItem* Item) const;
  int GetMenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  // The sub-item with that command id or pop-up handle (searching the whole branch); null when none.
  TMenuItem* FindCommand(UINT ACommand);
  TMenuItem* FindHandle(HMENU AHandle);
  // The menu the item's tree belongs to (null for a free item).
  TMenu* GetParentMenu() const;

  // ---- Properties
  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool IsLine() const { return FCaption == "-"; }
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool GetChecked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its group under the same parent.
  void SetChecked(bool Value);
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  Byte GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The id the item's WM_COMMAND carries (unique while the item lives).
  UINT GetCommand() const { return FCommand; }
  // The pop-up menu of an item with sub-items (made on demand, owned by the item); the root item
  // of a menu answers the menu's handle.
  HMENU GetHandle();

  // Runs the action (when linked to one) or OnClick; an item with sub-items is clicked when its
  // pop-up opens.
  virtual void Click();
  // The item's action asks for an update (OnUpdate); InitiateActions does so for the sub-items.
  void InitiateAction();
  void InitiateActions();
  // The action whose caption, hint, image, short cut and states the item shows (borrowed;
  // forgotten when the action is freed).
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);

  TNotifyEvent OnClick;

  // ---- Images
  // Whether the item is drawn by the class library (its menu has Images; on the bar only an item
  // with an image): in a pop-up the image in a column left of the caption, checked items with
  // an image sunken; on the bar the image beside the caption.
  bool IsOwnerDrawn() const;
  // Whether the item stands on a menu bar (a main menu's top level).
  bool IsBarItem() const;
  // The size the item takes in its pop-up (menu font, image, caption and short cut).
  virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  // Draws the item in ARect in the classic look.
  virtual void AdvancedDrawItem(TCanvas* ACanvas, RECT ARect, TOwnerDrawState State);

  // Streams: sub-items are written as children of the item.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  bool HasParent() override { return true; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("Checked", &ThisClass::GetChecked, &ThisClass::SetChecked).Default(false);
    p.Property("Default", &ThisClass::GetDefault, &ThisClass::SetDefault).Default(false);
    p.Property("Enabled", &ThisClass::GetEnabled, &ThisClass::SetEnabled).Default(true);
    p.Property("GroupIndex", &ThisClass::GetGroupIndex, &ThisClass::SetGroupIndex).Default(0);
    p.Property("Hint", &ThisClass::GetHint, &ThisClass::SetHint);
    p.Property("ImageIndex", &ThisClass::GetImageIndex, &ThisClass::SetImageIndex).Default(-1);
    p.Property("RadioItem", &ThisClass::GetRadioItem, &ThisClass::SetRadioItem).Default(false);
    p.Property("ShortCut", &ThisClass::GetShortCut, &ThisClass::SetShortCut).Default(0);
    p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(true);
    p.Property("OnClick", TypeInfo_TNotifyEvent(), &ThisClass::OnClick, &ThisClass::OnClick);
    p.Property("Action", &ThisClass::GetAction, &ThisClass::SetAction);
  }

protected:
  // Something shown changed: the parent's menu is rebuilt.
  void MenuChanged();
  // The linked action changed: the item takes over what the action shows.
  virtual void ActionChange(TBasicAction* Sender);

private:
  void DrawBarItem(TCanvas* ACanvas, RECT ARect, TCustomImageList* Images, bool Selected, bool Disabled);
  // Refills the item's own pop-up (or the menu's root handle) from its visible sub-items.
  void RebuildHandle();
  // The entries of the item's pop-up, for the root of a merged main menu the merged list.
  std::vector<TMenuItem*> ShownItems() const;
  void AppendTo(HMENU Menu);
  void TurnSiblingsOff();

  std::unique_ptr<TBasicActionLink> FActionLink;
  std::vector<TMenuItem*> FItems;  // owned through the tree (also listed by their Owner)
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  HMENU FHandle = nullptr;
  UINT FCommand = 0;
  AnsiString FCaption;
  AnsiString FHint;
  TShortCut FShortCut = 0;
  bool FChecked = false, FRadioItem = false, FEnabled = true, FVisible = true, FDefault = false;
  Byte FGroupIndex = 0;
  int FImageIndex = -1;
  friend class TMenu;
  friend class TMainMenu;
  friend class TPopupMenu;
  friend class TMenuActionLink;
};

class TMenu {
public:
  virtual ~TMenu() = default;
  // The root item; its sub-items are the menu's top level.
  TMenuItem* GetItems() const { return FItems.get(); }
  // The image list the items' ImageIndex refers to (borrowed; forgotten when it is freed).
  // With one, the pop-up items are drawn by the items themselves.
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The menu's handle: a bar for a main menu, a pop-up otherwise (owned by the menu).
  HMENU GetMenuHandle();
  // The item whose short cut is Key; null when none. Hidden items and what is below a hidden or
  // disabled item never match; a disabled item does (its action may enable it).
  TMenuItem* FindShortCut(TShortCut Key);
  TMenuItem* FindItem(UINT Command);

protected:
  explicit TMenu(bool Bar);
  // The handle was refilled (a main menu redraws its form's bar).
  virtual void MenuChanged() {}
  // Runs the item of a command, or clicks the item whose pop-up is opening; answers whether
  // one of the menu's items took it.
  bool DoDispatchCommand(UINT Command);
  bool DoDispatchPopup(HMENU Handle);
  bool DoIsShortCut(TMessage& Message);
  // WM_MEASUREITEM / WM_DRAWITEM of one of the menu's owner-drawn items.
  bool DoOwnerDraw(TMessage& Message);
  // The menu as a component (for free notifications).
  virtual TComponent* MenuComponent() = 0;
  // For Notification: the image list is being freed; forgets it without calling into it.
  void ImagesFreed();
  // Refills every pop-up after the image list changed.
  void ImagesChanged();
  // The root items whose trees the menu searches (its own, and a merged one).
  virtual std::vector<TMenuItem*> Roots() const { return {FItems.get()}; }

  std::unique_ptr<TMenuItem> FItems;
  TCustomImageList* FImages = nullptr;
  bool FBar;
  friend class TMenuItem;
};

class TMainMenu : public TMainMenuBase, public TMenu {
  PELTO_CLASS(TMainMenu, TMainMenuBase)
public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;

  HMENU GetHandle() override { return GetMenuHandle(); }
  bool DispatchCommand(WORD ACommand) override { return DoDispatchCommand(ACommand); }
  bool DispatchPopup(HMENU AHandle) override { return DoDispatchPopup(AHandle); }
  bool IsShortCut(TMessage& Message) override { return DoIsShortCut(Message); }
  bool DispatchOwnerDraw(TMessage& Message) override { return DoOwnerDraw(Message); }
  void MergeChildMenu(TMainMenuBase* Child, bool Merge) override;

  // Shows the top-level items of Menu among ours by GroupIndex: its items take the place of
  // ours with the same group index, and the others fall in between by group index. Null (or
  // Unmerge of the merged menu) shows our own again. A merged menu that is freed is unmerged.
  void Merge(TMainMenu* Menu);
  void Unmerge(TMainMenu* Menu);
  TMainMenu* GetMerged() const { return FMerged; }
  // Whether a form's frame merges this menu when the form is the active MDI child.
  bool GetAutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool Value) { FAutoMerge = Value; }

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoMerge", &ThisClass::GetAutoMerge, &ThisClass::SetAutoMerge).Default(false);
    p.Property("Images", &ThisClass::GetImages, &ThisClass::SetImages);
  }

protected:
  void MenuChanged() override;
  std::vector<TMenuItem*> Roots() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TComponent* MenuComponent() override { return this; }

private:
  TMainMenu* FMerged = nullptr;
  bool FAutoMerge = false;
  friend class TMenuItem;
};

PELTO_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
PELTO_ENUM(TTrackButton, tbRightButton, tbLeftButton)

class TPopupMenu : public TPopupMenuBase, public TMenu {
  PELTO_CLASS(TPopupMenu, TPopupMenuBase)
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  HMENU GetHandle() { return GetMenuHandle(); }
  // OnPopup, then the menu at the screen point; the chosen item's OnClick runs when its command
  // comes back through the message queue, as with the system's menus.
  void Popup(int X, int Y) override;
  TPopupAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  TTrackButton GetTrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton Value) { FTrackButton = Value; }
  bool IsShortCut(TMessage& Message) { return DoIsShortCut(Message); }

  TNotifyEvent OnPopup;

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("Alignment", &ThisClass::GetAlignment, &ThisClass::SetAlignment).Default(paLeft);
    p.Property("Images", &ThisClass::GetImages, &ThisClass::SetImages);
    p.Property("TrackButton", &ThisClass::GetTrackButton, &ThisClass::SetTrackButton).Default(tbRightButton);
    p.Property("OnPopup", TypeInfo_TNotifyEvent(), &ThisClass::OnPopup, &ThisClass::OnPopup);
  }

protected:
  virtual void DoPopup(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TComponent* MenuComponent() override { return this; }

private:
  TPopupAlignment FAlignment = paLeft;
  TTrackButton FTrackButton = tbRightButton;
  friend class TPopupList;
};

PELTO_DECLARE_EXCEPTION(EMenuError, Exception);

namespace Menus {
// Registers the menu classes for streams and scripts. Idempotent.
void Initialize();
void Finalize();
}  // namespace Menus
