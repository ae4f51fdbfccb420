// The text editor's lookup data: the link between an editor's text and a list of items. It
// finds the first item that starts with the typed text (completion), keeps the key (index) of
// the selected item, moves it with the navigation keys and the wheel, and, for the drop-down
// editors, fills and drives the list box of the pop-up. TcxCustomTextEditLookupData serves the
// plain text editor with the properties' LookupItems (completion only, no list box); the combo
// box's lookup data adds the list box class and sizes.
//
// TcxCustomEditListBox is the owner-drawn list box of the drop-down lists.
//
// Comparisons ignore the case of ASCII letters only; a prefix never ends inside a double-byte
// character.
#pragma once

#include <memory>

#include "controls/framework/cxClasses.h"
#include "controls/framework/cxInnerListBox.h"
#include "platform/rtl/Variants.h"

class TcxCustomTextEdit;

// Directions of MoveSelection.
enum TcxLookupMoveDirection { lmdFirst = 0, lmdLast = 1, lmdNext = 2, lmdPrev = 3, lmdPageUp = 4, lmdPageDown = 5 };

class IcxTextEditLookupData {
public:
  virtual ~IcxTextEditLookupData() = default;
  // Size may be changed to fit whole rows; True when acceptable.
  virtual bool SnapListSize(SIZE& Size) = 0;
  // Shows the selected key in the list.
  virtual void SyncListSelection() = 0;
  virtual void DisconnectList() = 0;
  virtual void BeforeDropDown() = 0;
  virtual void AfterCloseUp() = 0;
  virtual bool IsItemText(const AnsiString& AText) = 0;
  // The list window, null when there is none.
  virtual TWinControl* GetList() = 0;
  virtual Variant GetSelectedKey() = 0;
  // Empty for a key below 0 or not below the item count.
  virtual AnsiString GetKeyText(const Variant& AKey) = 0;
  virtual TNotifyEvent GetOnKeyChanged() = 0;
  virtual TNotifyEvent GetOnItemSelected() = 0;
  virtual void ListSize(SIZE Room, bool FixedWidth, SIZE& Size) = 0;
  virtual void MoveSelection(TcxLookupMoveDirection ADirection, bool ACycle = false) = 0;
  virtual void PrepareList(TWinControl* AParent) = 0;
  virtual bool IsEmpty() = 0;
  // P in screen coordinates.
  virtual bool IsPointInList(POINT P) = 0;
  // Searches from the first item.
  virtual bool Locate(AnsiString& AText, AnsiString& ATail, bool AForceKeyReset) = 0;
  virtual void PositionList(const RECT& ARect) = 0;
  virtual void PropertiesChanged() = 0;
  virtual void SelectItem() = 0;
  virtual void SetSelectedKey(const Variant& AKey) = 0;
  virtual void SetOnKeyChanged(TNotifyEvent Value) = 0;
  virtual void SetOnItemSelected(TNotifyEvent Value) = 0;
  virtual void TextChanged() = 0;
};

class TcxCustomEditListBox : public TcxCustomInnerListBox {
  PELTO_DECLARE_CLASS(TcxCustomEditListBox, TcxCustomInnerListBox)
public:
  using TConstructArg = TComponent*;
  explicit TcxCustomEditListBox(TComponent* AOwner);

  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value) { FHotTrack = Value; }
  // Sets the list's selection, then reports it (after the bars follow).
  virtual void SetItemIndex(int Value);
  bool IsVisible();
  // Empty rows added at the end or removed from the end, in one update bracket.
  void SetItemCount(int N);
  void Recreate();

  virtual bool DrawItemByEvent(int Index, const RECT& Rect, TOwnerDrawState State) { return false; }
  virtual int RowsHeight(int Count) { return Count * ItemHeightAt(-1); }
  virtual void ItemText(int Index, AnsiString& Text);
  // The height of "Wg" in the list's font.
  virtual int ItemHeightAt(int Index);
  virtual void CheckRecreate() {}

  void Click() override;
  // Fired by Click and by SetItemIndex.
  TNotifyEvent OnSelectItem;

protected:
  void DrawItem(int Index, RECT Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  void WndProc(TMessage& Message) override;

private:
  void DoSelectItem();

  bool FHotTrack = true;
};

class TcxCustomTextEditLookupData : public TcxInterfacedPersistent, public IcxTextEditLookupData {
  PELTO_DECLARE_CLASS(TcxCustomTextEditLookupData, TcxInterfacedPersistent)
public:
  using TConstructArg = TPersistent*;
  // AOwner is the text editor.
  explicit TcxCustomTextEditLookupData(TPersistent* AOwner);
  ~TcxCustomTextEditLookupData() override;
  TPersistent* GetOwner() override { return FOwner; }
  TcxCustomTextEdit* GetEdit() const;

  int GetCurrentKey() const { return FCurrentKey; }
  int GetItemIndex() const { return FItemIndex; }
  TcxCustomEditListBox* GetListBox() const { return FList; }

  // ---- Virtual operations
  virtual void GetItem(int AIndex, AnsiString& AText);
  virtual int GetItemCount();
  // The list box class; null: no list.
  virtual TClass GetListBoxClass() const { return nullptr; }
  virtual void ListItemSelected(TObject* Sender);
  // See IcxTextEditLookupData::Locate; ANext starts after the list item index.
  virtual bool Locate(AnsiString& AText, AnsiString& ATail, bool ANext, bool AForceKeyReset);
  virtual void ItemsChanged();

  // ---- IcxTextEditLookupData
  bool SnapListSize(SIZE& Size) override { return true; }
  void SyncListSelection() override;
  void DisconnectList() override {}
  void BeforeDropDown() override {}
  void AfterCloseUp() override {}
  bool IsItemText(const AnsiString& AText) override;
  TWinControl* GetList() override;
  Variant GetSelectedKey() override { return Variant(FCurrentKey); }
  AnsiString GetKeyText(const Variant& AKey) override;
  TNotifyEvent GetOnKeyChanged() override { return OnKeyChanged; }
  TNotifyEvent GetOnItemSelected() override { return OnItemSelected; }
  void ListSize(SIZE Room, bool FixedWidth, SIZE& Size) override { Size = SIZE{0, 0}; }
  void MoveSelection(TcxLookupMoveDirection ADirection, bool ACycle = false) override;
  void PrepareList(TWinControl* AParent) override;
  bool IsEmpty() override { return GetItemCount() == 0; }
  bool IsPointInList(POINT P) override;
  bool Locate(AnsiString& AText, AnsiString& ATail, bool AForceKeyReset) override
  {
    return Locate(AText, ATail, false, AForceKeyReset);
  }
  void PositionList(const RECT& ARect) override;
  void PropertiesChanged() override { ItemsChanged(); }
  void SelectItem() override;
  void SetSelectedKey(const Variant& AKey) override;
  void SetOnKeyChanged(TNotifyEvent Value) override { OnKeyChanged = std::move(Value); }
  void SetOnItemSelected(TNotifyEvent Value) override { OnItemSelected = std::move(Value); }
  void TextChanged() override;

  TNotifyEvent OnKeyChanged;  // kept and handed out, not fired here
  TNotifyEvent OnItemSelected;

protected:
  // Shows the item in the list; -1 clears the list's selection.
  void SetListItemIndex(int AIndex);
  void SetCurrentKey(int AKey);
  void DoItemSelected();
  TcxCustomEditListBox* FList = nullptr;  // owned through its owner (the list's parent's form)

private:
  TPersistent* FOwner;
  int FCurrentKey = -1;
  int FItemIndex = -1;
};

namespace cxTextEdit {
// The first ALength bytes of AItem equal AText ignoring ASCII case, and AItem has a character
// boundary there.
bool StartsWithText(const AnsiString& AItem, const AnsiString& AText);
}  // namespace cxTextEdit
