// TCustomEdit: a single-line text box over the "EDIT" window class, and TEdit, its published
// form. The window holds the text, the selection, the modified flag and the undo step while it
// exists; the control keeps them across a re-created window.
//
// OnChange fires once per change of the text: from the window's EN_CHANGE while there is a
// window, from the text change itself before. AutoSelect selects the whole text when the
// focus arrives by the keyboard (not by a click into the box).
#pragma once

#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TCustomEdit : public TWinControl {
  PELTO_CLASS(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* AOwner);

  // ---- Selection (byte offsets into the CP936 text)
  int GetSelStart();
  void SetSelStart(int Value);
  int GetSelLength();
  void SetSelLength(int Value);
  AnsiString GetSelText();
  // Replaces the selection (one change, one undo step).
  void SetSelText(const AnsiString& Value);
  void SelectAll();
  void ClearSelection();

  // ---- Clipboard and undo
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void ClearUndo();
  bool GetCanUndo();
  // Empties the text (one change).
  virtual void Clear();

  // ---- State
  bool GetModified();
  void SetModified(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // 0: no limit. Bytes of CP936 text.
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  // Changing the case converts the present text.
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // Sizes the height to the font (a single-line box only).
  void SetAutoSize(bool Value) override;

  TNotifyEvent OnChange;

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoSelect", &ThisClass::GetAutoSelect, &ThisClass::SetAutoSelect).Default(true);
    p.Property("BorderStyle", TypeInfo_TBorderStyle(), &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle)
        .Default(bsSingle);
    p.Property("CharCase", &ThisClass::GetCharCase, &ThisClass::SetCharCase).Default(ecNormal);
    p.Property("HideSelection", &ThisClass::GetHideSelection, &ThisClass::SetHideSelection).Default(true);
    p.Property("MaxLength", &ThisClass::GetMaxLength, &ThisClass::SetMaxLength).Default(0);
    p.Property("OEMConvert", &ThisClass::GetOEMConvert, &ThisClass::SetOEMConvert).Default(false);
    p.Property("PasswordChar", &ThisClass::GetPasswordChar, &ThisClass::SetPasswordChar).Default(char(0));
    p.Property("ReadOnly", &ThisClass::GetReadOnly, &ThisClass::SetReadOnly).Default(false);
    p.Property("Text", &ThisClass::GetText, &ThisClass::SetText);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
  }

protected:
  // "EDIT" with the box's styles; a descendant adds its alignment or multi-line styles.
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  virtual void CNCommand(TMessage& Message);
  virtual void Change();
  // Whether the box grows with the font: single-line boxes do.
  virtual bool IsSingleLine() const { return true; }
  void AdjustHeight();

private:
  bool FReadOnly = false;
  int FMaxLength = 0;
  char FPasswordChar = 0;
  TEditCharCase FCharCase = ecNormal;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  bool FOEMConvert = false;
  TBorderStyle FBorderStyle = bsSingle;
  // What a destroyed window held, given to the next one.
  bool FSavedModified = false;
  int FSavedSelStart = 0, FSavedSelLength = 0;
  bool FCreating = false;
};

class TEdit : public TCustomEdit {
  PELTO_CLASS(TEdit, TCustomEdit)
public:
  using TCustomEdit::TCustomEdit;
};
