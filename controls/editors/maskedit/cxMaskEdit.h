// TcxCustomMaskEdit: the single-line text editor with an input mask, and
// TcxCustomMaskEditProperties, the mask settings. The mask is a classic edit mask or a regular
// expression, chosen by MaskKind; the control routes keys, mouse, clipboard and value changes to
// a mode object of that kind (cxMaskEditModes.h). With an empty mask the editor is the text
// editor it derives from. The drop-down and spin editors derive from these classes.
#pragma once

#include <memory>

#include "controls/editors/maskedit/cxMaskEditModes.h"
#include "controls/editors/textedit/cxTextEdit.h"

PELTO_ENUM(TcxEditMaskKind, emkStandard, emkRegExpr, emkRegExprEx)

class TcxCustomMaskEditProperties : public TcxCustomTextEditProperties {
  PELTO_DECLARE_CLASS(TcxCustomMaskEditProperties, TcxCustomTextEditProperties)
public:
  explicit TcxCustomMaskEditProperties(TPersistent* AOwner);
  ~TcxCustomMaskEditProperties() override;
  void Assign(TPersistent* Source) override;

  TcxEditMaskKind GetMaskKind() const { return FMaskKind; }
  void SetMaskKind(TcxEditMaskKind Value);
  // A standard mask of blanks only is no mask: the provider's edit mask (a field's) stands in.
  AnsiString GetEditMask();
  // A bad regular expression raises EcxMaskEditError and nothing is stored.
  void SetEditMask(const AnsiString& Value);
  const AnsiString& GetStoredEditMask() const { return FEditMask; }
  bool IsMasked();
  bool GetCaseInsensitive() const { return FCaseInsensitive; }
  // Forced on while CharCase is not ecNormal.
  void SetCaseInsensitive(bool Value);
  bool GetIgnoreMaskBlank() const { return FIgnoreMaskBlank; }
  void SetIgnoreMaskBlank(bool Value) { FIgnoreMaskBlank = Value; }
  bool GetAlwaysShowBlanksAndLiterals() const { return FAlwaysShowBlanksAndLiterals; }
  void SetAlwaysShowBlanksAndLiterals(bool Value);
  const AnsiString& GetEmptyString() const { return FEmptyString; }
  void SetEmptyString(const AnsiString& Value) { FEmptyString = Value; }
  void SetCharCase(TEditCharCase Value) override;
  // Stored as 0 (no limit) while masked.
  void SetMaxLength(int Value) override;

  // A new mode of the kind for the editor (null for a private one).
  std::unique_ptr<TcxMaskEditCustomMode> CreateMode(TcxEditMaskKind AKind, TcxCustomMaskEdit* AEdit);

  TClass GetContainerClass() const override;
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool AEditFocused) override;
  void ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error, TcxCustomEdit* AEdit) override;
  TcxEditDisplayFormatOptions GetDisplayFormatOptions() override;
  bool UseLookupData() override;

private:
  TcxEditMaskKind FMaskKind = emkStandard;
  AnsiString FEditMask;
  bool FCaseInsensitive = true;
  bool FIgnoreMaskBlank = false;
  bool FAlwaysShowBlanksAndLiterals = false;
  AnsiString FEmptyString;
  std::unique_ptr<TcxMaskEditCustomMode> FDisplayMode;  // formats values for painting
};

class TcxMaskEditProperties : public TcxCustomMaskEditProperties {
  PELTO_DECLARE_CLASS(TcxMaskEditProperties, TcxCustomMaskEditProperties)
public:
  using TcxCustomMaskEditProperties::TcxCustomMaskEditProperties;
  PELTO_PUBLISHED(p);
};

class TcxCustomMaskEdit : public TcxCustomTextEdit {
  PELTO_DECLARE_CLASS(TcxCustomMaskEdit, TcxCustomTextEdit)
public:
  explicit TcxCustomMaskEdit(TComponent* AOwner);
  ~TcxCustomMaskEdit() override;

  TcxCustomMaskEditProperties* GetMaskProperties()
  {
    return static_cast<TcxCustomMaskEditProperties*>(GetProperties());
  }
  TcxMaskEditCustomMode* GetMode() const { return FMode.get(); }
  bool IsMasked() { return GetMaskProperties()->IsMasked(); }
  // The display text turned into a value by the mode.
  const AnsiString& GetValueText() const { return FValueText; }

  // ---- What the modes use
  bool IsInternalKey() const { return FInternalKey; }
  // Sends the inner EDIT window a key-down or a character with the internal-key flag set.
  void SendInternalKey(Word AKey);
  void SendInternalChar(char AChar);
  bool GetShiftHeld() const { return FShift; }
  void SetShiftHeld(bool Value) { FShift = Value; }
  // Shows AText as the display text without validation or lookup.
  void ShowModeText(const AnsiString& AText);

  // ---- Overrides
  void SetSelStart(int Value) override;
  void SetSelLength(int Value) override;
  void SetSelText(const AnsiString& Value) override;
  void PasteFromClipboard() override;
  void CutToClipboard() override;
  void DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  TClass GetPropertiesClass() const override;
  void SynchronizeDisplayValue() override;
  void PropertiesChanged(TObject* Sender) override;
  void InternalGetText(AnsiString& S) override;
  bool InternalSetText(const AnsiString& S) override;

protected:
  void Loaded() override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void DoEditKeyPress(char& Key) override;
  void DoEditKeyUp(Word& Key, TShiftState Shift) override;
  void DblClick() override;
  void DoEnter() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void ChangeHandler(TObject* Sender) override;
  void SetInternalDisplayValue(const Variant& Value) override;
  void RepositoryItemAssigned() override;
  // Runs a mode operation that may send keys to the inner edit.
  void BeforePasteText(int ALength);

private:
  void UpdateValueText();

  std::unique_ptr<TcxMaskEditCustomMode> FMode;
  bool FInternalKey = false;
  bool FShift = false;
  AnsiString FValueText;
  TEditCharCase FModeCharCase = ecNormal;
  TcxEditEchoMode FModeEchoMode = eemNormal;
};

class TcxMaskEdit : public TcxCustomMaskEdit {
  PELTO_DECLARE_CLASS(TcxMaskEdit, TcxCustomMaskEdit)
public:
  using TcxCustomMaskEdit::TcxCustomMaskEdit;
  TClass GetPropertiesClass() const override;
};

namespace cxMaskEdit {
// Registers TcxMaskEditProperties in the editor properties list. Idempotent.
void Initialize();
}  // namespace cxMaskEdit
