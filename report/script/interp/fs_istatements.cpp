#include "report/script/interp/fs_istatements.h"

#include <typeinfo>

#include "platform/rtl/Exceptions.h"
#include "report/script/interp/fs_idesignator.h"
#include "report/script/interp/fs_iexpression.h"
#include "report/script/interp/fs_iscript.h"
#include "platform/rtl/Guards.h"

namespace {
bool IsTrue(TfsExpression* E) { return E->IsTrue(); }
}  // namespace

TfsStatement::TfsStatement(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName)
    : OwnerScript(Script), SourcePos(ASourcePos), UnitName(AUnitName)
{}

void TfsStatement::RunList()
{
  TfsScript* S = OwnerScript;
  auto It = FEntries.begin(), End = FEntries.end();
  while (It != End) {
    if (S->StopRequested) return;
    static_cast<TfsStatement*>(*It)->Run();
    // After the last statement the list ends anyway.
    if (++It != End && S->Leaving()) return;
  }
}

void TfsStatement::Run() { RunList(); }

TfsAssignmentStmt::~TfsAssignmentStmt() = default;

void TfsAssignmentStmt::Prepare()
{
  FastTarget = Target.get();
  if (dynamic_cast<TfsVariableDesignator*>(Target.get())) FastTarget = Target->RefItem;
  // A parameter written alone: the walk of its one step would set the item itself.
  else if (Target->GetCount() == 1 && Target->StepAt(0)->GetCount() == 0 &&
           typeid(*Target->StepAt(0)->StepItem) == typeid(TfsParamItem))
    FastTarget = Target->StepAt(0)->StepItem;
  FastSource = Source.get();
  if (TfsCustomVariable* Op = Source->SingleOperand()) FastSource = Op;
  PlainTarget = (typeid(*FastTarget) == typeid(TfsVariable) || typeid(*FastTarget) == typeid(TfsParamItem));
  PlainSource = FastSource != Source.get() &&
                (typeid(*FastSource) == typeid(TfsVariable) || typeid(*FastSource) == typeid(TfsParamItem));
}

void TfsAssignmentStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  if (PlainTarget && !FastTarget->IsReadOnly) {
    if (FastSource == Source.get())
      Source->StoreInto(FastTarget->Value);
    else if (PlainSource)
      FastTarget->Value = FastSource->Value;
    else
      fs_iitems::MoveInto(FastTarget->Value, FastSource->GetValue());
  } else {
    FastTarget->SetValue(FastSource->GetValue());
  }
}

void TfsAssignPlusStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  Variant V = FastTarget->GetValue();
  V += FastSource->GetValue();
  FastTarget->SetValue(V);
}

void TfsAssignMinusStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  Variant V = FastTarget->GetValue();
  V -= FastSource->GetValue();
  FastTarget->SetValue(V);
}

void TfsAssignMulStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  Variant V = FastTarget->GetValue();
  V *= FastSource->GetValue();
  FastTarget->SetValue(V);
}

void TfsAssignDivStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  Variant V = FastTarget->GetValue();
  V /= FastSource->GetValue();
  FastTarget->SetValue(V);
}

TfsCallStmt::~TfsCallStmt() = default;

TfsWithStmt::~TfsWithStmt() = default;

void TfsWithStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  WithVar->SetValue(Target->GetValue());
}

void TfsCallStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  if (IncDec.empty()) {
    Target->NeedResult = false;
    Target->GetValue();
  } else if (IncDec == "+") {
    Target->SetValue(Target->GetValue() + Variant(1));
  } else if (IncDec == "-") {
    Target->SetValue(Target->GetValue() - Variant(1));
  }
}

TfsIfStmt::TfsIfStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName)
    : TfsStatement(Script, ASourcePos, AUnitName), ElsePart(new TfsStatement(Script, ASourcePos, AUnitName))
{}

TfsIfStmt::~TfsIfStmt() = default;

void TfsIfStmt::Run()
{
  RunLine();
  if (OwnerScript->StopRequested) return;
  // The else part is a plain list.
  if (IsTrue(Test.get()))
    RunList();
  else
    ElsePart->RunList();
}

TfsCaseSelector::~TfsCaseSelector() = default;

bool TfsCaseSelector::Matches(const Variant& AValue) { return Labels->Contains(AValue); }

TfsCaseStmt::TfsCaseStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName)
    : TfsStatement(Script, ASourcePos, AUnitName), ElsePart(new TfsStatement(Script, ASourcePos, AUnitName))
{}

TfsCaseStmt::~TfsCaseStmt() = default;

void TfsCaseStmt::Run()
{
  Variant V = Selector->GetValue();
  RunLine();
  if (OwnerScript->StopRequested) return;
  for (TObject* E : FEntries) {
    auto* Sel = static_cast<TfsCaseSelector*>(E);
    if (Sel->Matches(V)) {
      Sel->Run();
      return;
    }
  }
  ElsePart->Run();
}

TfsRepeatStmt::~TfsRepeatStmt() = default;

void TfsRepeatStmt::Run()
{
  RunLine();
  TfsScript* S = OwnerScript;
  if (S->StopRequested) return;
  for (;;) {
    fs_iitems::CountStep();
    RunList();
    if (S->BreakFlag || S->ExitFlag) break;
    S->ContinueFlag = false;
    bool T = IsTrue(Test.get());
    if (T != ExitOnFalse) break;
  }
  S->BreakFlag = false;
}

TfsWhileStmt::~TfsWhileStmt() = default;

void TfsWhileStmt::Run()
{
  RunLine();
  TfsScript* S = OwnerScript;
  if (S->StopRequested) return;
  while (IsTrue(Test.get())) {
    fs_iitems::CountStep();
    RunList();
    if (S->BreakFlag || S->ExitFlag) break;
    S->ContinueFlag = false;
  }
  S->BreakFlag = false;
}

TfsForStmt::~TfsForStmt() = default;

void TfsForStmt::Run()
{
  Integer First = FirstValue->GetValue().AsInteger();
  Integer Last = LastValue->GetValue().AsInteger();
  RunLine();
  TfsScript* S = OwnerScript;
  if (S->StopRequested) return;
  Variant& Counter = LoopVar->ValueRef();
  if (!Downward) {
    for (Int64 V = First; V <= Last; ++V) {
      fs_iitems::CountStep();
      Counter = Variant(static_cast<int>(V));
      RunList();
      if (S->BreakFlag || S->ExitFlag) break;
      S->ContinueFlag = false;
    }
  } else {
    for (Int64 V = First; V >= Last; --V) {
      fs_iitems::CountStep();
      Counter = Variant(static_cast<int>(V));
      RunList();
      if (S->BreakFlag || S->ExitFlag) break;
      S->ContinueFlag = false;
    }
  }
  S->BreakFlag = false;
}

TfsVbForStmt::~TfsVbForStmt() = default;

void TfsVbForStmt::Run()
{
  Variant Counter = FirstValue->GetValue();
  Variant Last = LastValue->GetValue();
  Variant Step = StepValue ? StepValue->GetValue() : Variant(1);
  bool Negative = Step < Variant(0);
  RunLine();
  TfsScript* S = OwnerScript;
  if (S->StopRequested) return;
  while (Negative ? !(Counter < Last) : !(Counter > Last)) {
    fs_iitems::CountStep();
    LoopVar->ValueRef() = Counter;
    RunList();
    if (S->BreakFlag || S->ExitFlag) break;
    S->ContinueFlag = false;
    Counter += Step;
  }
  S->BreakFlag = false;
}

TfsCppForStmt::TfsCppForStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName)
    : TfsStatement(Script, ASourcePos, AUnitName), InitPart(new TfsStatement(Script, ASourcePos, AUnitName)),
      StepPart(new TfsStatement(Script, ASourcePos, AUnitName))
{}

TfsCppForStmt::~TfsCppForStmt() = default;

void TfsCppForStmt::Run()
{
  RunLine();
  TfsScript* S = OwnerScript;
  if (S->StopRequested) return;
  InitPart->Run();
  if (S->StopRequested) return;
  while (IsTrue(Test.get())) {
    fs_iitems::CountStep();
    RunList();
    if (S->BreakFlag || S->ExitFlag) break;
    S->ContinueFlag = false;
    StepPart->Run();
  }
  S->BreakFlag = false;
}

TfsTryStmt::TfsTryStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName)
    : TfsStatement(Script, ASourcePos, AUnitName), HandlerPart(new TfsStatement(Script, ASourcePos, AUnitName))
{}

void TfsTryStmt::Run()
{
  RunLine();
  TfsScript* S = OwnerScript;
  if (S->StopRequested) return;
  if (ExceptMode) {
    bool Failed = false;
    try {
      RunList();
    } catch (const Exception&) {
      Failed = true;
    }
    if (Failed) HandlerPart->Run();
    return;
  }
  auto RunFinally = [&] {
    bool SavedExit = S->ExitFlag;
    S->ExitFlag = false;
    HandlerPart->Run();
    S->ExitFlag = SavedExit;
  };
  TScopeExit undo([&] { RunFinally(); });
  RunList();
}

void TfsBreakStmt::Run() { OwnerScript->BreakFlag = true; }
void TfsContinueStmt::Run() { OwnerScript->ContinueFlag = true; }
void TfsExitStmt::Run() { OwnerScript->ExitFlag = true; }
