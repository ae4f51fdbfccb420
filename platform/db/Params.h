// TParameters / TParameter: the named parameters of a command, parsed from ":Name" markers in
// its text and bound by name. One parameter per distinct name (ignoring case); every marker of
// that name receives its value.
#pragma once

#include <memory>
#include <vector>

#include "platform/db/DB.h"
#include "platform/rtl/Variants.h"

class TStream;

PELTO_ENUM(TParameterDirection, pdUnknown, pdInput, pdOutput, pdInputOutput, pdReturnValue)

class TParameter {
public:
  explicit TParameter(const AnsiString& Name) : FName(Name) {}
  const AnsiString& GetName() const { return FName; }
  const Variant& GetValue() const { return FValue; }
  // Takes the data type from the value (texts ftWideString/ftString, numbers, dates, Booleans);
  // Null and Unassigned keep the present type. Byte strings bind as BLOBs only through
  // LoadFromStream or SetDataType(ftBlob) after the value.
  void SetValue(const Variant& Value);
  TFieldType GetDataType() const { return FDataType; }
  void SetDataType(TFieldType Value) { FDataType = Value; }
  TParameterDirection GetDirection() const { return FDirection; }
  void SetDirection(TParameterDirection Value) { FDirection = Value; }
  Integer GetSize() const { return FSize; }
  void SetSize(Integer Value) { FSize = Value; }
  // Reads the rest of Stream into the value as raw bytes of the given type (ftBlob: binary).
  void LoadFromStream(TStream* Stream, TFieldType DataType);

private:
  AnsiString FName;
  Variant FValue;
  TFieldType FDataType = ftUnknown;
  TParameterDirection FDirection = pdInput;
  Integer FSize = 0;
};

class TParameters {
public:
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  TParameter* GetItem(Integer Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
  // nullptr when missing; names compare ignoring case.
  TParameter* FindParam(const AnsiString& Name) const;
  Integer IndexOf(const AnsiString& Name) const;
  // Raises EDatabaseError "Parameter '%s' not found".
  TParameter* ParamByName(const AnsiString& Name) const;
  // Adds a parameter, or returns the one of that name.
  TParameter* CreateParameter(const AnsiString& Name, TFieldType DataType, const Variant& Value);
  void Clear() { FItems.clear(); }
  // Rebuilds the list from the markers of Sql; parameters of names still present keep their
  // values and types. Returns the distinct names in order of first use.
  std::vector<AnsiString> ParseSQL(const WideString& Sql, bool DoCreate);

private:
  std::vector<std::unique_ptr<TParameter>> FItems;
};

namespace Params {

// A ":Name" marker found in a statement.
struct TParamMarker {
  std::size_t Start;   // index of the ':'
  std::size_t Length;  // of ":Name"
  WideString Name;
};

// Markers outside quoted texts, [bracketed] names, #date# literals and comments; "::" is not
// a marker.
std::vector<TParamMarker> ScanMarkers(const WideString& Sql);

}  // namespace Params
