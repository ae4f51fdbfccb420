// The report library's flat combo boxes: TfrxCustomComboBox / TfrxComboBox (an owner-drawn
// drop-down with a thin frame and a narrow arrow button that light up while the control is
// used) and TfrxComboEdit (an edit with a button beside it, on the simple combo style).
#pragma once

#include <memory>

#include "platform/stdctrls/lists/ComboBox.h"

class TBitmap;
class TCanvas;
class TPanel;
class TSpeedButton;

class TfrxCustomComboBox : public TCustomComboBox {
  PELTO_DECLARE_CLASS(TfrxCustomComboBox, TCustomComboBox)
public:
  static constexpr int ButtonWidth = 11;

  explicit TfrxCustomComboBox(TComponent* AOwner);

  // 0: the control's width - 1.
  int GetListWidth() const { return FListWidth; }
  void SetListWidth(int Value);
  bool GetReadOnly() const { return FReadOnly; }
  // The edit part refuses typing (kept when the window is made again).
  void SetReadOnly(bool Value);
  // Whether the list last opened above the control (the screen ended below it).
  bool GetDroppedUp() const { return FDroppedUp; }
  // Lit: designed, dropped down, focused in its edit, or under the mouse.
  bool IsHighlighted();

  // The list window's height for Count entries: min(DropDownCount, Count) rows + 4; one row
  // when the list is empty or DropDownCount is 0.
  static int ListHeight(int DropDownCount, int Count, int ItemHeight);
  // The edit part's rectangle in a control of Width x Height.
  static RECT EditRect(int Width, int Height, int EditOffset);

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void DropDown() override;
  void CloseUp() override;
  void DrawItem(int Index, RECT Rect, TOwnerDrawState State) override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  // The field: frames, button and arrow; the edit part paints itself.
  virtual void PaintField(TCanvas* Canvas);
  // The band of EditOffset pixels left of the text (empty here).
  virtual void PaintEditOffset(TCanvas* Canvas, const RECT& Band) {}
  void PlaceEdit();
  void UpdateItemHeight();

  int FEditOffset = 0;  // pixels kept free left of the text
  bool FMouseInControl = false;

private:
  void PaintArrow(TCanvas* Canvas, int X, int Y);
  // The list window's messages come here first: its frame is painted raised. Its former
  // procedure is kept with the window, which may outlive this object's destructor by a moment.
  static LRESULT ListWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  int FListWidth = 0;
  bool FReadOnly = false;
  bool FDroppedUp = false;
  bool FDropped = false;
  bool FEditFocused = false;
};

class TfrxComboBox : public TfrxCustomComboBox {
  PELTO_DECLARE_CLASS(TfrxComboBox, TfrxCustomComboBox)
public:
  using TfrxCustomComboBox::TfrxCustomComboBox;

  PELTO_PUBLISHED(p);
};

class TfrxComboEdit : public TCustomComboBox {
  PELTO_DECLARE_CLASS(TfrxComboEdit, TCustomComboBox)
public:
  explicit TfrxComboEdit(TComponent* AOwner);

  // The button's picture (owned by the button; setting copies).
  TBitmap* GetGlyph() const;
  void SetGlyph(TBitmap* Value);
  bool GetButtonEnabled() const { return FButtonEnabled; }
  void SetButtonEnabled(bool Value);
  AnsiString GetButtonHint() const;
  void SetButtonHint(const AnsiString& Value);
  TSpeedButton* GetButton() const { return FButton; }

  TNotifyEvent OnButtonClick;

  PELTO_PUBLISHED(p);

protected:
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Resize() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void CMEnabledChanged(TMessage& Message) override;

private:
  void ButtonClick(TObject* Sender);
  void PlaceParts();

  TPanel* FPanel = nullptr;         // owned by this control
  TSpeedButton* FButton = nullptr;  // owned by this control
  bool FButtonEnabled = true;
};
