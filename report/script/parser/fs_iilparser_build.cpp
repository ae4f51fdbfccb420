// The second pass of the compiler: the intermediate document becomes items and statements.
#include <algorithm>
#include <memory>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/host/fs_idisp.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/host/fs_ilate.h"
#include "report/script/interp/fs_idesignator.h"
#include "report/script/interp/fs_iexpression.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/interp/fs_istatements.h"
#include "report/script/parser/fs_iconst.h"
#include "report/script/parser/fs_iilparser.h"
#include "report/script/parser/fs_iparser.h"
#include "report/script/tools/fs_itypes.h"
#include "report/script/xml/fs_xml.h"

using namespace fs_iconst;

namespace {
constexpr Int64 MaxArrayElements = Int64(1) << 24;
}

namespace {

AnsiString Lower(const AnsiString& S) { return SysUtils::LowerCase(S); }
AnsiString Quoted(const AnsiString& S) { return "'" + S + "'"; }
TfsXMLItem* Child(TfsXMLItem* E, Integer I) { return E->GetItems(I); }

// The byte position of a "line:column" text; 0 when it is malformed.
Integer PositionOf(TfsParser* L, const AnsiString& XY)
{
  std::size_t C = XY.find(':');
  Integer Y, X;
  if (C == AnsiString::npos || !SysUtils::TryStrToInt(XY.substr(0, C), Y) ||
      !SysUtils::TryStrToInt(XY.substr(C + 1), X))
    return 0;
  return L->PointToPosition(X, Y);
}

}  // namespace

namespace {
// The value of an expression the compiler needs now (a constant, a bound, a default). Script
// functions it calls run here too, within a budget of loop rounds and calls.
constexpr Int64 CompileTimeSteps = 1000000;

Variant ValueNow(TfsExpression* Ex)
{
  struct TBudget {
    Int64 Old = fs_iitems::EvalBudget;
    TBudget() { fs_iitems::EvalBudget = Old >= 0 ? std::min(Old, CompileTimeSteps) : CompileTimeSteps; }
    ~TBudget()
    {
      // An enclosing evaluation pays for the rounds this one took.
      fs_iitems::EvalBudget = Old >= 0 ? std::min(Old, fs_iitems::EvalBudget) : -1;
    }
  } Budget;
  return Ex->GetValue();
}
}  // namespace

void TfsILParser::SetErrPos(TfsXMLItem* E)
{
  AnsiString P = E->Prop("pos");
  if (!P.empty()) FBuildErrorPos = P;
}

bool TfsILParser::BuildProgram()
{
  TfsScript* S = FProgram;
  if (!S || !FILDoc->GetRoot()) return false;
  S->LastErrorUnit.clear();
  FUnitName.clear();
  FBuildErrorPos.clear();
  try {
    CompileItems(FILDoc->GetRoot(), S);
    S->LastErrorPos.clear();
    return true;
  } catch (const Exception& E) {
    S->LastError = E.Message().empty() ? AnsiString(SStatementExpected) : E.Message();
    S->LastErrorPos = FBuildErrorPos;
    S->LastErrorUnit = FUnitName;
    return false;
  }
}

void TfsILParser::DeclareProcs(TfsXMLItem* E, TfsScript* S)
{
  for (Integer I = 0; I < E->GetCount(); ++I) {
    TfsXMLItem* C = Child(E, I);
    AnsiString N = Lower(C->GetName());
    if (N == "compoundstmt") {
      DeclareProcs(C, S);
      continue;
    }
    if (N != "procedure" && N != "function") continue;
    AnsiString Name, TypeName;
    TfsItemKind Kind = ikInteger;
    bool IsFunction = false;
    if (N == "procedure") {
      SetErrPos(Child(C, 0));
      Name = Child(C, 0)->Prop("text");
    } else {
      Integer TI = C->Find("type");
      Integer NI = C->Find("name");
      if (NI < 0) throw Exception(SStatementExpected);
      SetErrPos(Child(C, NI));
      Name = Child(C, NI)->Prop("text");
      if (TI >= 0) {
        TypeName = Child(C, TI)->Prop("text");
        IsFunction = !SysUtils::SameText(TypeName, "void");
        int K;
        ResolveType(TypeName, S, K);
        Kind = static_cast<TfsItemKind>(K);
      } else {
        // An untyped function returns whatever it assigns.
        IsFunction = true;
        Kind = ikVariant;
      }
    }
    CheckNewName(S, Name);
    auto* P = new TfsProcVariable(Name, Kind, TypeName, S, IsFunction);
    P->ItemPos = C->Prop("pos");
    S->RegisterItem(Name, P);
    for (Integer J = 0; J < C->GetCount(); ++J)
      if (Lower(Child(C, J)->GetName()) == "parameters") CompileParameters(Child(C, J), P);
  }
}

void TfsILParser::CompileParameters(TfsXMLItem* E, TfsProcVariable* P)
{
  bool NextByRef = false;
  TfsScript* L = P->GetLocalScript();
  for (Integer I = 0; I < E->GetCount(); ++I) {
    TfsXMLItem* G = Child(E, I);
    AnsiString GN = Lower(G->GetName());
    if (GN == "varparams") {
      NextByRef = true;
      continue;
    }
    if (GN != "var") continue;
    bool GroupByRef = NextByRef;
    NextByRef = false;
    bool ByRef = GroupByRef;
    for (Integer J = 0; J < G->GetCount(); ++J) {
      TfsXMLItem* C = Child(G, J);
      AnsiString CN = Lower(C->GetName());
      if (CN == "varparam") {
        ByRef = true;
        continue;
      }
      if (CN != "ident") continue;
      SetErrPos(C);
      AnsiString Name = C->Prop("text");
      CheckNewName(L, Name);
      auto* Item = static_cast<TfsParamItem*>(MakeVariable(G, L, ByRef, true, nullptr, Name));
      Item->DefValue = Item->Value;
      P->Add(Item);
      L->RegisterItem(Name, Item);
      ByRef = GroupByRef;
    }
  }
}

void TfsILParser::CompileItems(TfsXMLItem* E, TfsScript* S)
{
  TfsXMLItem* OldRoot = FDeclRoot;
  FDeclRoot = E;
  DeclareProcs(E, S);
  for (Integer I = 0; I < E->GetCount(); ++I) CompileStmt(Child(E, I), S, S->GetStatements());
  FDeclRoot = OldRoot;
}

void TfsILParser::CompileInto(TfsXMLItem* E, TfsScript* S, TfsStatement* List)
{
  for (Integer I = 0; I < E->GetCount(); ++I) CompileStmt(Child(E, I), S, List);
}

AnsiString TfsILParser::ResolveType(AnsiString& T, TfsScript* S, int& KindOut)
{
  // Aliases come from the program's own table, so they hold inside procedure bodies too.
  for (TfsXMLItem* Root : {FDeclRoot, FILDoc->GetRoot()}) {
    if (!Root) continue;
    Integer TI = Root->Find("types");
    if (TI < 0) continue;
    TfsXMLItem* Types = Child(Root, TI);
    Integer K = Types->Find(T);
    if (K >= 0) {
      T = Child(Types, K)->Prop("type");
      break;
    }
  }
  TfsItemKind Kind = fs_itypes::KindOfType(T, S);
  if (Kind == ikClass) {
    TfsCustomVariable* C = S->FindItem(T);
    if (!C || C->Kind != ikClass || dynamic_cast<TfsVariable*>(C)) throw Exception(SUnknownType + Quoted(T));
  }
  KindOut = Kind;
  return T;
}

bool TfsILParser::ResolveWithMember(TfsScript* S, const AnsiString& Name, TfsCustomVariable*& WithVar,
                                    TfsCustomVariable*& Member)
{
  for (std::size_t I = FWithList.size(); I-- > 0;) {
    TfsCustomVariable* V = FWithList[I];
    if (S->FindLocalItem(V->Name) != V) continue;  // a with of an enclosing procedure
    if (V->Kind == ikVariant) {
      // Known only at run time: a name the program knows is its own, any other the object's.
      if (S->FindItem(Name)) return false;
      WithVar = V;
      Member = nullptr;  // the designator waits for its first use
      if (!FDeferring) return true;
      if (fs_idisp::IsDispatch(V->Value)) {
        auto* H = new TfsOLEHelper(Name);
        S->RegisterItem("", H);
        Member = H;
        return true;
      }
      Member = ClassOfValue(S, V->Value, Name)->FindMember(Name);
      if (!Member) throw Exception(SIdUndeclared + Quoted(Name));
      return true;
    }
    TfsClassVariable* C = S->FindClassItem(V->TypeName);
    if (!C) continue;
    if (TfsCustomVariable* M = C->FindMember(Name)) {
      WithVar = V;
      Member = M;
      return true;
    }
  }
  return false;
}

TfsCustomVariable* TfsILParser::ResolveVariable(TfsScript* S, const AnsiString& N)
{
  if (TfsCustomVariable* I = S->FindItem(N)) return I;
  if (FNeedDeclareVars) throw Exception(SIdUndeclared + Quoted(N));
  auto* V = new TfsVariable(N, ikVariant, "");
  S->RegisterItem(N, V);
  return V;
}

void TfsILParser::CheckNewName(TfsScript* S, const AnsiString& N)
{
  if (S->FindLocalItem(N)) throw Exception(SIdRedeclared + Quoted(N));
}

void TfsILParser::CheckAssignable(TfsCustomVariable* V, TfsCustomVariable* E)
{
  if (!fs_itypes::AssignCompatible(V, E, FProgram))
    throw Exception(AnsiString(SIncompatibleTypes) + ": " + Quoted(V->KindText()) + ", " + Quoted(E->KindText()));
}

TfsCustomVariable* TfsILParser::MakeVariable(TfsXMLItem* E, TfsScript* S, bool ByRef, bool AsParam, TfsStatement* List,
                                             const AnsiString& Name)
{
  AnsiString TypeName = "Variant";
  Integer TI = E->Find("type");
  bool TypeFirst = TI == 0;
  if (TI >= 0) {
    TypeName = Child(E, TI)->Prop("text");
    SetErrPos(Child(E, TI));
  }
  int K;
  ResolveType(TypeName, S, K);
  auto Kind = static_cast<TfsItemKind>(K);
  Variant Value = fs_iitems::StartValue(Kind);
  Integer NI = -1;
  for (Integer I = 0; I < E->GetCount(); ++I)
    if (Lower(Child(E, I)->GetName()) == "ident" && SysUtils::SameText(Child(E, I)->Prop("text"), Name)) {
      NI = I;
      break;
    }
  TfsXMLItem* Init = nullptr;
  TfsArrayHelper* Helper = nullptr;
  for (Integer I = NI + 1; I < E->GetCount(); ++I) {
    TfsXMLItem* C = Child(E, I);
    AnsiString CN = Lower(C->GetName());
    if (CN == "ident" && TypeFirst) break;
    if (CN == "array") {
      std::vector<int> Bounds;
      for (Integer D = 0; D < C->GetCount(); ++D) {
        TfsXMLItem* Dim = Child(C, D);
        if (Lower(Dim->GetName()) != "dim") continue;
        std::vector<int> B;
        for (Integer X = 0; X < Dim->GetCount(); ++X) {
          std::unique_ptr<TfsExpression> Ex(CompileExpr(Child(Dim, X), S));
          B.push_back(ValueNow(Ex.get()).AsInteger());
        }
        if (B.size() == 2)
          Bounds.insert(Bounds.end(), {B[0], B[1]});
        else if (B.size() == 1)
          Bounds.insert(Bounds.end(), {0, B[0] - 1});
      }
      if (Bounds.empty()) Bounds = {0, 0};
      // The bounds are the program's to choose, but not all of memory.
      Int64 Elements = 1;
      for (std::size_t B = 0; B + 1 < Bounds.size(); B += 2) {
        Elements *= std::max<Int64>(0, static_cast<Int64>(Bounds[B + 1]) - Bounds[B] + 1);
        if (Elements > MaxArrayElements) throw Exception(SArrayTooLarge);
      }
      Value = Variants::VarArrayCreate(Bounds, varVariant);
      Helper = new TfsArrayHelper("", static_cast<Integer>(Bounds.size() / 2), Kind, TypeName);
      S->RegisterItem("", Helper);
      Kind = ikArray;
    } else if (CN == "init") {
      Init = C;
      if (!List) {
        TfsVariable Temp("", Kind, TypeName);
        std::unique_ptr<TfsExpression> Ex(CompileExpr(Child(C, 0), S));
        CheckAssignable(&Temp, Ex.get());
        Value = ValueNow(Ex.get());
      }
    }
  }
  std::unique_ptr<TfsCustomVariable> Owned;
  if (AsParam)
    Owned = std::make_unique<TfsParamItem>(Name, Kind, TypeName, Init != nullptr, ByRef);
  else if (Kind == ikChar || Kind == ikString)
    Owned = std::make_unique<TfsStringVariable>(Name, Kind, TypeName);
  else
    Owned = std::make_unique<TfsVariable>(Name, Kind, TypeName);
  TfsCustomVariable* Item = Owned.get();
  Item->SetValue(Value);
  Item->RefItem = Helper;
  if (Init && List) {
    auto* A = new TfsAssignmentStmt(S, E->Prop("pos"), FUnitName);
    List->Add(A);
    auto* D = new TfsVariableDesignator(S);
    D->RefItem = Item;
    D->Kind = Item->Kind;
    D->TypeName = Item->TypeName;
    A->Target.reset(D);
    A->Source = CompileExpr(Child(Init, 0), S);
    CheckAssignable(Item, A->Source.get());
    A->Prepare();
  }
  return Owned.release();
}

std::unique_ptr<TfsSetExpression> TfsILParser::CompileSet(TfsXMLItem* E, TfsScript* S)
{
  auto Set = std::make_unique<TfsSetExpression>();
  for (Integer I = 0; I < E->GetCount(); ++I) {
    AnsiString N = Lower(Child(E, I)->GetName());
    if (N == "expr")
      Set->Add(CompileExpr(Child(E, I), S).release());
    else if (N == "range")
      Set->Add(nullptr);
  }
  return Set;
}

std::unique_ptr<TfsExpression> TfsILParser::CompileExpr(TfsXMLItem* X, TfsScript* S)
{
  auto Ex = std::make_unique<TfsExpression>(S);
  std::function<void(TfsXMLItem*)> AddChildren = [&](TfsXMLItem* E) {
    for (Integer I = 0; I < E->GetCount(); ++I) {
      TfsXMLItem* C = Child(E, I);
      SetErrPos(C);
      Ex->CurrentPos = C->Prop("pos");
      AnsiString N = Lower(C->GetName());
      if (N == "op")
        Ex->AddOperator(Lower(C->Prop("text")));
      else if (N == "number" || N == "string")
        Ex->AddConst(fs_itypes::ParseConstant(C->Prop("text")));
      else if (N == "dsgn")
        Ex->AddDesignator(CompileDesignator(C, S));
      else if (N == "new" && C->GetCount() > 0)
        Ex->AddDesignator(CompileDesignator(Child(C, 0), S, 1));
      else if (N == "set")
        Ex->AddSet(CompileSet(C, S));
      else if (N == "expr")
        AddChildren(C);
    }
  };
  SetErrPos(X);
  AddChildren(X);
  // The source text, for macro functions.
  AnsiString P0 = X->Prop("pos"), P1 = X->Prop("pos1");
  TfsParser* L = GetLexer();
  if (L && !P0.empty() && !P1.empty()) {
    Integer A = PositionOf(L, P0), B = PositionOf(L, P1);
    AnsiString T = L->GetText();
    if (A >= 1 && B >= A && static_cast<std::size_t>(B) <= T.size() + 1)
      Ex->Source = SysUtils::Trim(T.substr(static_cast<std::size_t>(A - 1), static_cast<std::size_t>(B - A)));
  }
  Ex->Name = Ex->Source;
  AnsiString Err = Ex->Complete();
  if (!Err.empty()) {
    FBuildErrorPos = Err;
    throw Exception(SIncompatibleTypes);
  }
  return Ex;
}

std::unique_ptr<TfsDesignator> TfsILParser::CompileDesignator(TfsXMLItem* D, TfsScript* S, int Form)
{
  auto Dsg = std::make_unique<TfsDesignator>(S);
  SetErrPos(D);
  Dsg->ItemPos = D->Prop("pos");
  TfsDesignatorItem* Last = nullptr;
  AnsiString LastType;  // the class a constructor step makes
  auto AddStep = [&](TfsCustomVariable* Item, const AnsiString& Pos) {
    auto* Step = new TfsDesignatorItem;
    Step->StepPos = Pos;
    Step->StepItem = Item;
    Dsg->Add(Step);
    Last = Step;
    return Step;
  };
  auto ClassMember = [&](TfsClassVariable* C, const AnsiString& Name) {
    TfsCustomVariable* M = C->FindMember(Name);
    if (!M) throw Exception(SIdUndeclared + Quoted(Name));
    return M;
  };
  for (Integer I = 0; I < D->GetCount(); ++I) {
    TfsXMLItem* C = Child(D, I);
    SetErrPos(C);
    AnsiString N = Lower(C->GetName());
    if (N == "node") {
      AnsiString Text = C->Prop("text");
      AnsiString Pos = C->Prop("pos");
      TfsCustomVariable *WithVar, *Member;
      if (!Last && Form != 1 && ResolveWithMember(S, Text, WithVar, Member)) {
        if (!Member) return Defer(D, S, Form);
        AddStep(WithVar, Pos);
        AddStep(Member, Pos);
        continue;
      }
      if (!Last) {
        TfsDesignatorItem* Step = AddStep(ResolveVariable(S, Text), Pos);
        if (Form == 1) {
          auto* Cls = dynamic_cast<TfsClassVariable*>(Step->StepItem);
          if (!Cls) throw Exception(SClassRequired);
          AddStep(ClassMember(Cls, "Create"), Pos);
          LastType = Cls->Name;
        }
        continue;
      }
      TfsCustomVariable* R = Last->StepItem;
      TfsItemKind K = R->Kind;
      AnsiString RType = R->TypeName;
      if (K == ikConstructor) {
        K = ikClass;
        RType = LastType;
      }
      // An indexed property or a late-bound member takes the indexes in brackets as its arguments.
      if (Text == "[" && Last->GetCount() == 0 &&
          (dynamic_cast<TfsLateHelper*>(R) || dynamic_cast<TfsOLEHelper*>(R) ||
           ((R->ItemClass & icHelper) && dynamic_cast<TfsMethodHelper*>(R) &&
            static_cast<TfsMethodHelper*>(R)->IsIndexProp)))
        continue;
      if (K == ikVariant) {
        if (Text == "[")
          AddStep(S->FindItem("__ArrayHelper"), Pos);
        else if (dynamic_cast<TfsOLEHelper*>(R) || fs_idisp::IsDispatch(R->Value)) {
          // An automation object already: the rest of the path is called by name.
          auto* H = new TfsOLEHelper(Text);
          S->RegisterItem("", H);
          AddStep(H, Pos);
        } else if (Dsg->GetCount() == 1 && (R->ItemClass & (icVariable | icParam)) && !FDeferring &&
                   R->Value.IsNull()) {
          // A member of a Variant variable: bound to the object it holds at the first use.
          return Defer(D, S, Form);
        } else if (Dsg->GetCount() == 1 && (R->ItemClass & (icVariable | icParam)) && FDeferring) {
          TfsClassVariable* Cls = ClassOfValue(S, R->GetValue(), Text);
          AddStep(ClassMember(Cls, Text), Pos);
          if (Last->StepItem->Kind == ikConstructor) LastType = Cls->Name;
        } else {
          // Known only when the program runs: an automation object or a host object.
          auto* H = new TfsLateHelper(Text);
          S->RegisterItem("", H);
          AddStep(H, Pos);
        }
      } else if (K == ikString || K == ikChar) {
        if (Text != "[") throw Exception(SStringError);
        AddStep(S->FindItem("__StringHelper"), Pos);
      } else if (K == ikArray) {
        if (Text != "[") throw Exception(SIndexRequired);
        AddStep(R->RefItem ? R->RefItem : S->FindItem("__ArrayHelper"), Pos);
      } else if (K == ikClass) {
        TfsClassVariable* Cls = S->FindClassItem(RType);
        if (!Cls) throw Exception(SUnknownType + Quoted(RType));
        if (Text == "[") {
          if (!Cls->DefaultProperty) throw Exception("Class " + Cls->Name + " does not have a default property");
          AddStep(Cls->DefaultProperty, Pos)->IsIndexed = true;
        } else {
          AddStep(ClassMember(Cls, Text), Pos);
          if (Last->StepItem->Kind == ikConstructor) LastType = Cls->Name;
        }
      } else {
        throw Exception(SArrayRequired);
      }
    } else if (N == "expr") {
      if (!Last) throw Exception(SStatementExpected);
      Last->Add(CompileExpr(C, S).release());
      TfsCustomVariable* H = Last->StepItem;
      if (dynamic_cast<TfsLateHelper*>(H) || dynamic_cast<TfsOLEHelper*>(H))
        while (H->GetCount() < Last->GetCount()) H->Add(new TfsParamItem("", ikVariant, "", false, false));
    } else if (N == "addr") {
      if (D->GetCount() != 2) throw Exception(SVarRequired);
      auto* V = new TfsStringVariable("", ikString, "");
      V->StrValue = Child(D, 1)->Prop("text");
      S->RegisterItem("", V);
      AddStep(V, "");
      break;
    }
  }
  if (Form == 2 && Last) {
    TfsCustomVariable* R = Last->StepItem;
    if (R->Kind != ikClass && R->Kind != ikVariant && R->Kind != ikConstructor) throw Exception(SClassRequired);
    TfsClassVariable* Obj = S->FindClassItem("TObject");
    if (!Obj) throw Exception(SClassRequired);
    AddStep(ClassMember(Obj, "Free"), Last->StepPos);
  }
  if (!Last) throw Exception(SStatementExpected);
  Dsg->Finalize();
  std::unique_ptr<TfsDesignator> Result;
  switch (Dsg->ShortcutKind) {
    case 1: Result = std::make_unique<TfsVariableDesignator>(S); break;
    case 2: Result = std::make_unique<TfsStringDesignator>(S); break;
    case 3: Result = std::make_unique<TfsArrayDesignator>(S); break;
    default: Result = std::move(Dsg);
  }
  if (Dsg) Result->TakeOver(Dsg.get());
  for (Integer I = 0; I < Result->GetCount(); ++I) {
    TfsDesignatorItem* Step = Result->StepAt(I);
    TfsCustomVariable* Item = Step->StepItem;
    if (dynamic_cast<TfsDesignator*>(Item)) continue;
    FBuildErrorPos = Step->StepPos.empty() ? FBuildErrorPos : Step->StepPos;
    if (Step->GetCount() < Item->RequiredParamCount()) throw Exception(SNotEnoughParams);
    if (Step->GetCount() > Item->GetCount()) throw Exception(STooManyParams);
    Step->GivenArgs = Step->GetCount();
    for (Integer J = Step->GetCount(); J < Item->GetCount(); ++J) {
      auto* Def = new TfsExpression(S);
      Def->AddConst(Item->ParamAt(J)->DefValue);
      Def->Complete();
      Step->Add(Def);
    }
    for (Integer J = 0; J < Step->GetCount(); ++J) {
      auto* A = Step->ArgAt(J);
      if (!A->ItemPos.empty()) FBuildErrorPos = A->ItemPos;
      CheckAssignable(Item->ParamAt(J), A);
    }
  }
  return Result;
}

std::unique_ptr<TfsDesignator> TfsILParser::Defer(TfsXMLItem* E, TfsScript* S, int Form)
{
  auto D = std::make_unique<TfsDesignator>(S);
  auto B = std::make_unique<TfsDeferredBuild>();
  B->Node = std::make_unique<TfsXMLItem>();
  B->Node->CopyFrom(E);
  B->Language = FLangName;
  if (TfsParser* L = GetLexer()) {
    AnsiString T = L->GetText();
    if (!FSharedText || *FSharedText != T) FSharedText = std::make_shared<const AnsiString>(std::move(T));
    B->Source = FSharedText;
  }
  B->UnitName = FUnitName;
  B->WithList = FWithList;
  B->Form = Form;
  D->DeferredIL = std::move(B);
  D->Kind = ikVariant;
  D->ItemPos = E->Prop("pos");
  return D;
}

TfsClassVariable* TfsILParser::ClassOfValue(TfsScript* S, const Variant& V, const AnsiString& Member)
{
  TfsClassVariable* C = fs_ilate::FindClassOf(S, fs_ihandles::LiveObjectOf(V));
  if (!C) throw Exception(SIdUndeclared + Quoted(Member));
  return C;
}

std::unique_ptr<TfsDesignator> TfsILParser::BuildDeferred(const TfsDeferredBuild& Deferred)
{
  if (!Deferred.Language.empty()) LoadLanguage(Deferred.Language);
  if (Deferred.Source) FLexer->SetText(*Deferred.Source);
  FUnitName = Deferred.UnitName;
  FWithList = Deferred.WithList;
  FDeferring = true;
  return CompileDesignator(Deferred.Node.get(), FProgram, Deferred.Form);
}

void TfsILParser::CompileStmt(TfsXMLItem* E, TfsScript* S, TfsStatement* List)
{
  AnsiString N = Lower(E->GetName());
  AnsiString Pos = E->Prop("pos");
  SetErrPos(E);
  auto AddLine = [&] { S->AddCodeLine(FUnitName, Pos); };
  if (N == "procedure" || N == "function") {
    Integer NI = N == "procedure" ? 0 : E->Find("name");
    auto* P = dynamic_cast<TfsProcVariable*>(ResolveVariable(S, Child(E, NI)->Prop("text")));
    if (!P) throw Exception(SStatementExpected);
    CompileItems(E, P->GetLocalScript());
  } else if (N == "var") {
    for (Integer I = 0; I < E->GetCount(); ++I) {
      TfsXMLItem* C = Child(E, I);
      if (Lower(C->GetName()) != "ident") continue;
      SetErrPos(C);
      AnsiString Name = C->Prop("text");
      CheckNewName(S, Name);
      S->RegisterItem(Name, MakeVariable(E, S, false, false, List, Name));
    }
  } else if (N == "const") {
    SetErrPos(Child(E, 0));
    AnsiString Name = Child(E, 0)->Prop("text");
    CheckNewName(S, Name);
    std::unique_ptr<TfsExpression> Ex(CompileExpr(Child(E, 1), S));
    Variant Value = ValueNow(Ex.get());
    auto* V = new TfsVariable(Name, Ex->Kind, Ex->TypeName);
    V->Value = Value;
    V->IsReadOnly = true;
    S->RegisterItem(Name, V);
  } else if (N == "uses") {
    AnsiString OldUnit = FUnitName;
    FUnitName = E->Prop("unit");
    CompileInto(E, S, List);
    FUnitName = OldUnit;
  } else if (N == "program") {
    CompileItems(E, S);
  } else if (N == "compoundstmt") {
    CompileInto(E, S, List);
  } else if (N == "assignstmt") {
    AddLine();
    std::unique_ptr<TfsDesignator> Target(CompileDesignator(Child(E, 0), S));
    char Op = ' ';
    TfsXMLItem* XE = Child(E, 1);
    if (Lower(XE->GetName()) == "modificator") {
      Op = XE->Prop("text").empty() ? ' ' : XE->Prop("text")[0];
      XE = Child(E, 2);
    }
    std::unique_ptr<TfsExpression> Source(CompileExpr(XE, S));
    SetErrPos(E);
    if (Target->IsReadOnly) throw Exception(SLeftCantAssigned);
    CheckAssignable(Target.get(), Source.get());
    if (Op == ' ') Op = Source->FoldAssignment(Target.get());
    TfsAssignmentStmt* A;
    switch (Op) {
      case '+': A = new TfsAssignPlusStmt(S, Pos, FUnitName); break;
      case '-': A = new TfsAssignMinusStmt(S, Pos, FUnitName); break;
      case '*': A = new TfsAssignMulStmt(S, Pos, FUnitName); break;
      case '/': A = new TfsAssignDivStmt(S, Pos, FUnitName); break;
      default: A = new TfsAssignmentStmt(S, Pos, FUnitName);
    }
    List->Add(A);
    A->Target = std::move(Target);
    A->Source = std::move(Source);
    A->Prepare();
  } else if (N == "callstmt") {
    AddLine();
    auto* C = new TfsCallStmt(S, Pos, FUnitName);
    List->Add(C);
    C->Target = CompileDesignator(Child(E, 0), S);
    if (E->GetCount() > 1) {
      C->IncDec = Child(E, 1)->Prop("text");
      if (C->Target->IsReadOnly) throw Exception(SLeftCantAssigned);
    }
  } else if (N == "ifstmt") {
    AddLine();
    auto* If = new TfsIfStmt(S, Pos, FUnitName);
    List->Add(If);
    If->Test = CompileExpr(Child(E, 0), S);
    for (Integer I = 1; I < E->GetCount(); ++I) {
      AnsiString CN = Lower(Child(E, I)->GetName());
      if (CN == "thenstmt")
        CompileInto(Child(E, I), S, If);
      else if (CN == "elsestmt")
        CompileInto(Child(E, I), S, If->ElsePart.get());
    }
  } else if (N == "casestmt") {
    AddLine();
    auto* Cs = new TfsCaseStmt(S, Pos, FUnitName);
    List->Add(Cs);
    Cs->Selector = CompileExpr(Child(E, 0), S);
    for (Integer I = 1; I < E->GetCount(); ++I) {
      TfsXMLItem* C = Child(E, I);
      if (Lower(C->GetName()) == "caseselector") {
        if (C->GetCount() != 2) continue;
        auto* Sel = new TfsCaseSelector(S, C->Prop("pos"), FUnitName);
        Cs->Add(Sel);
        Sel->Labels = CompileSet(Child(C, 0), S);
        CompileStmt(Child(C, 1), S, Sel);
      } else if (I == E->GetCount() - 1) {
        CompileStmt(C, S, Cs->ElsePart.get());
      }
    }
  } else if (N == "forstmt" || N == "vbforstmt") {
    AddLine();
    SetErrPos(Child(E, 0));
    TfsCustomVariable* V = ResolveVariable(S, Child(E, 0)->Prop("text"));
    if (!dynamic_cast<TfsVariable*>(V) || !(V->Kind == ikInteger || V->Kind == ikFloat || V->Kind == ikVariant))
      throw Exception(SForError);
    if (N == "forstmt") {
      auto* F = new TfsForStmt(S, Pos, FUnitName);
      List->Add(F);
      F->LoopVar = V;
      F->FirstValue = CompileExpr(Child(E, 1), S);
      CheckAssignable(V, F->FirstValue.get());
      Integer K = 2;
      if (Lower(Child(E, 2)->GetName()) == "downto") {
        F->Downward = true;
        K = 3;
      }
      F->LastValue = CompileExpr(Child(E, K), S);
      CheckAssignable(V, F->LastValue.get());
      if (K + 1 < E->GetCount()) CompileStmt(Child(E, K + 1), S, F);
    } else {
      auto* F = new TfsVbForStmt(S, Pos, FUnitName);
      List->Add(F);
      F->LoopVar = V;
      F->FirstValue = CompileExpr(Child(E, 1), S);
      F->LastValue = CompileExpr(Child(E, 2), S);
      Integer K = 3;
      if (K < E->GetCount() && Lower(Child(E, K)->GetName()) == "expr") {
        F->StepValue = CompileExpr(Child(E, K), S);
        CheckAssignable(V, F->StepValue.get());
        ++K;
      }
      if (K < E->GetCount()) CompileStmt(Child(E, K), S, F);
    }
  } else if (N == "cppforstmt") {
    AddLine();
    auto* F = new TfsCppForStmt(S, Pos, FUnitName);
    List->Add(F);
    CompileStmt(Child(E, 0), S, F->InitPart.get());
    F->Test = CompileExpr(Child(E, 1), S);
    CompileStmt(Child(E, 2), S, F->StepPart.get());
    if (E->GetCount() > 3) CompileStmt(Child(E, 3), S, F);
  } else if (N == "whilestmt") {
    AddLine();
    auto* W = new TfsWhileStmt(S, Pos, FUnitName);
    List->Add(W);
    W->Test = CompileExpr(Child(E, 0), S);
    if (E->GetCount() > 1) CompileStmt(Child(E, 1), S, W);
  } else if (N == "repeatstmt") {
    AddLine();
    auto* R = new TfsRepeatStmt(S, Pos, FUnitName);
    List->Add(R);
    Integer Last = E->GetCount() - 1;
    if (Last >= 0 && Lower(Child(E, Last)->GetName()) == "inverse") {
      R->ExitOnFalse = true;
      --Last;
    }
    for (Integer I = 0; I < Last; ++I) CompileStmt(Child(E, I), S, R);
    R->Test = CompileExpr(Child(E, Last), S);
  } else if (N == "trystmt") {
    AddLine();
    auto* T = new TfsTryStmt(S, Pos, FUnitName);
    List->Add(T);
    for (Integer I = 0; I < E->GetCount(); ++I) {
      TfsXMLItem* C = Child(E, I);
      AnsiString CN = Lower(C->GetName());
      if (CN == "exceptstmt") {
        T->ExceptMode = true;
        CompileInto(C, S, T->HandlerPart.get());
      } else if (CN == "finallystmt") {
        CompileInto(C, S, T->HandlerPart.get());
      } else {
        CompileStmt(C, S, T);
      }
    }
  } else if (N == "break") {
    AddLine();
    List->Add(new TfsBreakStmt(S, Pos, FUnitName));
  } else if (N == "continue") {
    AddLine();
    List->Add(new TfsContinueStmt(S, Pos, FUnitName));
  } else if (N == "exit") {
    AddLine();
    List->Add(new TfsExitStmt(S, Pos, FUnitName));
  } else if (N == "return") {
    AddLine();
    if (E->GetCount() == 1) {
      TfsXMLItem* X = Child(E, 0);
      auto Copy = std::make_unique<TfsXMLItem>();
      Copy->SetName("assignstmt");
      Copy->SetText(E->GetText());
      TfsXMLItem* Dn = Copy->Add();
      Dn->SetName("dsgn");
      Dn->SetText(X->GetText());
      TfsXMLItem* Node = Dn->Add();
      Node->SetName("node");
      Node->SetText("text=\"Result\" " + X->GetText());
      Copy->Add()->CopyFrom(X);
      CompileStmt(Copy.get(), S, List);
    }
    List->Add(new TfsExitStmt(S, Pos, FUnitName));
  } else if (N == "delete") {
    AddLine();
    auto* C = new TfsCallStmt(S, Pos, FUnitName);
    List->Add(C);
    C->Target = CompileDesignator(Child(E, 0), S, 2);
  } else if (N == "with") {
    AddLine();
    std::size_t Outer = FWithList.size();
    Integer I = 0;
    for (; I < E->GetCount() && Lower(Child(E, I)->GetName()) == "dsgn"; ++I) {
      // Pascal's "with a, b do s": every designator but the body's is a with object.
      if (I == E->GetCount() - 1) break;
      std::unique_ptr<TfsDesignator> Target = CompileDesignator(Child(E, I), S);
      if (Target->Kind != ikClass && Target->Kind != ikVariant) throw Exception(SClassRequired);
      AnsiString Hidden;
      for (Integer K = 0;; ++K) {
        Hidden = std::to_string(K);
        bool Taken = S->FindLocalItem(Hidden) != nullptr;
        for (TfsCustomVariable* W : FWithList) Taken = Taken || W->Name == Hidden;
        if (!Taken) break;
      }
      auto* V = new TfsVariable(Hidden, Target->Kind, Target->TypeName);
      S->RegisterItem(Hidden, V);
      auto* W = new TfsWithStmt(S, Pos, FUnitName);
      List->Add(W);
      W->WithVar = V;
      W->Target = std::move(Target);
      FWithList.push_back(V);
    }
    TScopeExit restore([this, Outer] { FWithList.resize(Outer); });
    for (; I < E->GetCount(); ++I) CompileStmt(Child(E, I), S, List);
  }
}
