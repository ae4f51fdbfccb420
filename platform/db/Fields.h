// TField and its kinds. A field reads and writes one column of its dataset's active record;
// the kind converts values to and from its own type.
//
// Ownership: a field is a component; its owner (usually the dataset or the dataset's owner)
// deletes it. Deleting a field takes it out of its dataset's field list.
// Reading a null field: AsString "", AsInteger 0, AsFloat 0, AsBoolean false, AsDateTime 0,
// Value Null. Writing needs the dataset in edit or insert state (calculated fields also while
// the dataset calculates); otherwise EDatabaseError "Dataset not in edit or insert mode".
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/DB.h"
#include "platform/rtl/Variants.h"

class TDataSet;
class TStream;
class TField;

using TFieldNotifyEvent = std::function<void(TField* Sender)>;
using TFieldGetTextEvent = std::function<void(TField* Sender, AnsiString& Text, bool DisplayText)>;
using TFieldSetTextEvent = std::function<void(TField* Sender, const AnsiString& Text)>;

class TField : public TComponent {
  PELTO_CLASS(TField, TComponent)
public:
  explicit TField(TComponent* AOwner);
  ~TField() override;

  TDataSet* GetDataSet() const { return FDataSet; }
  // Adds the field to the dataset's field list (removing it from the previous one). Raises
  // EDatabaseError when the dataset is open (fields change only on a closed dataset) or holds
  // another field of that name.
  void SetDataSet(TDataSet* Value);

  const AnsiString& GetFieldName() const { return FFieldName; }
  void SetFieldName(const AnsiString& Value) { FFieldName = Value; }
  // The field name when no label was set.
  AnsiString GetDisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const AnsiString& Value) { FDisplayLabel = Value; }
  AnsiString GetDisplayName() const { return GetDisplayLabel(); }
  // The kind's default width until one is set.
  Integer GetDisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultDisplayWidth(); }
  void SetDisplayWidth(Integer Value) { FDisplayWidth = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  Integer GetSize() const { return FSize; }
  virtual void SetSize(Integer Value);
  TFieldType GetDataType() const { return FDataType; }
  TFieldKind GetFieldKind() const { return FFieldKind; }
  void SetFieldKind(TFieldKind Value) { FFieldKind = Value; }
  bool GetCalculated() const { return FFieldKind == fkCalculated; }
  bool GetLookup() const { return FFieldKind == fkLookup; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool GetRequired() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  Integer GetFieldNo() const { return FFieldNo; }
  // Position in the dataset's field list, -1 without a dataset.
  Integer GetIndex() const;
  virtual bool IsBlob() const { return false; }
  bool CanModify() const;

  // The column a filter names the field by (empty: the field name).
  const AnsiString& GetOrigin() const { return FOrigin; }
  void SetOrigin(const AnsiString& Value) { FOrigin = Value; }
  // Kept for controls that mask their input; the field itself does not apply it.
  const AnsiString& GetEditMask() const { return FEditMask; }
  void SetEditMask(const AnsiString& Value) { FEditMask = Value; }
  const AnsiString& GetDisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const AnsiString& Value) { FDisplayFormat = Value; }
  const AnsiString& GetEditFormat() const { return FEditFormat; }
  void SetEditFormat(const AnsiString& Value) { FEditFormat = Value; }

  // Lookup definition (FieldKind fkLookup): KeyFields of this dataset matched against
  // LookupKeyFields of LookupDataSet; the value is LookupResultField of the found row.
  TDataSet* GetLookupDataSet() const { return FLookupDataSet; }
  void SetLookupDataSet(TDataSet* Value) { FLookupDataSet = Value; }
  const AnsiString& GetKeyFields() const { return FKeyFields; }
  void SetKeyFields(const AnsiString& Value) { FKeyFields = Value; }
  const AnsiString& GetLookupKeyFields() const { return FLookupKeyFields; }
  void SetLookupKeyFields(const AnsiString& Value) { FLookupKeyFields = Value; }
  const AnsiString& GetLookupResultField() const { return FLookupResultField; }
  void SetLookupResultField(const AnsiString& Value) { FLookupResultField = Value; }

  bool IsNull() const;
  void Clear() { SetValue(Variant::Null()); }
  // Null for a null field; otherwise the kind's own type.
  Variant GetValue() const;
  void SetValue(const Variant& Value);
  // The value of the record as it stands in the dataset, before the pending edit.
  Variant GetOldValue() const;

  virtual AnsiString GetAsString() const;
  virtual void SetAsString(const AnsiString& Value);
  virtual WideString GetAsWideString() const;
  virtual void SetAsWideString(const WideString& Value);
  virtual Integer GetAsInteger() const;
  virtual void SetAsInteger(Integer Value);
  virtual Int64 GetAsLargeInt() const;
  virtual void SetAsLargeInt(Int64 Value);
  virtual double GetAsFloat() const;
  virtual void SetAsFloat(double Value);
  virtual Currency GetAsCurrency() const;
  virtual void SetAsCurrency(Currency Value);
  virtual bool GetAsBoolean() const;
  virtual void SetAsBoolean(bool Value);
  virtual TDateTime GetAsDateTime() const;
  virtual void SetAsDateTime(TDateTime Value);
  Variant GetAsVariant() const { return GetValue(); }
  void SetAsVariant(const Variant& Value) { SetValue(Value); }

  // Display text (DisplayFormat, OnGetText) and edit text (EditFormat); setting Text goes through
  // OnSetText when assigned, else AsString.
  AnsiString GetDisplayText() const;
  AnsiString GetText() const;
  void SetText(const AnsiString& Value);

  // Asks the dataset's controls to focus the control bound to this field.
  void FocusControl();

  TFieldNotifyEvent OnChange;
  TFieldNotifyEvent OnValidate;
  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

  PELTO_PUBLISHED(p)
  {
    p.Property("FieldName", &TField::GetFieldName, &TField::SetFieldName);
    p.Property("DisplayLabel", &TField::GetDisplayLabel, &TField::SetDisplayLabel);
    p.Property("DisplayWidth", &TField::GetDisplayWidth, &TField::SetDisplayWidth);
    p.Property("Visible", &TField::GetVisible, &TField::SetVisible).Default(true);
    p.Property("ReadOnly", &TField::GetReadOnly, &TField::SetReadOnly).Default(false);
    p.Property("Required", &TField::GetRequired, &TField::SetRequired).Default(false);
  }

protected:
  // The value as the record holds it, read in place rather than copied (Null for a null field);
  // valid until the record or the dataset changes.
  const Variant& StoredValue() const;
  // The stored CP936 text, read without a Variant, when the record holds the value as such a
  // text or null; false otherwise.
  bool StoredText(AnsiString& Out) const;
  // Converts a value written to the field into the kind's stored form (Null stays Null).
  // Raises EConvertError / EDatabaseError for a value the kind cannot hold.
  virtual Variant Coerce(const Variant& Value) const { return Value; }
  virtual Integer DefaultDisplayWidth() const { return 10; }
  // Text of a non-null value; DisplayText applies DisplayFormat, else EditFormat.
  virtual AnsiString FormatText(const Variant& Value, bool DisplayText) const;
  [[noreturn]] void AccessError(const char* TypeName) const;
  void SetDataType(TFieldType Value) { FDataType = Value; }

private:
  friend class TDataSet;
  TDataSet* FDataSet = nullptr;
  AnsiString FFieldName;
  AnsiString FDisplayLabel;
  Integer FDisplayWidth = 0;
  bool FVisible = true;
  bool FReadOnly = false;
  bool FRequired = false;
  Integer FSize = 0;
  TFieldType FDataType = ftUnknown;
  TFieldKind FFieldKind = fkData;
  Integer FFieldNo = 0;     // 1-based column of the record's data values; 0 for calculated kinds
  Integer FCalcIndex = -1;  // slot among the record's calculated values
  AnsiString FDisplayFormat;
  AnsiString FEditFormat;
  AnsiString FOrigin;
  AnsiString FEditMask;
  TDataSet* FLookupDataSet = nullptr;
  AnsiString FKeyFields;
  AnsiString FLookupKeyFields;
  AnsiString FLookupResultField;
};

using TFieldClass = TClass;

// Declares a field kind with its data type and default size.
#define PELTO_FIELD_CTOR(Name, Type) \
  explicit Name(TComponent* AOwner) : Name(AOwner, Type) {}

class TStringField : public TField {
  PELTO_CLASS(TStringField, TField)
public:
  PELTO_FIELD_CTOR(TStringField, ftString)
  AnsiString GetAsString() const override;

protected:
  TStringField(TComponent* AOwner, TFieldType Type);
  Variant Coerce(const Variant& Value) const override;
  Integer DefaultDisplayWidth() const override { return GetSize(); }
};

class TWideStringField : public TStringField {
  PELTO_CLASS(TWideStringField, TStringField)
public:
  PELTO_FIELD_CTOR(TWideStringField, ftWideString)
  WideString GetAsWideString() const override;
  void SetAsWideString(const WideString& Value) override;

protected:
  using TStringField::TStringField;
  Variant Coerce(const Variant& Value) const override;
};

class TNumericField : public TField {
  PELTO_CLASS(TNumericField, TField)
public:
  explicit TNumericField(TComponent* AOwner) : TField(AOwner) {}

protected:
  AnsiString FormatText(const Variant& Value, bool DisplayText) const override;
};

class TIntegerField : public TNumericField {
  PELTO_CLASS(TIntegerField, TNumericField)
public:
  PELTO_FIELD_CTOR(TIntegerField, ftInteger)
  void SetAsString(const AnsiString& Value) override;

protected:
  TIntegerField(TComponent* AOwner, TFieldType Type);
  Variant Coerce(const Variant& Value) const override;
  Integer DefaultDisplayWidth() const override { return 11; }
  Int64 FMinValue;
  Int64 FMaxValue;
};

class TSmallintField : public TIntegerField {
  PELTO_CLASS(TSmallintField, TIntegerField)
public:
  PELTO_FIELD_CTOR(TSmallintField, ftSmallint)
protected:
  using TIntegerField::TIntegerField;
  Integer DefaultDisplayWidth() const override { return 6; }
};

class TWordField : public TIntegerField {
  PELTO_CLASS(TWordField, TIntegerField)
public:
  PELTO_FIELD_CTOR(TWordField, ftWord)
protected:
  using TIntegerField::TIntegerField;
  Integer DefaultDisplayWidth() const override { return 5; }
};

class TAutoIncField : public TIntegerField {
  PELTO_CLASS(TAutoIncField, TIntegerField)
public:
  PELTO_FIELD_CTOR(TAutoIncField, ftAutoInc)
protected:
  using TIntegerField::TIntegerField;
};

class TLargeintField : public TIntegerField {
  PELTO_CLASS(TLargeintField, TIntegerField)
public:
  PELTO_FIELD_CTOR(TLargeintField, ftLargeint)
protected:
  using TIntegerField::TIntegerField;
  Integer DefaultDisplayWidth() const override { return 15; }
};

class TFloatField : public TNumericField {
  PELTO_CLASS(TFloatField, TNumericField)
public:
  PELTO_FIELD_CTOR(TFloatField, ftFloat)
  // Currency display (FloatToStrF ffCurrency) when no DisplayFormat is set.
  bool GetCurrency() const { return FCurrency; }
  void SetCurrency(bool Value) { FCurrency = Value; }
  void SetAsString(const AnsiString& Value) override;

protected:
  TFloatField(TComponent* AOwner, TFieldType Type);
  Variant Coerce(const Variant& Value) const override;
  AnsiString FormatText(const Variant& Value, bool DisplayText) const override;
  bool FCurrency = false;
};

class TCurrencyField : public TFloatField {
  PELTO_CLASS(TCurrencyField, TFloatField)
public:
  PELTO_FIELD_CTOR(TCurrencyField, ftCurrency)
protected:
  TCurrencyField(TComponent* AOwner, TFieldType Type) : TFloatField(AOwner, Type) { FCurrency = true; }
};

// Fixed-point amounts held as Currency (four decimals).
class TBCDField : public TNumericField {
  PELTO_CLASS(TBCDField, TNumericField)
public:
  PELTO_FIELD_CTOR(TBCDField, ftBCD)
  bool GetCurrency() const { return FCurrency; }
  void SetCurrency(bool Value) { FCurrency = Value; }
  void SetAsString(const AnsiString& Value) override;

protected:
  TBCDField(TComponent* AOwner, TFieldType Type);
  Variant Coerce(const Variant& Value) const override;
  AnsiString FormatText(const Variant& Value, bool DisplayText) const override;
  bool FCurrency = false;
};

class TBooleanField : public TField {
  PELTO_CLASS(TBooleanField, TField)
public:
  PELTO_FIELD_CTOR(TBooleanField, ftBoolean)
  void SetAsString(const AnsiString& Value) override;

protected:
  TBooleanField(TComponent* AOwner, TFieldType Type);
  Variant Coerce(const Variant& Value) const override;
  Integer DefaultDisplayWidth() const override { return 5; }
};

class TDateTimeField : public TField {
  PELTO_CLASS(TDateTimeField, TField)
public:
  PELTO_FIELD_CTOR(TDateTimeField, ftDateTime)
  void SetAsString(const AnsiString& Value) override;

protected:
  TDateTimeField(TComponent* AOwner, TFieldType Type);
  Variant Coerce(const Variant& Value) const override;
  AnsiString FormatText(const Variant& Value, bool DisplayText) const override;
  Integer DefaultDisplayWidth() const override { return 18; }
};

class TDateField : public TDateTimeField {
  PELTO_CLASS(TDateField, TDateTimeField)
public:
  PELTO_FIELD_CTOR(TDateField, ftDate)
protected:
  using TDateTimeField::TDateTimeField;
  Integer DefaultDisplayWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
  PELTO_CLASS(TTimeField, TDateTimeField)
public:
  PELTO_FIELD_CTOR(TTimeField, ftTime)
protected:
  using TDateTimeField::TDateTimeField;
  Integer DefaultDisplayWidth() const override { return 10; }
};

// Binary data held as raw bytes in an AnsiString.
class TBlobField : public TField {
  PELTO_CLASS(TBlobField, TField)
public:
  PELTO_FIELD_CTOR(TBlobField, ftBlob)
  bool IsBlob() const override { return true; }
  // Replaces the value with the rest of Stream from its position.
  void LoadFromStream(TStream* Stream);
  // Writes the bytes to Stream at its position.
  void SaveToStream(TStream* Stream) const;
  Integer GetBlobSize() const;

protected:
  TBlobField(TComponent* AOwner, TFieldType Type);
  Variant Coerce(const Variant& Value) const override;
  AnsiString FormatText(const Variant& Value, bool DisplayText) const override;
};

class TMemoField : public TBlobField {
  PELTO_CLASS(TMemoField, TBlobField)
public:
  PELTO_FIELD_CTOR(TMemoField, ftMemo)
protected:
  using TBlobField::TBlobField;
};

class TWideMemoField : public TMemoField {
  PELTO_CLASS(TWideMemoField, TMemoField)
public:
  PELTO_FIELD_CTOR(TWideMemoField, ftWideMemo)
  WideString GetAsWideString() const override;
  void SetAsWideString(const WideString& Value) override;
  AnsiString GetAsString() const override;

protected:
  using TMemoField::TMemoField;
  Variant Coerce(const Variant& Value) const override;
};

class TGraphicField : public TBlobField {
  PELTO_CLASS(TGraphicField, TBlobField)
public:
  PELTO_FIELD_CTOR(TGraphicField, ftGraphic)
protected:
  using TBlobField::TBlobField;
};

class TVariantField : public TField {
  PELTO_CLASS(TVariantField, TField)
public:
  PELTO_FIELD_CTOR(TVariantField, ftVariant)
protected:
  TVariantField(TComponent* AOwner, TFieldType Type);
};

#undef PELTO_FIELD_CTOR
