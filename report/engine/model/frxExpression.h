// Report expressions: the cache that compiles each distinct expression text once into a function
// of a private script, the lookup of bare names (data fields, system variables, host values,
// report variables, script variables) and the functions a report adds to its script (Get, Set,
// IIF and the aggregate macros).
//
// Call flow: TfrxReport::Calc -> GetVariableValue (a bare name) or TfrxExpressionCache::Calc
// (compile once, then call) -> the script, which calls back into Get / IIF / SUM ... here.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Variants.h"

class TfsScript;
class TStringList;
class TfrxReport;

class TfrxExpressionCache : public TObject {
public:
  TfrxExpressionCache();
  ~TfrxExpressionCache() override;
  TfrxExpressionCache(const TfrxExpressionCache&) = delete;
  TfrxExpressionCache& operator=(const TfrxExpressionCache&) = delete;

  // Evaluates Expression with Script as the parent scope of its function (nullptr: the global
  // script). A text that does not compile is not an error here: ErrorText gets "表达式错误
  // '<text>': <message>", Value is Null and nothing is cached, so the next call compiles it
  // again. Otherwise ErrorText is empty. Errors raised while the function runs pass on.
  void Calc(const AnsiString& Expression, AnsiString& ErrorText, Variant& Value, TfsScript* Script);
  // Forgets every compiled expression.
  void Clear();
  // The number of expressions compiled so far.
  int GetCount() const;
  // The private script holding the compiled functions; owned by the cache.
  TfsScript* GetCacheScript() const { return FScript.get(); }
  // The report variables being evaluated right now (the name lookup's guard against a
  // variable whose text refers back to itself).
  std::vector<AnsiString> VariablesInUse;

private:
  std::unique_ptr<TStringList> FExpressions;  // sorted texts; objects: the compiled functions
  std::unique_ptr<TfsScript> FScript;
};

namespace frxExpression {

// Starts the script interpreter the expressions compile with; idempotent.
void Initialize();

// The lookup of a bare name for Report, first rule that applies: data field ("DataSet."Field"",
// data set listed in the report's DataSets), system variable, the host's OnGetValue (a value
// left Empty counts as not found), report variable (a string value is itself an expression,
// evaluated with the report's Calc), an item of the report's own script. Value starts Null.
// Raises what evaluating a report variable raises.
bool GetVariableValue(TfrxReport* Report, const AnsiString& Name, Variant& Value);

// Adds Get, Set, IIF, SUM, AVG, MIN, MAX and COUNT to Script, bound to Report. The items
// belong to Script (stamped with Script's Registrar).
void AddReportFunctions(TfrxReport* Report, TfsScript* Script);

// The script form of an object reference: the object's checked handle, as the script's host
// classes see it, and back. nullptr gives 0; a value that is not a live object's handle gives
// nullptr.
Variant ObjectToVariant(TObject* Obj);
TObject* VariantToObject(const Variant& Value);

}  // namespace frxExpression
