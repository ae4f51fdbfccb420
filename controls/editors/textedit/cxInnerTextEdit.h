// TcxCustomInnerTextEdit: the EDIT window inside a text editor. It edits the text while the
// editor shows it and hands keys, mouse, focus and clipboard messages to its container (the
// TcxCustomTextEdit that owns it) first.
//
// A double-byte character reaches the window as two WM_CHAR bytes (a WM_IME_CHAR is split into
// them by the default handler). The window holds the lead byte back and hands the pair on as one
// key: the container's key handlers see the lead byte as Key with the trail byte in
// GetImeLastChar, and either consume both or let both through, so no handler ever leaves half a
// character in the text.
#pragma once

#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/textedit/cxTextEditProperties.h"
#include "platform/stdctrls/edits/CustomEdit.h"

class TcxCustomTextEdit;

// The text interface of an inner EDIT window (the memo's inner window answers it too).
class IcxInnerTextEdit : public IcxCustomInnerEdit {
public:
  virtual void CopyToClipboard() = 0;
  virtual TAlignment GetAlignment() = 0;
  virtual bool GetAutoSelect() = 0;
  virtual TEditCharCase GetCharCase() = 0;
  virtual TcxEditEchoMode GetEchoMode() = 0;
  virtual bool GetHideSelection() = 0;
  // The trail byte of the double-byte character being handed on, else 0.
  virtual char GetImeLastChar() = 0;
  virtual bool GetInternalUpdating() = 0;
  virtual int GetMaxLength() = 0;
  virtual bool GetMultiLine() = 0;
  virtual bool GetOEMConvert() = 0;
  virtual int GetSelLength() = 0;
  virtual int GetSelStart() = 0;
  virtual AnsiString GetSelText() = 0;
  virtual void SelectAll() = 0;
  // Left when the properties' UseLeftAlignmentOnEditing is set; a change recreates the window.
  virtual void SetAlignment(TAlignment Value) = 0;
  virtual void SetAutoSelect(bool Value) = 0;
  virtual void SetCharCase(TEditCharCase Value) = 0;
  virtual void SetEchoMode(TcxEditEchoMode Value) = 0;
  virtual void SetHideSelection(bool Value) = 0;
  virtual void SetInternalUpdating(bool Value) = 0;
  // Characters (a double-byte character counts once); 0: no limit.
  virtual void SetMaxLength(int Value) = 0;
  virtual void SetOEMConvert(bool Value) = 0;
  virtual void SetSelLength(int Value) = 0;
  virtual void SetSelStart(int Value) = 0;
  virtual void SetSelText(const AnsiString& Value) = 0;
};

// The text and selection of the window before a key, to tell whether the key changed them.
struct TcxCustomInnerTextEditPrevState {
  AnsiString Text;
  int SelLength = 0, SelStart = 0;
  bool operator==(const TcxCustomInnerTextEditPrevState&) const = default;
};

class TcxCustomInnerTextEdit : public TCustomEdit, public IcxInnerTextEdit {
  PELTO_DECLARE_CLASS(TcxCustomInnerTextEdit, TCustomEdit)
public:
  using TConstructArg = TComponent*;
  // AOwner is the text editor.
  explicit TcxCustomInnerTextEdit(TComponent* AOwner);
  ~TcxCustomInnerTextEdit() override;

  TcxCustomTextEdit* GetContainer() const;
  // The index of the character at the caret (a double-byte character counts once).
  int GetCaretCharIndex();
  virtual void GetInnerText(AnsiString& Text) { Text = GetText(); }
  virtual void SetInnerText(const AnsiString& Text) { SetText(Text); }
  virtual void AdjustMargins();
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool CanFocus() override;

  // ---- IcxContainerInnerControl, IcxCustomInnerEdit
  TWinControl* GetControl() override { return this; }
  TcxContainer* GetControlContainer() override;
  Variant GetTextValue() override { return Variant(GetText()); }
  TNotifyEvent GetOnChange() override { return OnChange; }
  bool GetReadOnly() override { return TCustomEdit::GetReadOnly(); }
  void LockBounds(bool ALock) override;
  void SafelySetFocus() override;
  void SetTextValue(const Variant& V) override;
  void SetParent(TWinControl* AParent) override { TCustomEdit::SetParent(AParent); }
  void SetOnChange(TNotifyEvent AEvent) override { OnChange = std::move(AEvent); }
  void SetReadOnly(bool Value) override { TCustomEdit::SetReadOnly(Value); }

  // ---- IcxInnerTextEdit
  void CopyToClipboard() override { TCustomEdit::CopyToClipboard(); }
  TAlignment GetAlignment() override { return FAlignment; }
  bool GetAutoSelect() override { return TCustomEdit::GetAutoSelect(); }
  TEditCharCase GetCharCase() override { return TCustomEdit::GetCharCase(); }
  TcxEditEchoMode GetEchoMode() override { return FEchoMode; }
  bool GetHideSelection() override { return TCustomEdit::GetHideSelection(); }
  char GetImeLastChar() override { return FImeState == 2 ? FImeTrail : char(0); }
  bool GetInternalUpdating() override { return FInternalUpdating; }
  int GetMaxLength() override { return TCustomEdit::GetMaxLength(); }
  bool GetMultiLine() override { return false; }
  bool GetOEMConvert() override { return TCustomEdit::GetOEMConvert(); }
  int GetSelLength() override;
  int GetSelStart() override;
  AnsiString GetSelText() override { return TCustomEdit::GetSelText(); }
  void SelectAll() override;
  void SetAlignment(TAlignment Value) override;
  void SetAutoSelect(bool Value) override { TCustomEdit::SetAutoSelect(Value); }
  void SetCharCase(TEditCharCase Value) override { TCustomEdit::SetCharCase(Value); }
  void SetEchoMode(TcxEditEchoMode Value) override;
  void SetHideSelection(bool Value) override { TCustomEdit::SetHideSelection(Value); }
  void SetInternalUpdating(bool Value) override { FInternalUpdating = Value; }
  void SetMaxLength(int Value) override { TCustomEdit::SetMaxLength(Value); }
  void SetOEMConvert(bool Value) override { TCustomEdit::SetOEMConvert(Value); }
  void SetSelLength(int Value) override;
  void SetSelStart(int Value) override;
  void SetSelText(const AnsiString& Value) override { TCustomEdit::SetSelText(Value); }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateHandle() override;
  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override { return false; }
  void Click() override;
  void DblClick() override;
  void DoContextPopup(POINT MousePos, bool& Handled) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;
  virtual void MouseEnter(TControl* AControl) {}
  virtual void MouseLeave(TControl* AControl);
  TcxCustomInnerTextEditPrevState SaveState();
  bool IsKeyHandledByContainer() const { return FKeyHandledByContainer; }

private:
  void HandleChar(TMessage& Message);
  void HandleKeyDown(TMessage& Message);
  bool HandleContainerDrag(TMessage& Message);
  void HandleClipboard(TMessage& Message);

  TAlignment FAlignment = taLeftJustify;
  TcxEditEchoMode FEchoMode = eemNormal;
  int FLockBoundsCount = 0;
  bool FCreating = true;
  bool FKeyHandledByContainer = false;
  // 0 none; 1 a single byte is being handed on; 2 a double-byte character is.
  int FImeState = 0;
  char FImeTrail = 0;
  char FPendingLead = 0;  // a lead byte waiting for its trail byte
  bool FPairDelivered = false;
  bool FInternalUpdating = false;
};
