// TcxSpinEdit: the numeric editor. Its buttons, the arrow and page keys and the mouse wheel step
// a number by Increment or LargeIncrement, inside optional bounds, as an integer (vtInt) or a
// floating-point number (vtFloat). Holding a spin button repeats the step after 400 ms, then
// every 100 ms, while the pointer stays on the button.
//
// The current value comes from the typed text while the last change was typing, else from the
// last stepped number. Numbers and steps stay inside the value type (cxSpinEditValue.h): a vtInt
// value keeps all its digits, and a step that would overflow is refused like one beyond the
// bounds.
//
// Sections of cxSpinEdit.cpp: buttons and properties -> view -> value -> steps and repeat ->
// keys and mouse -> published lists.
#pragma once

#include <memory>

#include "controls/editors/maskedit/cxMaskEdit.h"
#include "controls/editors/spinedit/cxSpinEditValue.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/editors/textedit/cxTextEditProperties.h"
#include "controls/editors/textedit/cxTextEditViewInfo.h"

class TcxCustomSpinEditProperties;
class TcxCustomSpinEdit;
class TTimer;

class TcxSpinEditButtons : public TPersistent {
  PELTO_CLASS(TcxSpinEditButtons, TPersistent)
public:
  using TConstructArg = TcxCustomSpinEditProperties*;
  explicit TcxSpinEditButtons(TcxCustomSpinEditProperties* AOwner) : FOwner(AOwner) {}
  void Assign(TPersistent* Source) override;
  TcxSpinEditButtonsPosition GetPosition() const { return FPosition; }
  void SetPosition(TcxSpinEditButtonsPosition Value);
  bool GetShowFastButtons() const { return FShowFastButtons; }
  void SetShowFastButtons(bool Value);
  PELTO_PUBLISHED(p);

protected:
  TPersistent* GetOwner() override;

private:
  TcxCustomSpinEditProperties* FOwner;
  TcxSpinEditButtonsPosition FPosition = sbpVert;
  bool FShowFastButtons = false;
};

class TcxSpinEditPropertiesValues : public TcxTextEditPropertiesValues {
  PELTO_CLASS(TcxSpinEditPropertiesValues, TcxTextEditPropertiesValues)
public:
  TcxSpinEditPropertiesValues() = default;
  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  bool ValueType = false;  // assigned
};

class TcxCustomSpinEditProperties : public TcxCustomMaskEditProperties {
  PELTO_CLASS(TcxCustomSpinEditProperties, TcxCustomMaskEditProperties)
public:
  explicit TcxCustomSpinEditProperties(TPersistent* AOwner);
  ~TcxCustomSpinEditProperties() override;
  void Assign(TPersistent* Source) override;

  // ---- Settings
  // False: the text cannot be typed, cut or pasted; buttons, keys and wheel still step.
  bool GetCanEdit() const { return FCanEdit; }
  void SetCanEdit(bool Value) { FCanEdit = Value; }
  double GetIncrement() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  double GetLargeIncrement() const { return FLargeIncrement; }
  void SetLargeIncrement(double Value) { FLargeIncrement = Value; }
  // Owned; the setter assigns into it.
  TcxSpinEditButtons* GetSpinButtons() const { return FSpinButtons.get(); }
  void SetSpinButtons(TcxSpinEditButtons* Value) { FSpinButtons->Assign(Value); }
  // The arrow and page keys step only with Ctrl held.
  bool GetUseCtrlIncrement() const { return FUseCtrlIncrement; }
  void SetUseCtrlIncrement(bool Value) { FUseCtrlIncrement = Value; }
  // The stored type when assigned, else the provider's (vtFloat without one).
  TcxSpinEditValueType GetValueType();
  void SetValueType(TcxSpinEditValueType Value);
  bool IsValueTypeStored() const { return SpinAssignedValues()->ValueType; }
  TcxSpinEditPropertiesValues* SpinAssignedValues() const
  {
    return static_cast<TcxSpinEditPropertiesValues*>(GetAssignedValues());
  }

  // Null or empty text gives 0; otherwise the value converted to the value type (raising for
  // text that is no number or lies outside the type).
  Variant ToValue(const Variant& V);
  // A numeric V becomes its value-type form; raises for a number outside the type.
  void CastToValueType(Variant& V);
  // The bounds and out-of-bounds action of a step.
  cxSpinEditValue::TcxSpinStepBounds StepBounds();
  // ClampToBounds(0) in the value type.
  Variant BoundedZero();

  // ---- Overrides
  void Changed() override;
  TClass GetAssignedValuesClass() const override { return TcxSpinEditPropertiesValues::StaticClass(); }
  TClass GetViewDataClass() const override;
  TClass GetViewInfoClass() const override;
  TcxCustomEditViewData* CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace) override;
  TClass GetContainerClass() const override;
  bool IsEditValueValid(Variant& V, bool AEditFocused) override;
  bool IsDisplayValueValid(Variant& V, bool AEditFocused) override;
  void ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error, TcxCustomEdit* AEdit) override;
  bool UsesDataDisplayText(bool AEditFocused) override { return !AEditFocused; }
  void GetEmptyDisplayValue(Variant& V) override;
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool AEditFocused) override;
  bool IsEditValueNumeric() override { return true; }

  // ---- Own virtual operations (the time editor overrides them)
  virtual bool ClampStepToBounds() { return true; }
  // 0 refuses a step past a bound, 1 clamps it, other values let it go.
  virtual int GetStepOutOfBoundsAction() { return ClampStepToBounds() ? 1 : 0; }
  virtual bool CheckDisplayValueIsNumber() { return true; }
  virtual bool PreserveSelectionOnStep() { return false; }

private:
  bool FCanEdit = true;
  double FIncrement = 1.0, FLargeIncrement = 10.0;
  std::unique_ptr<TcxSpinEditButtons> FSpinButtons;
  bool FUseCtrlIncrement = false;
  TcxSpinEditValueType FValueType = vtFloat;
};

class TcxSpinEditProperties : public TcxCustomSpinEditProperties {
  PELTO_CLASS(TcxSpinEditProperties, TcxCustomSpinEditProperties)
public:
  using TcxCustomSpinEditProperties::TcxCustomSpinEditProperties;
  PELTO_PUBLISHED(p);
};

class TcxSpinEditViewInfo : public TcxCustomTextEditViewInfo {
  PELTO_CLASS(TcxSpinEditViewInfo, TcxCustomTextEditViewInfo)
public:
  TcxSpinEditViewInfo() = default;
  int ArrowSize = 0;
  TcxSpinEditButtonsPosition Position = sbpVert;
  POINT SeparatorFrom{}, SeparatorTo{};  // both zero: no line

  void InternalPaint(TcxCanvas* ACanvas) override;
  void PaintButtonFrame(TcxCanvas* Canvas, int Index, TcxEditButtonStyle Style, const RECT& R) override;
  void PaintButtonContent(TcxCanvas* Canvas, int Index, const RECT& R, TColor ContentColor, TColor FaceColor) override;
  TcxCustomEditViewInfo* Clone() const override;
  void Assign(TcxContainerViewInfo* Source) override;
};

class TcxSpinEditViewData : public TcxCustomTextEditViewData {
  PELTO_CLASS(TcxSpinEditViewData, TcxCustomTextEditViewData)
public:
  using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
  bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) override;
  bool IsButtonPressed(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) override;
  void CalculateButtonNativeInfo(TcxEditButtonViewInfo* AButtonViewInfo) override {}
  void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect, int AIndex) override;
  void CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect, int AIndex) override;

private:
  int KeyPressedState() const;
};

class TcxCustomSpinEdit : public TcxCustomMaskEdit {
  PELTO_CLASS(TcxCustomSpinEdit, TcxCustomMaskEdit)
public:
  explicit TcxCustomSpinEdit(TComponent* AOwner);
  ~TcxCustomSpinEdit() override;

  TcxCustomSpinEditProperties* GetSpinProperties()
  {
    return static_cast<TcxCustomSpinEditProperties*>(GetProperties());
  }
  // The current number in the value type; raises for typed text that is no number.
  virtual Variant GetValue();
  // A value that is not numeric is ignored.
  virtual void SetValue(const Variant& Value);
  // One step of code ACode (0 down, 1 up, 2 fast down, 3 fast up); true when the text changed.
  virtual bool DoStep(int ACode);
  virtual double GetIncrement(int ACode);
  // 0 none; k + 1 while a key steps with code k.
  int GetKeyPressedState() const { return FKeyPressedState; }
  bool IsRepeating() const { return FRepeatTimer != nullptr; }
  bool IsTyped() const { return FTyped; }
  const Variant& GetLastValue() const { return FLastValue; }

  // Text to value: true with AValue, or (not raising) false with AErrorText and the last value.
  bool ConvertDisplayValue(const Variant& ADisplayValue, bool ARaise, AnsiString& AErrorText, Variant& AValue);

  TClass GetPropertiesClass() const override;
  void DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  void SynchronizeDisplayValue() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void PropertiesChanged(TObject* Sender) override;
  void ClampEditValue() override;
  TcxContainerStyleValues GetNotStoredStyleValues() override;

protected:
  friend class TcxCustomSpinEditProperties;
  void RefreshView(POINT P, int Button, bool IsMouseEvent, TShiftState Shift) override;
  void ChangeHandler(TObject* Sender) override;
  void DoButtonDown(int AIndex) override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void DoEditKeyPress(char& Key) override;
  void DoEditKeyUp(Word& Key, TShiftState Shift) override;
  bool IsValidChar(char AChar) override;
  void SyncEditValueFromText() override;
  void DblClick() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FocusChanged() override;
  bool DoMouseWheelDown(TShiftState Shift, POINT MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, POINT MousePos) override;

  virtual bool GetNewValue(int ACode, Variant& V);
  virtual void StartRepeat();
  virtual void StopRepeat();
  void SetKeyPressedButton(int AState);
  void RepeatTimerTick(TObject* Sender);

private:
  int FKeyPressedState = 0;
  bool FKeyDown = false;
  bool FTyped = false;
  std::unique_ptr<TTimer> FRepeatTimer;
  Variant FLastValue = Variant(0.0);
};

class TcxSpinEdit : public TcxCustomSpinEdit {
  PELTO_CLASS(TcxSpinEdit, TcxCustomSpinEdit)
public:
  using TcxCustomSpinEdit::TcxCustomSpinEdit;
  TcxSpinEditProperties* GetActiveProperties() { return static_cast<TcxSpinEditProperties*>(GetProperties()); }
  TClass GetPropertiesClass() const override;
  PELTO_PUBLISHED(p);
};

namespace cxSpinEdit {
// Registers TcxSpinEditProperties in the editor properties list. Idempotent.
void Initialize();
}  // namespace cxSpinEdit
