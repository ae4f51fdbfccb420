// TCustomComboBox / TComboBox: an edit with a list over the "COMBOBOX" window class.
//
// Events in the classic order: opening the list fires OnDropDown; choosing a line with the
// mouse fires OnCloseUp, then OnClick and OnSelect (OnChange when OnSelect is not set); the arrow
// keys with the list closed fire OnClick and OnSelect per move; typing into the edit fires
// OnChange. With AutoComplete, typing into the edit completes the text from the first line it
// begins (the completion selected, so typing on replaces it) and selects that line.
// Keys typed into the inner edit reach OnKeyDown and OnKeyPress as the combo box's own.
#pragma once

#include <memory>

#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/lists/ItemStrings.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TCanvas;
class TCustomComboBox;

// The lines of a combo box; clearing them keeps what the edit shows.
class TComboBoxStrings : public TItemStrings {
public:
  TComboBoxStrings(TCustomComboBox* ACombo, TStringList* ASaved);
  void Clear() override;

private:
  TCustomComboBox* FCombo;
};

class TCustomComboBox : public TWinControl {
  PELTO_CLASS(TCustomComboBox, TWinControl)
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  // Owned; setting copies the lines.
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int GetItemIndex();
  // Selects the line and shows its text (no event).
  void SetItemIndex(int Value);
  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  bool GetDroppedDown();
  void SetDroppedDown(bool Value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool GetAutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  int GetDropDownCount() const { return FDropDownCount; }
  // The lines the dropped list shows before it scrolls (at least 1).
  void SetDropDownCount(int Value);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  // The edit's selection (byte offsets).
  int GetSelStart();
  void SetSelStart(int Value);
  int GetSelLength();
  void SetSelLength(int Value);
  void SelectAll();
  void Clear();
  // Owned; valid while a line is drawn.
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoComplete", &ThisClass::GetAutoComplete, &ThisClass::SetAutoComplete).Default(true);
    p.Property("DropDownCount", &ThisClass::GetDropDownCount, &ThisClass::SetDropDownCount).Default(8);
    p.Property("ItemHeight", &ThisClass::GetItemHeight, &ThisClass::SetItemHeight);
    p.Property("Items", &ThisClass::GetItems, &ThisClass::SetItems);
    p.Property("ItemIndex", &ThisClass::GetItemIndex, &ThisClass::SetItemIndex).Default(-1);
    p.Property("MaxLength", &ThisClass::GetMaxLength, &ThisClass::SetMaxLength).Default(0);
    p.Property("Sorted", &ThisClass::GetSorted, &ThisClass::SetSorted).Default(false);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(csDropDown);
    p.Property("Text", &ThisClass::GetText, &ThisClass::SetText);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
    p.Property("OnCloseUp", TypeInfo_TNotifyEvent(), &ThisClass::OnCloseUp, &ThisClass::OnCloseUp);
    p.Property("OnDrawItem", TypeInfo_TDrawItemEvent(), &ThisClass::OnDrawItem, &ThisClass::OnDrawItem);
    p.Property("OnDropDown", TypeInfo_TNotifyEvent(), &ThisClass::OnDropDown, &ThisClass::OnDropDown);
    p.Property("OnMeasureItem", TypeInfo_TMeasureItemEvent(), &ThisClass::OnMeasureItem, &ThisClass::OnMeasureItem);
    p.Property("OnSelect", TypeInfo_TNotifyEvent(), &ThisClass::OnSelect, &ThisClass::OnSelect);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void KeyPress(char& Key) override;
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void DrawItem(int Index, RECT Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // Completes Typed from the lines; false when no line begins with it.
  bool SelectItem(const AnsiString& Typed);

private:
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);
  bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }
  // The inner edit's messages pass through here first.
  static LRESULT EditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT EditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  std::unique_ptr<TStringList> FSaved;
  std::unique_ptr<TComboBoxStrings> FItems;
  std::unique_ptr<TCanvas> FCanvas;
  TComboBoxStyle FStyle = csDropDown;
  bool FSorted = false;
  bool FAutoComplete = true;
  int FDropDownCount = 8;
  int FMaxLength = 0;
  int FItemHeight = 16;
  int FSavedItemIndex = -1;
  AnsiString FSavedItemText;  // found again after a re-sorting window
  bool FSettingText = false;  // the control writes the edit: no OnChange
  HWND FEdit = nullptr;
  WNDPROC FEditDefProc = nullptr;
  char FLead = 0;  // a lead byte typed into the edit, waiting for its trail

  friend class TComboBoxStrings;
};

class TComboBox : public TCustomComboBox {
  PELTO_CLASS(TComboBox, TCustomComboBox)
public:
  using TCustomComboBox::TCustomComboBox;
};
