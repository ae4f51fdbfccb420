// TCustomListBox / TListBox: a list of lines over the "LISTBOX" window class.
//
// Items holds the lines: in the window while it exists, in the control before (and across a
// re-created window). The virtual styles keep no lines: Count says how many there are and
// OnData gives each one's text when it is shown or asked for (OnDataObject its object,
// OnDataFind the line a typed prefix finds). The owner-draw styles call OnDrawItem (and
// OnMeasureItem for variable heights); without a handler the line is drawn as text.
// With MultiSelect any number of lines can be selected (ExtendedSelect: with Shift and Ctrl);
// ItemIndex is then the line with the focus.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/lists/ItemStrings.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TCanvas;
class TCustomListBox;

// The lines of a list box; the virtual styles' come from the control's events.
class TListBoxStrings : public TItemStrings {
public:
  TListBoxStrings(TCustomListBox* AListBox, TStringList* ASaved);
  Integer GetCount() const override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Insert(Integer Index, const AnsiString& S) override;
  Integer Add(const AnsiString& S) override;
  Integer IndexOf(const AnsiString& S) const override;

protected:
  AnsiString Get(Integer Index) const override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;

private:
  TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
  PELTO_CLASS(TCustomListBox, TWinControl)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  // Owned; setting copies the lines.
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // -1: none. With MultiSelect the focused line (setting it moves the focus only).
  int GetItemIndex();
  void SetItemIndex(int Value);
  // The lines, or for the virtual styles the count set.
  int GetCount();
  // The virtual styles only; raises EInvalidOperation for the others.
  void SetCount(int Value);
  bool GetSelected(int Index);
  void SetSelected(int Index, bool Value);
  int GetSelCount();
  void ClearSelection();
  void SelectAll();
  void DeleteSelected();
  void Clear();
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool GetExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  int GetItemHeight();
  void SetItemHeight(int Value);
  int GetColumns() const { return FColumns; }
  void SetColumns(int Value);
  int GetTopIndex();
  void SetTopIndex(int Value);
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  // The line at a client point; with Existing -1 below the last line, else the line after it.
  int ItemAtPos(POINT Pos, bool Existing);
  RECT ItemRect(int Index);
  // The text of line Index (OnData's for the virtual styles).
  AnsiString GetItemText(int Index);
  // Owned; valid while a line is drawn.
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  bool IsVirtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }

  TLBGetDataEvent OnData;
  TLBGetDataObjectEvent OnDataObject;
  TLBFindDataEvent OnDataFind;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  PELTO_PUBLISHED(p)
  {
    p.Property("Columns", &ThisClass::GetColumns, &ThisClass::SetColumns).Default(0);
    p.Property("ExtendedSelect", &ThisClass::GetExtendedSelect, &ThisClass::SetExtendedSelect).Default(true);
    p.Property("IntegralHeight", &ThisClass::GetIntegralHeight, &ThisClass::SetIntegralHeight).Default(false);
    p.Property("ItemHeight", &ThisClass::GetItemHeight, &ThisClass::SetItemHeight);
    p.Property("Items", &ThisClass::GetItems, &ThisClass::SetItems);
    p.Property("MultiSelect", &ThisClass::GetMultiSelect, &ThisClass::SetMultiSelect).Default(false);
    p.Property("Sorted", &ThisClass::GetSorted, &ThisClass::SetSorted).Default(false);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(lbStandard);
    p.Property("OnData", TypeInfo_TLBGetDataEvent(), &ThisClass::OnData, &ThisClass::OnData);
    p.Property("OnDataFind", TypeInfo_TLBFindDataEvent(), &ThisClass::OnDataFind, &ThisClass::OnDataFind);
    p.Property("OnDataObject", TypeInfo_TLBGetDataObjectEvent(), &ThisClass::OnDataObject, &ThisClass::OnDataObject);
    p.Property("OnDrawItem", TypeInfo_TDrawItemEvent(), &ThisClass::OnDrawItem, &ThisClass::OnDrawItem);
    p.Property("OnMeasureItem", TypeInfo_TMeasureItemEvent(), &ThisClass::OnMeasureItem, &ThisClass::OnMeasureItem);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void DrawItem(int Index, RECT Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);

private:
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);

  std::unique_ptr<TStringList> FSaved;  // the lines while there is no window
  std::unique_ptr<TListBoxStrings> FItems;
  std::unique_ptr<TCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  bool FIntegralHeight = false;
  int FColumns = 0;
  int FItemHeight = 16;
  int FCount = 0;            // the virtual styles' count
  int FSavedItemIndex = -1;  // across a re-created window
  int FSavedTopIndex = 0;
  std::vector<int> FSavedSelection;

  friend class TListBoxStrings;
};

class TListBox : public TCustomListBox {
  PELTO_CLASS(TListBox, TCustomListBox)
public:
  using TCustomListBox::TCustomListBox;
};
