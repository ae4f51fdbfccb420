// TcxListBox: the family's list box, a container around a system list box (TcxInnerListBox) that
// gets the family's border, hot-tracking and painted bars, with a data binding through which a
// bound value selects the item of that text and the selected text is written back, and an
// integral-height mode the container works out itself (IntegralHeightFor).
//
// List box messages (LB_ADDSTRING .. LB_MSGMAX) sent to the container are answered by the inner
// list box. Ownership: the list box owns the inner list box (as its owner) and the data binding.
#pragma once

#include <functional>
#include <memory>

#include "controls/data/controller/cxDataBinding.h"
#include "controls/framework/cxContainer.h"
#include "controls/framework/cxInnerListBox.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TcxListBox;

using TcxListBoxDrawItemEvent = std::function<void(TcxListBox* AControl, TcxCanvas* ACanvas, int AIndex,
                                                   const RECT& ARect, TOwnerDrawState AState)>;
using TcxListBoxMeasureItemEvent = std::function<void(TcxListBox* AControl, int AIndex, int& Height)>;

class TcxInnerListBox : public TcxCustomInnerListBox {
  PELTO_DECLARE_CLASS(TcxInnerListBox, TcxCustomInnerListBox)
public:
  using TConstructArg = TComponent*;
  explicit TcxInnerListBox(TComponent* AOwner) : TcxCustomInnerListBox(AOwner) {}
  TcxListBox* GetListBox() const;
  bool CanFocus() override;
  // Only while the binding allows changes.
  void Click() override;
  void MeasureItemFor(int Index, int& Height) { MeasureItem(Index, Height); }

protected:
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void DrawItem(int Index, RECT Rect, TOwnerDrawState State) override;
};

class TcxListBox : public TcxContainer {
  PELTO_DECLARE_CLASS(TcxListBox, TcxContainer)
public:
  explicit TcxListBox(TComponent* AOwner);
  ~TcxListBox() override;

  TcxInnerListBox* GetInnerListBox() const { return FInnerListBox; }
  // Made on first use by CreateDataBinding, so a descendant's binding is in force.
  TcxCustomDataBinding* GetDataBinding();

  bool GetAutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  int GetColumns() const { return FInnerListBox->GetColumns(); }
  void SetColumns(int Value);
  bool GetExtendedSelect() const { return FInnerListBox->GetExtendedSelect(); }
  void SetExtendedSelect(bool Value) { FInnerListBox->SetExtendedSelect(Value); }
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  int GetItemHeight() const { return FInnerListBox->GetItemHeight(); }
  void SetItemHeight(int Value);
  TStrings* GetItems() const { return FInnerListBox->GetItems(); }
  // Copies the lines, then the binding's value selects again.
  void SetItems(TStrings* Value);
  TListBoxStyle GetListStyle() const { return FInnerListBox->GetStyle(); }
  void SetListStyle(TListBoxStyle Value) { FInnerListBox->SetStyle(Value); }
  bool GetMultiSelect() const { return FInnerListBox->GetMultiSelect(); }
  void SetMultiSelect(bool Value) { FInnerListBox->SetMultiSelect(Value); }
  int GetScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int Value);
  bool GetSorted() const { return FInnerListBox->GetSorted(); }
  void SetSorted(bool Value) { FInnerListBox->SetSorted(Value); }
  int GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value);
  int GetItemIndex() { return FInnerListBox->GetItemIndex(); }
  void SetItemIndex(int Value) { FInnerListBox->SetItemIndex(Value); }
  int GetCount() { return FInnerListBox->GetCount(); }
  void Clear() { FInnerListBox->Clear(); }
  // Point in the container's coordinates; -1 when no item is there (with Existing).
  int GetItemAtPoint(POINT Point, bool Existing = true);

  // The height nearest below (or at) AHeight that shows whole rows, for a width of AWidth.
  // Item heights below 1 count as 1.
  int IntegralHeightFor(int AWidth, int AHeight);
  // The height of row Index as the list style makes it.
  int GetRowHeight(int Index);

  TcxListBoxDrawItemEvent OnDrawItem;
  TcxListBoxMeasureItemEvent GetOnMeasureItem() const { return FOnMeasureItem; }
  // Wired into the inner list box only while assigned.
  void SetOnMeasureItem(TcxListBoxMeasureItemEvent Value);

  PELTO_PUBLISHED(p);

protected:
  // Fires OnDrawItem; answers whether it is assigned.
  virtual bool DrawItem(TcxCanvas* ACanvas, int AIndex, TOwnerDrawState AState, const RECT& ARect);
  virtual std::unique_ptr<TcxCustomDataBinding> CreateDataBinding();
  virtual TcxInnerListBox* CreateInnerListBox() { return new TcxInnerListBox(this); }

  void UpdateInnerControlColors() override;
  void DataChange() override;
  void UpdateData() override;
  void AdjustInnerControl() override;
  bool IsInternalControl(TControl* AControl) override;
  void FontChanged() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoExit() override;

private:
  friend class TcxInnerListBox;
  bool IsIntegralHeightApplied();
  bool CanModify() { return GetDataBinding()->CanModify(); }

  TcxInnerListBox* FInnerListBox = nullptr;  // owned as a component
  std::unique_ptr<TcxCustomDataBinding> FDataBinding;
  TcxListBoxMeasureItemEvent FOnMeasureItem;
  bool FIntegralHeight = false;
  bool FAutoComplete = true;
  int FScrollWidth = 0;
  int FTabWidth = 0;
  bool FExiting = false;
  bool FAdjusting = false;
};
