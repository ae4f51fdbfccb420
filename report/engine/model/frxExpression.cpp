#include "report/engine/model/frxExpression.h"

#include <cstdint>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxVariables.h"
#include "report/script/ScriptModule.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iitems.h"
#include "report/script/interp/fs_iscript.h"

// ---- TfrxExpressionCache

TfrxExpressionCache::TfrxExpressionCache()
    : FExpressions(std::make_unique<TStringList>()), FScript(std::make_unique<TfsScript>(nullptr))
{
  FExpressions->SetSorted(true);
  FScript->SetSyntaxType("DezodiZidede");
}

TfrxExpressionCache::~TfrxExpressionCache() = default;

void TfrxExpressionCache::Clear()
{
  FExpressions->Clear();
  FScript->Clear();
}

int TfrxExpressionCache::GetCount() const { return FExpressions->GetCount(); }

void TfrxExpressionCache::Calc(const AnsiString& Expression, AnsiString& ErrorText, Variant& Value, TfsScript* Script)
{
  ErrorText.clear();
  FScript->ParentScript = Script ? Script : fs_iinterpreter::GetGlobalScript();
  Integer index = -1;
  TfsCustomVariable* function = nullptr;
  if (FExpressions->Find(Expression, index)) {
    function = static_cast<TfsCustomVariable*>(FExpressions->GetObjects(index));
  } else {
    AnsiString name = "_f" + SysUtils::IntToStr(FExpressions->GetCount());
    // Expressions are always in this language, whatever the report's script is written in.
    FScript->SetSyntaxType("DezodiZidede");
    FScript->GetLines()->SetText("function " + name + ": Variant; begin Result := " + Expression + " end; begin end.");
    bool compiled = FScript->Compile();
    function = FScript->FindLocalItem(name);
    if (!compiled || !function) {
      // A half-built function must not block the next expression that gets the same number.
      if (function) {
        FScript->UnregisterItem(function);
        delete function;
      }
      ErrorText = frxRes::Get("clExprError") + " '" + Expression + "': " + FScript->LastError;
      Value = Variant::Null();
      return;
    }
    FExpressions->AddObject(Expression, function);
  }
  Value = function->GetValue();
}

namespace frxExpression {

void Initialize() { ScriptModule::Initialize(); }

Variant ObjectToVariant(TObject* Obj) { return fs_ihandles::ToVariant(Obj); }

TObject* VariantToObject(const Variant& Value)
{
  TVarType t = Value.Deref().VarType();
  if (t != varInt64 && t != varInteger) return nullptr;
  try {
    return fs_ihandles::ObjectOf(Value);
  } catch (const EInvalidPointer&) {
    return nullptr;  // not a live object's handle
  }
}

namespace {

Variant SystemVariable(TfrxReport* Report, Integer Index)
{
  TfrxCustomEngine* e = Report->GetEngine();
  if (!e) return Variant::Null();
  TfrxCustomPreviewPages* pages = e->PreviewPages;
  Integer cur = pages ? pages->CurPage : 0, first = pages ? pages->FirstPage : 0;
  switch (Index) {
    case 0: return Variant(e->StartDate);
    case 1: return Variant(e->StartTime);
    case 2: return Variant(cur - first + 1);
    case 3: return Variant(cur + 1);
    case 4: return Variant(e->TotalPages - first);
    case 5: return Variant(e->TotalPages);
    case 6: return Variant(e->CurLine);
    default: return Variant(e->CurLineThrough);
  }
}

// Marks a report variable as being evaluated, so that a variable whose text names itself
// (directly or through others) ends in an expression error instead of endless recursion.
class TVariableGuard {
public:
  TVariableGuard(std::vector<AnsiString>& InUse, const AnsiString& Name) : FInUse(InUse)
  {
    for (const AnsiString& n : InUse)
      if (SysUtils::SameText(n, Name)) return;
    InUse.push_back(Name);
    FEntered = true;
  }
  ~TVariableGuard()
  {
    if (FEntered) FInUse.pop_back();
  }
  bool Entered() const { return FEntered; }
  TVariableGuard(const TVariableGuard&) = delete;
  TVariableGuard& operator=(const TVariableGuard&) = delete;

private:
  std::vector<AnsiString>& FInUse;
  bool FEntered = false;
};

}  // namespace

bool GetVariableValue(TfrxReport* Report, const AnsiString& Name, Variant& Value)
{
  Value = Variant::Null();

  TfrxDataSet* ds = nullptr;
  AnsiString field;
  Report->ParseDataField(Name, ds, field);
  if (ds) {
    Value = ds->GetValue(field);
    if (Value.IsNull() && Report->GetEngineOptions()->ConvertNulls) {
      switch (ds->GetFieldType(field)) {
        case fftNumeric: Value = Variant(0); break;
        case fftString: Value = Variant(AnsiString()); break;
        case fftBoolean: Value = Variant(false); break;
      }
    }
    return true;
  }

  Integer index = Report->GetSystemVariables()->IndexOf(Name);
  if (index >= 0) {
    Value = SystemVariable(Report, index);
    return true;
  }

  if (Report->OnGetValue) {
    Variant host;
    Report->OnGetValue(Name, host);
    if (!host.IsEmpty()) {
      Value = host;
      return true;
    }
  }

  int v = Report->GetVariables()->IndexOf(Name);
  if (v >= 0) {
    TVariableGuard guard(Report->GetExpressionCache()->VariablesInUse, Name);
    if (guard.Entered()) {
      Variant stored = Report->GetVariables()->GetItems(v)->Value;
      Value = Variants::VarIsStr(stored) ? Report->Calc(stored.AsString()) : stored;
      return true;
    }
  }

  if (TfsCustomVariable* item = Report->GetScript()->FindLocalItem(Name)) {
    Value = item->GetValue();
    return true;
  }
  return false;
}

namespace {

// The scope a macro function was called from: a call inside a cached expression names the
// cache's script, whose parent at that moment is the caller's own scope.
TfsScript* CallerScope(TfrxReport* Report, TfsScript* Called)
{
  TfsScript* cache = Report->GetExpressionCache()->GetCacheScript();
  for (TfsScript* s = Called; s; s = s->ParentScript)
    if (s == cache) return cache->ParentScript;
  return Called;
}

AnsiString Arg(const Variant& Params, int Index)
{
  if (!Params.IsArray() || Index > Variants::VarArrayHighBound(Params, 1)) return AnsiString();
  Variant v = Variants::VarArrayGet(Params, {Index});
  return v.IsNull() || v.IsEmpty() ? AnsiString() : SysUtils::Trim(Variants::VarToStr(v));
}

bool IsAggregateCall(const AnsiString& Text)
{
  size_t p = Text.find('(');
  if (p == AnsiString::npos) return false;
  AnsiString head = SysUtils::UpperCase(SysUtils::Trim(Text.substr(0, p)));
  return head == "SUM" || head == "MIN" || head == "MAX" || head == "AVG" || head == "COUNT";
}

Variant Aggregate(TfrxReport* Report, TfsScript* Scope, const AnsiString& Name, const AnsiString& Expr,
                  const AnsiString& BandText, const AnsiString& FlagsText)
{
  TfrxBand* band = nullptr;
  if (!BandText.empty()) {
    // Only an object of this report counts: a number that merely looks like a reference must
    // never be followed.
    TObject* obj = VariantToObject(Report->Calc(BandText, Scope));
    for (TfrxComponent* c : Report->GetAllObjects())
      if (c == obj) band = dynamic_cast<TfrxBand*>(c);
  }
  Integer flags = FlagsText.empty() ? 0 : Report->Calc(FlagsText, Scope).AsInteger();
  TfrxCustomEngine* e = Report->GetEngine();
  // Totals come from the engine; without one there is nothing to add up.
  if (!e) return Variant::Null();
  return e->GetAggregateValue(Name, Expr, band, flags);
}

}  // namespace

void AddReportFunctions(TfrxReport* Report, TfsScript* Script)
{
  Script->AddMethod("function Get(Name: String): Variant",
                    [Report](TObject*, const void*, const AnsiString&, Variant& Params) -> Variant {
                      AnsiString name = Variants::VarToStr(Variants::VarArrayGet(Params, {0}));
                      Variant v;
                      if (Report->GetVariableValue(name, v)) return v;
                      if (IsAggregateCall(name)) return Report->Calc(name);
                      Report->GetErrors()->Add(frxRes::Get("clUnknownVar") + " " + name);
                      return Variant::Null();
                    });
  Script->AddMethod("procedure Set(Name: String; Value: Variant)",
                    [Report](TObject*, const void*, const AnsiString&, Variant& Params) -> Variant {
                      Report->GetVariables()->SetVariable(Variants::VarToStr(Variants::VarArrayGet(Params, {0})),
                                                          Variants::VarArrayGet(Params, {1}));
                      return Variant::Null();
                    });

  // A macro function's callback does not see its helper, but the helper records the scope of
  // each call before calling back: keep a handle to it.
  auto addMacro = [&](const AnsiString& Syntax, auto Body) {
    auto helper = std::make_shared<TfsMethodHelper*>(nullptr);
    *helper = Script->AddMethod(
        Syntax, [Report, helper, Body](TObject*, const void*, const AnsiString& Name, Variant& Params) -> Variant {
          TfsMethodHelper* h = *helper;
          TfsScript* scope = CallerScope(Report, h ? h->ProgramScript : nullptr);
          // Arguments left out of the next call must read as their defaults, not as this call's.
          if (h)
            for (Integer i = 0; i < h->GetCount(); ++i) h->ParamAt(i)->Value = h->ParamAt(i)->DefValue;
          return Body(scope, Name, Params);
        });
  };
  addMacro("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
           [Report](TfsScript* Scope, const AnsiString&, Variant& Params) -> Variant {
             bool cond = Report->Calc(Arg(Params, 0), Scope).AsBoolean();
             return Report->Calc(Arg(Params, cond ? 1 : 2), Scope);
           });
  for (const char* name : {"SUM", "AVG", "MIN", "MAX"})
    addMacro(AnsiString("macrofunction ") + name + "(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
             [Report](TfsScript* Scope, const AnsiString& Name, Variant& Params) -> Variant {
               return Aggregate(Report, Scope, Name, Arg(Params, 0), Arg(Params, 1), Arg(Params, 2));
             });
  addMacro("macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant",
           [Report](TfsScript* Scope, const AnsiString& Name, Variant& Params) -> Variant {
             return Aggregate(Report, Scope, Name, AnsiString(), Arg(Params, 0), Arg(Params, 1));
           });
}

}  // namespace frxExpression
