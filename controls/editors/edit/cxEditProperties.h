// TcxCustomEditProperties: the shareable half of every editor (settings, events, buttons, the
// rules between an edit value and its text), with the alignment object, the assigned-values
// object and the default-values provider through which a data item (a field, a grid column)
// imposes its defaults.
//
// A properties object reports every change once through Changed -> OnPropertiesChanged, unless
// locked or inside BeginUpdate/EndUpdate, which report once at the outermost EndUpdate.
#pragma once

#include <memory>

#include "controls/editors/edit/cxEditButtons.h"
#include "controls/editors/edit/cxEditTypes.h"
#include "controls/framework/cxClasses.h"
#include "platform/classes/TextAlignment.h"
#include "platform/stdctrls/menus/ShortCuts.h"

class TcxCanvas;
class TcxCustomEditDefaultValuesProvider;
class TcxEditRepository;
class TcxFreeNotificator;
class TcxRegisteredClasses;

// What a data item imposes on an editor. The methods stand in a fixed order, after the three of
// the counted interface they replace here.
class IcxEditDefaultValuesProvider {
public:
  virtual ~IcxEditDefaultValuesProvider() = default;
  virtual void Changed() = 0;
  virtual void ClearUsages() = 0;
  virtual TAlignment DefaultAlignment() = 0;
  // 3 text, 2 picture, 4 OLE object, 0 other.
  virtual int DefaultBlobKind() = 0;
  virtual bool CanModify() = 0;
  virtual AnsiString DefaultDisplayFormat() = 0;
  virtual AnsiString DefaultEditFormat() = 0;
  virtual AnsiString DefaultEditMask() = 0;
  virtual bool DefaultIsFloatValue() = 0;
  virtual int DefaultMaxLength() = 0;
  virtual double DefaultMaxValue() = 0;
  virtual double DefaultMinValue() = 0;
  virtual int DefaultPrecision() = 0;
  virtual bool DefaultReadOnly() = 0;
  virtual bool DefaultRequired() = 0;
  virtual TObject* GetInstance() = 0;
  virtual TNotifyEvent GetOnChanged() = 0;
  virtual bool IsDataStorage() = 0;
  virtual bool IsBlob() = 0;
  virtual bool IsDisplayFormatDefined(bool AIsCurrencyValueAccepted) = 0;
  virtual bool IsOnGetTextAssigned() = 0;
  virtual bool IsValidChar(char AChar) = 0;
  virtual void SetOnChanged(TNotifyEvent Value) = 0;
};

class TcxCustomEditDefaultValuesProvider : public TcxInterfacedPersistent, public IcxEditDefaultValuesProvider {
  PELTO_DECLARE_CLASS(TcxCustomEditDefaultValuesProvider, TcxInterfacedPersistent)
public:
  using TConstructArg = TPersistent*;
  explicit TcxCustomEditDefaultValuesProvider(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {}
  // Detaches itself from every properties object that still refers to it.
  ~TcxCustomEditDefaultValuesProvider() override;

  void Changed() override;
  void ClearUsages() override;
  TAlignment DefaultAlignment() override { return taLeftJustify; }
  int DefaultBlobKind() override { return 3; }
  bool CanModify() override { return true; }
  AnsiString DefaultDisplayFormat() override { return AnsiString(); }
  AnsiString DefaultEditFormat() override { return AnsiString(); }
  AnsiString DefaultEditMask() override { return AnsiString(); }
  bool DefaultIsFloatValue() override { return false; }
  int DefaultMaxLength() override { return 0; }
  double DefaultMaxValue() override { return 0; }
  double DefaultMinValue() override { return 0; }
  int DefaultPrecision() override { return 15; }
  bool DefaultReadOnly() override { return false; }
  bool DefaultRequired() override { return false; }
  TObject* GetInstance() override { return this; }
  TNotifyEvent GetOnChanged() override { return OnChanged; }
  bool IsDataStorage() override { return false; }
  bool IsBlob() override { return false; }
  bool IsDisplayFormatDefined(bool AIsCurrencyValueAccepted) override { return false; }
  bool IsOnGetTextAssigned() override { return false; }
  bool IsValidChar(char AChar) override { return true; }
  void SetOnChanged(TNotifyEvent Value) override { OnChanged = std::move(Value); }

  TNotifyEvent OnChanged;
};

class TcxCustomEditPropertiesValues : public TPersistent {
  PELTO_DECLARE_CLASS(TcxCustomEditPropertiesValues, TPersistent)
public:
  TcxCustomEditPropertiesValues() = default;
  void Assign(TPersistent* Source) override;
  virtual void RestoreDefaults() { ReadOnly = false; }
  bool ReadOnly = false;  // ReadOnly is assigned
};

class TcxEditAlignment : public TPersistent {
  PELTO_DECLARE_CLASS(TcxEditAlignment, TPersistent)
public:
  explicit TcxEditAlignment(TPersistent* AOwner) : FOwner(AOwner) {}
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return FOwner; }

  TAlignment GetHorz() const { return FHorz; }
  // Skips only when Horz is already assigned with the same value.
  void SetHorz(TAlignment Value);
  TcxEditVertAlignment GetVert() const { return FVert; }
  void SetVert(TcxEditVertAlignment Value);
  bool IsHorzAssigned() const { return FIsHorzAssigned; }
  void ResetHorz();
  // Horz assigned or Vert not the default.
  bool IsStored() const { return FIsHorzAssigned || FVert != taTopJustify; }

  TNotifyEvent OnChanged;

  PELTO_PUBLISHED(p);

private:
  void DoChanged();

  TPersistent* FOwner;
  TAlignment FHorz = taLeftJustify;
  TcxEditVertAlignment FVert = taTopJustify;
  bool FIsHorzAssigned = false;
};

class TcxCustomEditProperties : public TcxInterfacedPersistent {
  PELTO_DECLARE_CLASS(TcxCustomEditProperties, TcxInterfacedPersistent)
public:
  using TConstructArg = TPersistent*;
  // AOwner is the editor, a repository item or a grid item (not owned). Call Init after
  // construction when creating through a descendant with its own assigned-values class; the
  // constructor runs it for the base.
  explicit TcxCustomEditProperties(TPersistent* AOwner);
  ~TcxCustomEditProperties() override;
  void Assign(TPersistent* Source) override;

  // ---- Settings
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value);
  bool GetBeepOnError() const { return FBeepOnError; }
  void SetBeepOnError(bool Value) { FBeepOnError = Value; }
  TcxEditButtons* GetButtons() const { return FButtons.get(); }
  void SetButtons(TcxEditButtons* Value) { FButtons->Assign(Value); }
  TShortCut GetClearKey() const { return FClearKey; }
  void SetClearKey(TShortCut Value) { FClearKey = Value; }
  TShortCut GetClickKey() const { return FClickKey; }
  void SetClickKey(TShortCut Value) { FClickKey = Value; }
  bool GetImmediatePost() const { return FImmediatePost; }
  void SetImmediatePost(bool Value) { FImmediatePost = Value; }
  bool GetMouseWheelInplace() const { return FMouseWheelInplace; }
  void SetMouseWheelInplace(bool Value) { FMouseWheelInplace = Value; }
  bool GetValidateOnEnter() const { return FValidateOnEnter; }
  void SetValidateOnEnter(bool Value) { FValidateOnEnter = Value; }
  bool GetUseLeftAlignmentOnEditing() const { return FUseLeftAlignmentOnEditing; }
  void SetUseLeftAlignmentOnEditing(bool Value);
  // The working alignment: the stored one, with Horz from GetDefaultHorzAlignment while not
  // assigned. Owned by the properties.
  TcxEditAlignment* GetAlignment();
  virtual void SetAlignment(TcxEditAlignment* Value);
  // The assigned value, else the provider's DefaultReadOnly, else False.
  bool GetReadOnly() const;
  void SetReadOnly(bool Value);
  bool IsReadOnlyStored() const;
  TcxCustomEditPropertiesValues* GetAssignedValues() const { return FAssignedValues.get(); }
  bool CanModify() const;
  // Borrowed; the provider detaches itself when it goes.
  IcxEditDefaultValuesProvider* GetDefaultValuesProvider() const { return FIDefaultValuesProvider; }
  void SetDefaultValuesProvider(IcxEditDefaultValuesProvider* AProvider);
  void BeginUpdate() { ++FUpdateCount; }
  // Nothing on a count of 0; with AInvokeChanged the count reaching 0 calls Changed.
  void EndUpdate(bool AInvokeChanged = true);
  int GetUpdateCount() const { return FUpdateCount; }
  void LockUpdate(bool ALock) { FChangedLocked = ALock; }
  bool UseProviderDisplayFormat();
  // The size of an editor of these properties showing AEditValue.
  void CalculateEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AStyle, bool AIsInplace, const Variant& AEditValue,
                         TcxEditSizeProperties& AEditSizeProperties, SIZE& ASize);

  // ---- Partner classes and flags
  virtual void AlignmentChanged();
  virtual void ButtonsChanged();
  virtual bool CanValidate() { return false; }
  virtual void Changed();
  virtual bool CanCompareEditValue() { return false; }
  virtual bool DefaultUseLeftAlignmentOnEditing() { return true; }
  virtual void FreeNotification(TComponent* AComponent) {}
  virtual TClass GetAssignedValuesClass() const { return TcxCustomEditPropertiesValues::StaticClass(); }
  virtual TAlignment GetDefaultHorzAlignment();
  virtual TcxEditDisplayFormatOptions GetDisplayFormatOptions() { return 0; }
  virtual void GetValidateErrorText(int AErrorKind, AnsiString& AText);
  virtual bool IsValueFormattedByProvider(bool AEditFocused);
  virtual TClass GetViewDataClass() const;
  virtual bool HasOwnChangeEvent() { return false; }
  virtual bool WantTabKey() { return false; }
  // The editor control class: a TcxCustomEdit descendant.
  virtual TClass GetContainerClass() const;
  virtual TClass GetStyleClass() const;
  virtual TClass GetViewInfoClass() const;
  virtual bool CompareDisplayValues(const Variant& AEditValue1, TcxCustomEditProperties* AProperties2,
                                    const Variant& AEditValue2)
  {
    return false;
  }
  // A new view data the caller owns.
  virtual TcxCustomEditViewData* CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace);
  // A new view info of GetViewInfoClass the caller owns.
  TcxCustomEditViewInfo* CreateViewInfo() const;
  virtual WideString GetDisplayText(const Variant& AEditValue, bool AFullText = false) { return WideString(); }
  virtual TcxEditSupportedOperations GetSupportedOperations();
  virtual bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) { return true; }
  virtual bool CanResetEditValue() { return false; }
  virtual void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool AEditFocused)
  {
    DisplayValue = AEditValue;
  }
  virtual void RestoreDefaults();
  virtual void ApplyToProperties(TcxCustomEditProperties* AProperties) {}
  virtual void ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error, TcxCustomEdit* AEdit);
  virtual bool UsesDataDisplayText(bool AEditFocused) { return false; }

  TcxEditButtonClickEvent OnButtonClick;
  TNotifyEvent OnChange;
  TNotifyEvent OnEditValueChanged;
  TcxEditValidateEvent OnValidate;
  // Set by the owning editor or repository item; not published.
  TNotifyEvent OnPropertiesChanged;

  PELTO_PUBLISHED(p);

protected:
  // Makes the assigned-values object of GetAssignedValuesClass; descendants with their own class
  // call it again at the end of their constructor.
  void CreateAssignedValues();
  // The change lock or the update count hold changes back, or the owner is being destroyed.
  bool IsChangeSuppressed();
  // Fires OnValidate; AChangedByHandler tells whether the handler supplied a new display value
  // with an error.
  void DoValidate(Variant& DisplayValue, AnsiString& ErrorText, bool& Error, TcxCustomEdit* AEdit,
                  bool& AChangedByHandler);

private:
  bool FAutoSelect = true;
  bool FBeepOnError = false;
  std::unique_ptr<TcxEditButtons> FButtons;
  TShortCut FClearKey = 0;
  TShortCut FClickKey = 16397;
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
  bool FImmediatePost = false;
  std::unique_ptr<TcxEditAlignment> FAlignment;  // what the user set
  int FUpdateCount = 0;
  bool FReadOnly = false;
  bool FUseLeftAlignmentOnEditing = true;
  bool FMouseWheelInplace = true;
  bool FValidateOnEnter = false;
  std::unique_ptr<TcxEditAlignment> FWorkAlignment;  // what GetAlignment answers
  std::unique_ptr<TcxCustomEditPropertiesValues> FAssignedValues;
  bool FChangedLocked = false;
  IcxEditDefaultValuesProvider* FIDefaultValuesProvider = nullptr;  // borrowed
};

namespace cxEdit {
// Every living properties object, in the order of creation.
int GetEditPropertiesCount();
TcxCustomEditProperties* GetEditProperties(int Index);
// Every editor's properties class with a description; made on first use.
TcxRegisteredClasses* GetRegisteredEditProperties();
// The default repository, without owner; made on first use.
TcxEditRepository* GetDefaultEditRepository();
// Same variant type and equal (Booleans compared as their texts).
bool VarEqualsExact(const Variant& V1, const Variant& V2);
// Frees the registry and the default repository. Idempotent.
void Finalize();
}  // namespace cxEdit
