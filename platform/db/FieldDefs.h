// TFieldDef / TFieldDefs: the column descriptions a dataset's default fields are made from.
#pragma once

#include <memory>
#include <vector>

#include "platform/db/DB.h"

class TField;
class TComponent;
class TDataSet;

class TFieldDef {
public:
  TFieldDef(const AnsiString& Name, TFieldType DataType, Integer Size, bool Required)
      : FName(Name), FDataType(DataType), FSize(Size), FRequired(Required)
  {}

  const AnsiString& GetName() const { return FName; }
  TFieldType GetDataType() const { return FDataType; }
  Integer GetSize() const { return FSize; }
  bool GetRequired() const { return FRequired; }
  void SetSize(Integer v) { FSize = v; }
  void SetRequired(bool v) { FRequired = v; }
  // 1-based position among the definitions.
  Integer GetFieldNo() const { return FFieldNo; }

  // A new field of the kind for DataType, owned by Owner and bound to DataSet. The caller
  // (or Owner) owns the result.
  TField* CreateField(TComponent* Owner, TDataSet* DataSet) const;

private:
  friend class TFieldDefs;
  AnsiString FName;
  TFieldType FDataType;
  Integer FSize;
  bool FRequired;
  Integer FFieldNo = 0;
};

class TFieldDefs {
public:
  // Raises EDatabaseError "Duplicate field name '%s'" for a name already defined (ignoring case).
  TFieldDef* Add(const AnsiString& Name, TFieldType DataType, Integer Size = 0, bool Required = false);
  void Clear() { FItems.clear(); }
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  TFieldDef* GetItem(Integer Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
  // -1 / nullptr when missing; names compare ignoring case.
  Integer IndexOf(const AnsiString& Name) const;
  TFieldDef* FindDef(const AnsiString& Name) const;
  // Raises EDatabaseError "Field '%s' not found" when missing.
  TFieldDef* Find(const AnsiString& Name) const;

private:
  std::vector<std::unique_ptr<TFieldDef>> FItems;
};

// The field class for a data type; raises EDatabaseError for types without one.
TClass FieldClassOf(TFieldType DataType);
