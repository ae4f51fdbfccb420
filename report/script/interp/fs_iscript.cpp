#include "report/script/interp/fs_iscript.h"

#include "report/script/host/fs_iclassvar.h"
#include "report/script/host/fs_ihandles.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/interp/fs_istatements.h"
#include "report/script/parser/fs_iconst.h"
#include "report/script/parser/fs_iparser.h"
#include "report/script/tools/fs_itypes.h"

TfsScript::TfsScript(TComponent* AOwner)
    : TComponent(AOwner), FLines(new TStringList), FStatements(new TfsStatement(this, "", "")),
      FUnitLines(new TStringList)
{
  RegisterItem("__StringHelper", new TfsStringHelper);
  RegisterItem("__ArrayHelper", new TfsArrayHelper("__ArrayHelper", -1, ikVariant, ""));
}

TfsScript::~TfsScript() { Clear(); }

std::size_t TfsScript::LowerBound(const AnsiString& Key) const
{
  auto It = std::lower_bound(FItems.begin(), FItems.end(), Key,
                             [](const TEntry& E, const AnsiString& K) { return E.Key < K; });
  return static_cast<std::size_t>(It - FItems.begin());
}

bool TfsScript::RegisterItem(const AnsiString& AName, TfsCustomVariable* Item)
{
  AnsiString Key = SysUtils::AnsiUpperCase(AName);
  std::size_t I = LowerBound(Key);
  // Hidden helpers all go under the empty name: no one finds them by name, so none is refused.
  if (!Key.empty() && I < FItems.size() && FItems[I].Key == Key) {
    delete Item;
    return false;
  }
  Item->Registrar = Registrar;
  FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(I), TEntry{Key, Item});
  return true;
}

void TfsScript::UnregisterItem(TfsCustomVariable* Item)
{
  for (auto It = FItems.begin(); It != FItems.end(); ++It)
    if (It->Item == Item) {
      FItems.erase(It);
      return;
    }
}

TfsCustomVariable* TfsScript::FindLocalItem(const AnsiString& AName) const
{
  AnsiString Key = SysUtils::AnsiUpperCase(AName);
  std::size_t I = LowerBound(Key);
  return I < FItems.size() && FItems[I].Key == Key ? FItems[I].Item : nullptr;
}

TfsCustomVariable* TfsScript::FindItem(const AnsiString& AName) const
{
  AnsiString Key = SysUtils::AnsiUpperCase(AName);
  for (const TfsScript* S = this; S; S = S->ParentScript) {
    std::size_t I = S->LowerBound(Key);
    if (I < S->FItems.size() && S->FItems[I].Key == Key) return S->FItems[I].Item;
  }
  return nullptr;
}

void TfsScript::RemoveItems(const void* Owner)
{
  for (std::size_t I = FItems.size(); I-- > 0;)
    if (FItems[I].Item->Registrar == Owner) {
      TfsCustomVariable* Item = FItems[I].Item;
      FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(I));
      delete Item;
    }
}

void TfsScript::ClearItems(const void* Owner)
{
  RemoveItems(Owner);
  FStatements->Clear();
  FUnitLines->Clear();
}

void TfsScript::Clear()
{
  // Statements refer to items: free them first.
  FStatements->Clear();
  while (!FItems.empty()) {
    TfsCustomVariable* Item = FItems.front().Item;
    FItems.erase(FItems.begin());
    delete Item;
  }
  FUnitLines->Clear();
}

void TfsScript::AddType(const AnsiString& AName, TfsItemKind AKind)
{
  if (!FindItem(AName)) RegisterItem(AName, new TfsTypeVariable(AName, AKind, ""));
}

void TfsScript::AddConst(const AnsiString& AName, const AnsiString& ATypeName, const Variant& AValue)
{
  if (FindItem(AName)) return;
  auto* V = new TfsVariable(AName, fs_itypes::KindOfType(ATypeName, this), ATypeName);
  V->Value = AValue;
  V->IsReadOnly = true;
  RegisterItem(AName, V);
}

void TfsScript::AddVariable(const AnsiString& AName, const AnsiString& ATypeName, const Variant& AValue)
{
  if (FindItem(AName)) return;
  auto* V = new TfsVariable(AName, fs_itypes::KindOfType(ATypeName, this), ATypeName);
  V->Value = AValue;
  RegisterItem(AName, V);
}

namespace {
void AddEnumValues(TfsScript* S, const AnsiString& ATypeName, const AnsiString& Names, bool AsSet)
{
  S->RegisterItem(ATypeName, new TfsVariable(ATypeName, ikEnum, ATypeName));
  TStringList L;
  L.SetCommaText(Names);
  for (Integer I = 0; I < L.GetCount(); ++I) {
    AnsiString N = SysUtils::Trim(L.GetStrings(I));
    auto* V = new TfsVariable(N, ikEnum, ATypeName);
    V->Value = Variant(AsSet ? (1 << I) : I);
    V->IsReadOnly = true;
    S->RegisterItem(N, V);
  }
}
}  // namespace

void TfsScript::AddEnum(const AnsiString& ATypeName, const AnsiString& Names)
{
  AddEnumValues(this, ATypeName, Names, false);
}
void TfsScript::AddEnumSet(const AnsiString& ATypeName, const AnsiString& Names)
{
  AddEnumValues(this, ATypeName, Names, true);
}

TfsClassVariable* TfsScript::FindClassItem(const AnsiString& AName) const
{
  return dynamic_cast<TfsClassVariable*>(FindItem(AName));
}

TfsClassVariable* TfsScript::AddClass(const TMetaClass* ClassRef, const AnsiString& AncestorName,
                                      TfsInstanceCheck Check)
{
  if (FindItem(ClassRef->ClassName())) return nullptr;
  auto* C = new TfsClassVariable(ClassRef, AncestorName, this, Check);
  if (!RegisterItem(C->Name, C)) return nullptr;
  if (TfsClassVariable* A = FindClassItem(AncestorName)) C->DefaultProperty = A->DefaultProperty;
  return C;
}

void TfsScript::AddObject(const AnsiString& AName, TObject* Instance)
{
  AnsiString Class = Instance ? AnsiString(Instance->ClassName()) : AnsiString("TObject");
  AddVariable(AName, Class, fs_ihandles::ToVariant(Instance));
}

TfsMethodHelper* TfsScript::AddMethod(const AnsiString& ASyntax, TfsMethodCallback CallBack, const AnsiString& Category,
                                      const AnsiString& Description)
{
  auto* M = new TfsMethodHelper(ASyntax, this, std::move(CallBack));
  M->Category = Category;
  M->Description = Description.empty() ? M->Name : Description;
  return RegisterItem(M->Name, M) ? M : nullptr;
}

bool TfsScript::Compile()
{
  LastError.clear();
  TfsILParser Parser(this);
  Parser.OnGetUnit = OnGetUnit;
  Parser.OnGetILUnit = OnGetILUnit;
  Parser.LoadLanguage(FSyntaxType);
  AnsiString Text;
  for (Integer I = 0; I < FLines->GetCount(); ++I) {
    Text += FLines->GetStrings(I);
    Text += "\r\n";
  }
  if (Parser.BuildIntermediate(Text)) {
    Parser.BuildProgram();
  } else {
    LastError = Parser.GetLastError();
    LastErrorPos = Parser.GetLastErrorPos();
    LastErrorUnit = Parser.GetLastErrorUnit();
    // A failed first pass must never pass for success.
    if (LastError.empty()) {
      LastError = fs_iconst::SStatementExpected;
      if (LastErrorPos.empty()) LastErrorPos = Parser.GetLexer()->GetXYPosition();
    }
  }
  if (LastError.empty()) LastErrorPos.clear();
  return LastError.empty();
}

void TfsScript::Execute()
{
  ExitFlag = false;
  StopRequested = false;
  IsRunning = true;
  ExecutedMark = true;
  struct TCleanUp {
    TfsScript* S;
    ~TCleanUp()
    {
      S->ExitFlag = false;
      S->StopRequested = false;
      S->IsRunning = false;
      S->BreakFlag = false;
      S->ContinueFlag = false;
    }
  } CleanUp{this};
  FStatements->Run();
}

namespace {
TfsProcVariable* PrepareCall(TfsScript* S, const AnsiString& AName, const Variant& Params)
{
  auto* P = dynamic_cast<TfsProcVariable*>(S->FindLocalItem(AName));
  if (!P || !Params.IsArray()) return P;
  int Hi = Variants::VarArrayHighBound(Params, 1);
  if (Hi >= P->GetCount()) throw Exception(fs_iconst::STooManyParams);
  if (Hi + 1 < P->RequiredParamCount()) throw Exception(fs_iconst::SNotEnoughParams);
  for (int I = 0; I <= Hi; ++I) P->ParamAt(I)->SetValue(Variants::VarArrayGet(Params, {I}));
  // Parameters left out start from their defaults, not from the previous call's values.
  for (int I = Hi + 1; I < P->GetCount(); ++I) P->ParamAt(I)->SetValue(P->ParamAt(I)->DefValue);
  return P;
}
}  // namespace

Variant TfsScript::CallFunction(const AnsiString& AName, const Variant& Params)
{
  TfsProcVariable* P = PrepareCall(this, AName, Params);
  return P ? P->GetValue() : Variant::Null();
}

Variant TfsScript::CallFunctionVarParams(const AnsiString& AName, Variant& Params)
{
  TfsProcVariable* P = PrepareCall(this, AName, Params);
  if (!P) return Variant::Null();
  Variant R = P->GetValue();
  if (Params.IsArray())
    for (int I = 0; I <= Variants::VarArrayHighBound(Params, 1); ++I)
      Variants::VarArrayPut(Params, P->ParamAt(I)->GetValue(), {I});
  return R;
}

Variant TfsScript::Evaluate(const AnsiString& Expression)
{
  TfsScript* Scope = RunningProcScript ? RunningProcScript : this;
  TfsScript Temp(nullptr);
  Temp.ParentScript = Scope;
  TfsRunLineEvent Saved = OnRunLine.Take();
  TScopeExit restore([this, &Saved] { OnRunLine = std::move(Saved); });
  Temp.FLines->Add("function __f__: Variant; begin Result := " + Expression + " end; begin end.");
  if (!Temp.Compile()) return Variant(Temp.LastError);
  return Temp.FindLocalItem("__f__")->GetValue();
}

void TfsScript::Terminate()
{
  ExitFlag = true;
  StopRequested = true;
  for (const TEntry& E : FItems)
    if (auto* P = dynamic_cast<TfsProcVariable*>(E.Item)) P->GetLocalScript()->Terminate();
}

void TfsScript::NotifyRunLine(const AnsiString& AUnitName, const AnsiString& SourcePos)
{
  for (TfsScript* S = this; S; S = S->ParentScript)
    if (S->OnRunLine) {
      S->OnRunLine(this, AUnitName, SourcePos);
      return;
    }
}

void TfsScript::AddCodeLine(const AnsiString& AUnitName, const AnsiString& Position)
{
  AnsiString Line = Position.substr(0, Position.find(':'));
  Integer I = FUnitLines->IndexOfName(AUnitName);
  AnsiString V = I >= 0 ? FUnitLines->GetValues(AUnitName) : AnsiString();
  TStringList L;
  L.SetCommaText(V);
  if (L.IndexOf(Line) >= 0) return;
  V += Line + ",";
  if (I >= 0)
    FUnitLines->SetStrings(I, AUnitName + "=" + V);
  else
    FUnitLines->Add(AUnitName + "=" + V);
}

bool TfsScript::HasCodeOnLine(Integer Line, const AnsiString& AUnitName) const
{
  Integer I = FUnitLines->IndexOfName(AUnitName);
  if (I < 0) return false;
  TStringList L;
  L.SetCommaText(FUnitLines->GetValues(AUnitName));
  return L.IndexOf(std::to_string(Line)) >= 0;
}
