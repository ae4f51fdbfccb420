// The filter row's language: a typed text such as ">= 100 AND < 200", "'Apple','Pear'",
// "in (1,2,3)", "~ 'abc'" or "= Null" becomes one expression of at most two conditions joined by
// AND or OR, with operands converted to the column's value kind; plus the operator tables that
// show an expression again, and the registry of dataset adapters that sort and filter a dataset
// class for the grid.
//
// Errors raise Exception with a fixed text followed by the whole trimmed filter text; operand
// conversion raises the system's conversion error (EConvertError).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/db/DB.h"
#include "platform/rtl/Variants.h"

class TDataSet;
class TObject;

enum TSTValueKindEh : std::uint8_t { svkUnknown, svkString, svkNumber, svkDateTime, svkBoolean };

enum TSTFilterOpEh : std::uint8_t {
  sfoNone,
  sfoEqual,
  sfoNotEqual,
  sfoGreater,
  sfoLess,
  sfoGreaterOrEqual,
  sfoLessOrEqual,
  sfoLike,
  sfoNotLike,
  sfoIn,
  sfoNotIn,
  sfoIsNull,
  sfoIsNotNull,
  sfoAnd,
  sfoOr,
  sfoValue
};

// Copied by value. ValueKind is the caller's: parsing and resetting keep it.
struct TSTFilterExpressionEh {
  TSTValueKindEh ValueKind = svkUnknown;
  TSTFilterOpEh FirstOperator = sfoNone;
  Variant FirstOperand = Variant::Null();
  TSTFilterOpEh Conjunction = sfoNone;
  TSTFilterOpEh SecondOperator = sfoNone;
  Variant SecondOperand = Variant::Null();
};

// Sorts and filters one dataset class for the grid; registered in the adapter list, which owns it.
// Grid is the grid asking (its column filters and sort-marked columns are read through it).
class TDataSetFilterSortAdapterEh {
public:
  explicit TDataSetFilterSortAdapterEh(TClass ServedClass) : ServedClass(ServedClass) {}
  virtual ~TDataSetFilterSortAdapterEh() = default;
  TClass ServedClass;
  virtual void ApplySorting(TObject* Grid, TDataSet* DataSet, bool Reopen) = 0;
  virtual void ApplyFilter(TObject* Grid, TDataSet* DataSet, bool Reopen) = 0;
};

namespace DbUtilsEh {

extern const char* const FilterOperatorDisplayText[16];
extern const char* const FilterOperatorSqlText[16];
extern const char* const FilterMarkerText;
TSTValueKindEh FieldTypeToValueKind(TFieldType Type);

// ---- the language ---------------------------------------------------------------------------
void ResetFilterExpression(TSTFilterExpressionEh& Expression);
// Fills Expression (whose ValueKind the caller set) from Text, or raises; on a raise the
// expression may be partly filled.
void ParseFilterText(const AnsiString& Text, TSTFilterExpressionEh& Expression);
// The symbol code of a word (NOT 12, AND 9, OR 10, LIKE 7, IN 8, NULL 17), 0 when it is none.
int WordToOperator(const AnsiString& Word);
// Converts a text operand, or each element of a list, to the kind's type; Null stays Null.
void ConvertOperandText(Variant& Operand, TSTValueKindEh ValueKind);
// One token from the 1-based Pos, which it advances: the token code (0 when none) and, for an
// operand (15), its value. Text is the whole trimmed filter text (errors quote it).
void NextFilterToken(const AnsiString& Text, int& Pos, int& Token, Variant& Value, bool ListCommas);

// ---- adapters -------------------------------------------------------------------------------
// Takes ownership; the list keeps registration order.
void RegisterDataSetAdapter(std::unique_ptr<TDataSetFilterSortAdapterEh> Adapter);
// The adapter of the most specific registered ancestor of the class (the class itself included);
// nullptr when none. Ties keep the earlier registration.
TDataSetFilterSortAdapterEh* AdapterForDataSetClass(TClass DataSetClass);
TDataSetFilterSortAdapterEh* AdapterForDataSet(TDataSet* DataSet);
// Parent steps from Class to its first ancestor named Name (case-insensitive); INT_MAX when none.
int ClassNameDistance(TClass Class, const AnsiString& Name);
// Frees every adapter.
void ClearAdapterRegistry();

}  // namespace DbUtilsEh
