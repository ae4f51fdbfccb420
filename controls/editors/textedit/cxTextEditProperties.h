// TcxCustomTextEditProperties: the properties of a single-line text editor (character case,
// password echo, maximum length, lookup items for completion, numeric bounds and formatting for
// numeric descendants, the editing style of the drop-down editors), and TcxTextEditProperties,
// their published form for TcxTextEdit.
//
// Editing styles (GetEditingStyle): 0 free text; 1 text that must match a lookup item; 2 a
// selection from a fixed list, typing only searches; 3 no text editing.
//
// Text is CP936: case folding (CharCase, FindLookupText) touches ASCII letters only, never a
// trail byte.
#pragma once

#include <memory>

#include "controls/editors/edit/cxEditProperties.h"
#include "controls/editors/formats/cxFormats.h"
#include <bitset>
#include "platform/stdctrls/StdCtrlsTypes.h"

class TStringList;
class TFiler;

PELTO_ENUM(TcxEditEchoMode, eemNormal, eemPassword)

// The 256 byte characters, for ValidChars.
using TcxCharSet = std::bitset<256>;

class TcxTextEditPropertiesValues : public TcxCustomEditPropertiesValues {
  PELTO_DECLARE_CLASS(TcxTextEditPropertiesValues, TcxCustomEditPropertiesValues)
public:
  TcxTextEditPropertiesValues() = default;
  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  bool DisplayFormat = false, MaxLength = false, MaxValue = false, MinValue = false;  // assigned
};

class TcxCustomTextEditProperties : public TcxCustomEditProperties, public IcxFormatChangeListener {
  PELTO_DECLARE_CLASS(TcxCustomTextEditProperties, TcxCustomEditProperties)
public:
  explicit TcxCustomTextEditProperties(TPersistent* AOwner);
  ~TcxCustomTextEditProperties() override;
  void Assign(TPersistent* Source) override;

  // ---- Settings
  TEditCharCase GetCharCase() const { return FCharCase; }
  virtual void SetCharCase(TEditCharCase Value);
  // The own text when assigned, else the provider's non-empty default, else GetDefaultDisplayFormat.
  AnsiString GetDisplayFormat();
  void SetDisplayFormat(const AnsiString& Value);
  bool IsDisplayFormatStored() const { return AssignedValues()->DisplayFormat; }
  TcxEditEchoMode GetEchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode Value);
  bool GetHideCursor() const { return FHideCursor; }
  void SetHideCursor(bool Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool GetImmediateUpdateText() const { return FImmediateUpdateText; }
  void SetImmediateUpdateText(bool Value) { FImmediateUpdateText = Value; }
  // Not published; Changed only matters (and runs) in editing style 2.
  bool GetIncrementalSearch() const { return FIncrementalSearch; }
  void SetIncrementalSearch(bool Value);
  // Owned; any change of the list calls Changed.
  TStringList* GetLookupItems() const { return FLookupItems.get(); }
  void SetLookupItems(TStringList* Value);
  bool GetLookupItemsSorted() const;
  void SetLookupItemsSorted(bool Value);
  // Characters: a double-byte character counts once. The stored value when assigned, else
  // GetDefaultMaxLength.
  int GetMaxLength();
  // A negative value becomes 0.
  virtual void SetMaxLength(int Value);
  bool IsMaxLengthStored() const { return AssignedValues()->MaxLength; }
  double GetMaxValue();
  void SetMaxValue(double Value);
  bool IsMaxValueStored() const { return AssignedValues()->MaxValue; }
  double GetMinValue();
  void SetMinValue(double Value);
  bool IsMinValueStored() const { return AssignedValues()->MinValue; }
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  const TcxCharSet& GetValidChars() const { return FValidChars; }
  void SetValidChars(const TcxCharSet& Value) { FValidChars = Value; }
  TcxTextEditPropertiesValues* AssignedValues() const
  {
    return static_cast<TcxTextEditPropertiesValues*>(GetAssignedValues());
  }
  bool IsFormatChanging() const { return FFormatChanging; }

  // A numeric AValue clamped into [MinValue, MaxValue] when MaxValue > MinValue; anything else
  // copied unchanged.
  void ClampToBounds(const Variant& AValue, Variant& AResult);
  // PrepareDisplayValue when IsEditValueValid accepts the value; otherwise a date becomes its
  // date-time text and anything else its string form.
  void EditValueToDisplayValue(const Variant& AEditValue, bool AEditFocused, Variant& DisplayValue);

  // ---- Overrides of the editor properties
  void DefineProperties(TFiler* Filer) override;
  void AlignmentChanged() override;
  void SetAlignment(TcxEditAlignment* Value) override;
  bool CanValidate() override { return true; }
  bool CanCompareEditValue() override { return true; }
  TClass GetAssignedValuesClass() const override { return TcxTextEditPropertiesValues::StaticClass(); }
  TcxEditDisplayFormatOptions GetDisplayFormatOptions() override { return 1u << dfoSupports; }
  void GetValidateErrorText(int AErrorKind, AnsiString& AText) override;
  TClass GetViewDataClass() const override;
  bool HasOwnChangeEvent() override { return true; }
  TClass GetContainerClass() const override;
  TClass GetViewInfoClass() const override;
  TcxCustomEditViewData* CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace) override;
  bool CompareDisplayValues(const Variant& AEditValue1, TcxCustomEditProperties* AProperties2,
                            const Variant& AEditValue2) override;
  WideString GetDisplayText(const Variant& AEditValue, bool AFullText = false) override;
  TcxEditSupportedOperations GetSupportedOperations() override;
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  bool CanResetEditValue() override { return GetEditingStyle() != 3; }
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool AEditFocused) override;
  void ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error, TcxCustomEdit* AEdit) override;
  bool UsesDataDisplayText(bool AEditFocused) override { return true; }

  // ---- Own virtual operations
  // The format controller calls it when the regional settings change.
  void FormatChanged() override;
  virtual void ValidateBounds(Variant& DisplayValue, AnsiString& ErrorText, TcxCustomEdit* AEdit, bool& Error);
  virtual void GetEmptyDisplayValue(Variant& V) { V = Variant(AnsiString()); }
  // Password: one "*" per byte; otherwise CharCase applied.
  virtual void DisplayValueToDisplayText(AnsiString& AText);
  virtual void DoNewLookupDisplayText(TObject* Sender, const AnsiString& AText);
  // Some lookup item equals AText, ignoring the case of ASCII letters.
  virtual bool FindLookupText(const AnsiString& AText);
  virtual void GetDefaultDisplayFormat(AnsiString& S) { S.clear(); }
  virtual int GetDefaultMaxLength();
  virtual int GetDropDownPageRowCount() { return 8; }
  virtual int GetEditingStyle() { return FHideCursor ? 3 : 0; }
  // The lookup data class of the editors of these properties; null: none.
  virtual TClass GetLookupDataClass() const;
  virtual bool IsEditValueNumeric() { return false; }
  // The drop-down editors answer True: their list lives in the pop-up window.
  virtual bool ListInPopup() { return false; }
  virtual bool UsesOwnDrawTextFlags() { return false; }
  virtual bool IsLookupListKey(Word Key, TShiftState Shift) { return false; }
  virtual void InternalChanged() { Changed(); }
  virtual bool UseLookupData() { return GetLookupDataClass() != nullptr; }
  // An empty text is valid; in editing styles 1 and 2 with lookup data only a lookup item is.
  // A valid text gets CharCase applied and is written back.
  virtual bool IsDisplayValueValid(Variant& DisplayValue, bool AEditFocused);

  TcxNewLookupDisplayTextEvent OnNewLookupDisplayText;

private:
  void LookupItemsChanged();

  TEditCharCase FCharCase = ecNormal;
  AnsiString FDisplayFormat;
  TcxEditEchoMode FEchoMode = eemNormal;
  bool FIncrementalSearch = true;
  bool FHideCursor = false;
  bool FHideSelection = true;
  bool FImmediateUpdateText = false;
  std::unique_ptr<TStringList> FLookupItems;
  int FMaxLength = 0;
  double FMaxValue = 0, FMinValue = 0;
  TcxCharSet FValidChars;
  bool FOEMConvert = false;
  bool FFormatChanging = false;
};

class TcxTextEditProperties : public TcxCustomTextEditProperties {
  PELTO_DECLARE_CLASS(TcxTextEditProperties, TcxCustomTextEditProperties)
public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
  PELTO_PUBLISHED(p);
};

namespace cxTextEdit {
// CharCase applied to ASCII letters only (trail bytes stay).
AnsiString ApplyCharCase(const AnsiString& S, TEditCharCase ACase);
// The number of characters (a double-byte character counts once).
int CharCount(const AnsiString& S);
// The first ACount characters of S, never half a double-byte character.
AnsiString LeftChars(const AnsiString& S, int ACount);
}  // namespace cxTextEdit
