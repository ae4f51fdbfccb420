// Dataset adapters registered per dataset class, and the field routines the dataset-bound
// classes share (filter names, ';'-separated field lists, values of several fields, whether a
// field may be edited or keeps its own display text).
#pragma once

#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Variants.h"

class TDataSet;
class TField;
class TStrings;
class TcxDBAdapterItem;

// An adapter class: its identity and its virtual constructor. Obtain one with
// cxDB::AdapterClassOf<T>(); the record lives for the whole program.
struct TcxDBAdapterItemClassRec {
  std::type_index Type;
  std::function<std::unique_ptr<TcxDBAdapterItem>(TClass ADataSetClass)> Create;
};
using TcxDBAdapterItemClass = const TcxDBAdapterItemClassRec*;

// One registration: the dataset class an adapter was registered for.
class TcxDBAdapterItem : public TObject {
public:
  explicit TcxDBAdapterItem(TClass ADataSetClass) : FDataSetClass(ADataSetClass) {}
  TClass GetDataSetClass() const { return FDataSetClass; }

private:
  TClass FDataSetClass;
};

// Adapters by dataset class; an ancestor's registration stands before its descendants', so a
// look-up finds the nearest registered ancestor of a class. Owns its items.
class TcxDBAdapterList : public TObject {
public:
  virtual ~TcxDBAdapterList() { Clear(); }
  // True with AIndex at the registration of ADataSetClass or its nearest registered ancestor.
  // Otherwise AIndex holds the first registration of a descendant, or is left alone; callers
  // initialise it.
  virtual bool Find(TClass ADataSetClass, int& AIndex);
  // A later registration of the same class is found before the earlier one.
  virtual void Register(TClass ADataSetClass, TcxDBAdapterItemClass AAdapterClass);
  // Removes the items of exactly this dataset class and exactly this adapter class.
  virtual void Unregister(TClass ADataSetClass, TcxDBAdapterItemClass AAdapterClass);
  int Count() const { return static_cast<int>(FItems.size()); }
  // Owned by the list.
  TcxDBAdapterItem* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
  void Clear() { FItems.clear(); }

private:
  std::vector<std::unique_ptr<TcxDBAdapterItem>> FItems;
};

namespace cxDB {

template <class T>
TcxDBAdapterItemClass AdapterClassOf()
{
  static const TcxDBAdapterItemClassRec rec{
      std::type_index(typeid(T)), [](TClass C) -> std::unique_ptr<TcxDBAdapterItem> { return std::make_unique<T>(C); }};
  return &rec;
}

// Encloses a name that is no identifier (letters, digits, '_', not starting with a digit) in [].
void BracketFieldName(AnsiString& AName);
// The name a dataset filter knows the field by: its Origin unless ignored, else its bracketed
// field name; empty for no field.
void GetFilterFieldName(const TField* AField, bool AIgnoreOrigin, AnsiString& AName);
// Upper-cased by the locale, then compared exactly.
bool SameFieldName(const AnsiString& A, const AnsiString& B);
// ';'-separated lists; names are trimmed and empty names count.
bool IsMultipleFieldNames(const AnsiString& AFieldNames);
int GetFieldNamesCount(const AnsiString& AFieldNames);
void GetFieldNames(const AnsiString& AFieldNames, TStrings* AList);
// No field: Null; one: its value; several: an array [0..n-1] of variants.
void GetFieldValues(TDataSet* ADataSet, const std::vector<TField*>& AFields, Variant& AValue);
// The reverse of GetFieldValues; the dataset must be in an edit state.
void SetFieldValues(TDataSet* ADataSet, const std::vector<TField*>& AFields, const Variant& AValue);
// Binary and object fields are editable only through an OnSetText handler unless AAnyType.
bool CanModifyField(const TField* AField, bool AAnyType);
// Whether the controller must keep the field's own display text.
bool IsFieldFormatted(const TField* AField, bool ADefault);
// A lookup field is editable when each of its key fields (at least one) is.
bool CanModifyLookupField(const TField* AField);

}  // namespace cxDB
