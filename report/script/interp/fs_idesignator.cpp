#include "report/script/interp/fs_idesignator.h"

#include <memory>
#include <typeinfo>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "report/script/interp/fs_iexpression.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/interp/fs_istatements.h"
#include "report/script/parser/fs_iconst.h"
#include "report/script/parser/fs_iilparser.h"

TfsDesignator::TfsDesignator(TfsScript* Script) : TfsCustomVariable("", ikInteger, ""), BuildScript(Script)
{
  ItemClass |= icDesignator;
}

TfsDesignator::~TfsDesignator() = default;

void TfsDesignator::Finalize()
{
  Integer N = GetCount();
  if (N == 0) return;
  TfsCustomVariable* Last = StepAt(N - 1)->StepItem;
  Kind = Last->Kind;
  TypeName = Last->TypeName;
  if (Kind == ikConstructor && N >= 2) {
    Kind = ikClass;
    TypeName = StepAt(N - 2)->StepItem->TypeName;
  }
  IsReadOnly = Last->IsReadOnly;
  TfsCustomVariable* First = StepAt(0)->StepItem;
  bool FirstIsVar = dynamic_cast<TfsVariable*>(First) != nullptr;
  if (N == 1 && FirstIsVar) {
    ShortcutKind = 1;
    RefItem = First;
  } else if (N == 2 && dynamic_cast<TfsStringVariable*>(First) && StepAt(1)->GetCount() == 1) {
    ShortcutKind = 2;
    RefItem = First;
    IndexItem = StepAt(1)->ArgAt(0);
  } else if (N == 2 && FirstIsVar && First->Kind == ikArray && First->RefItem) {
    ShortcutKind = 3;
    RefItem = First;
    IndexItem = First->RefItem;
    IndexList = StepAt(1);
  } else {
    ShortcutKind = 0;
  }
}

void TfsDesignator::TakeOver(TfsDesignator* Other)
{
  FEntries.swap(Other->FEntries);
  ShortcutKind = Other->ShortcutKind;
  IndexItem = Other->IndexItem;
  IndexList = Other->IndexList;
  Kind = Other->Kind;
  TypeName = Other->TypeName;
  IsReadOnly = Other->IsReadOnly;
  RefItem = Other->RefItem;
  ItemPos = Other->ItemPos;
}

void TfsDesignator::BuildDeferred()
{
  TfsILParser Parser(BuildScript);
  std::unique_ptr<TfsDesignator> Built = Parser.BuildDeferred(*DeferredIL);
  bool Need = NeedResult;
  TakeOver(Built.get());
  NeedResult = Need;
  FBuiltLate = GetCount() > 0;
  DeferredIL.reset();
}

Variant TfsDesignator::GetValue()
{
  if (DeferredIL) BuildDeferred();
  if (GetCount() == 1) {
    TfsDesignatorItem* Step = StepAt(0);
    TfsCustomVariable* Item = Step->StepItem;
    if ((Item->ItemClass & icProc) && !Item->IsMacro) return CallProc(static_cast<TfsProcVariable*>(Item), Step);
  }
  return Walk(false, Variant());
}

namespace {
// Script calls nest native frames; a runaway recursion ends in a script error, not a crash.
constexpr int MaxCallDepth = 1000;
int CallDepth = 0;
}  // namespace

void TfsProcVariable::RunBody() { RunBodyInline(); }

[[gnu::always_inline]] inline void TfsProcVariable::RunBodyInline()
{
  if (CallDepth >= MaxCallDepth) throw EStackOverflow("Stack overflow");
  fs_iitems::CountStep();
  TfsScript* S = LocalScript.get();
  // The nearest executed script above reports this procedure as the one running.
  TfsScript* Marked = S->ParentScript;
  while (Marked && !Marked->ExecutedMark) Marked = Marked->ParentScript;
  struct TCleanUp {
    TfsProcVariable* P;
    TfsScript* S;
    TfsScript* Marked;
    TfsScript* OldRunning;
    bool OldExecuting;
    ~TCleanUp()
    {
      --CallDepth;
      S->BreakFlag = false;
      S->ContinueFlag = false;
      S->ExitFlag = false;
      S->StopRequested = false;
      S->IsRunning = false;
      if (Marked) Marked->RunningProcScript = OldRunning;
      P->Executing = OldExecuting;
    }
  } CleanUp{this, S, Marked, Marked ? Marked->RunningProcScript : nullptr, Executing};
  ++CallDepth;
  Executing = true;
  if (Marked) Marked->RunningProcScript = S;
  S->ExitFlag = false;
  S->StopRequested = false;
  S->IsRunning = true;
  S->GetStatements()->RunList();  // the body is a plain list
}

// A call of a script procedure that runs already (a recursive call): the locals of the running
// activation are kept while the call runs and put back when it returns or raises, so that each
// activation keeps its own values.
class TfsActivation {
public:
  // Proc may be null (no procedure: nothing is kept).
  explicit TfsActivation(TfsProcVariable* Proc)
  {
    if (Proc && Proc->Executing) Save(Proc);
  }
  ~TfsActivation()
  {
    if (FProc) Restore();
  }
  TfsActivation(const TfsActivation&) = delete;
  TfsActivation& operator=(const TfsActivation&) = delete;
  bool Saved() const { return FProc != nullptr; }
  // Puts the kept values back; later calls do nothing.
  void Restore();

private:
  void Save(TfsProcVariable* Proc);
  [[gnu::noinline]] void SaveStrings(Variant* Slot);
  [[gnu::noinline]] void RestoreStrings(Variant* Slot);
  [[gnu::noinline]] static void Grow(std::vector<Variant>& Stack, std::size_t Top);
  TfsProcVariable* FProc = nullptr;
  std::size_t FBase = 0;
  std::size_t FPlain = 0;  // how many of the procedure's plain locals and string variables were kept
  std::size_t FStrings = 0;
};

inline void TfsActivation::Save(TfsProcVariable* Proc)
{
  // The lists are taken again only when the procedure's scope has gained items.
  if (Proc->FLocalsOf != Proc->LocalScript->ItemCount()) Proc->GetLocals();
  FProc = Proc;
  FPlain = Proc->FPlainSlots.size();
  FStrings = Proc->FStringLocals.size();
  FBase = Proc->SaveTop;
  std::size_t Top = FBase + FPlain + FStrings;
  if (Top > Proc->SaveStack.size()) Grow(Proc->SaveStack, Top);
  Proc->SaveTop = Top;
  Variant* Slot = Proc->SaveStack.data() + FBase;
  Variant* const* From = Proc->FPlainSlots.data();
  for (std::size_t K = 0; K < FPlain; ++K) Slot[K] = *From[K];
  if (FStrings) SaveStrings(Slot + FPlain);
}

void TfsActivation::Grow(std::vector<Variant>& Stack, std::size_t Top)
{
  Stack.resize(std::max(Top, Stack.size() * 2));
}

void TfsActivation::SaveStrings(Variant* Slot)
{
  for (std::size_t K = 0; K < FStrings; ++K) Slot[K] = Variant(FProc->FStringLocals[K]->StrValue);
}

void TfsActivation::RestoreStrings(Variant* Slot)
{
  for (std::size_t K = 0; K < FStrings; ++K) {
    FProc->FStringLocals[K]->StrValue = Slot[K].AsString();
    Slot[K] = Variant();
  }
}

inline void TfsActivation::Restore()
{
  if (!FProc) return;
  Variant* Slot = FProc->SaveStack.data() + FBase;
  Variant* const* To = FProc->FPlainSlots.data();
  for (std::size_t K = 0; K < FPlain; ++K) *To[K] = std::move(Slot[K]);
  if (FStrings) RestoreStrings(Slot + FPlain);
  FProc->SaveTop = FBase;
  FProc = nullptr;
}

namespace {
// Var parameters hand their values back to the arguments. After a recursive call they are read
// before the caller's locals (the parameters among them) are put back, and written after, so
// that an argument that is one of those locals keeps what the call gave it.
[[gnu::noinline]] void WriteBack(TfsCustomVariable* Item, TfsDesignatorItem* Step, Integer Args,
                                 TfsActivation& Activation)
{
  if (!Activation.Saved()) {
    for (Integer J = 0; J < Args; ++J) {
      auto* P = static_cast<TfsParamItem*>(Item->EntryAt(J));
      if (P->IsVarParam) Step->ArgAt(J)->SetValue(P->GetValue());
    }
    return;
  }
  std::vector<std::pair<Integer, Variant>> Out;
  for (Integer J = 0; J < Args; ++J) {
    auto* P = static_cast<TfsParamItem*>(Item->EntryAt(J));
    if (P->IsVarParam) Out.emplace_back(J, P->GetValue());
  }
  Activation.Restore();
  for (auto& [J, V] : Out) Step->ArgAt(J)->SetValue(V);
}

inline bool HasVarParams(TfsCustomVariable* Item, Integer Args)
{
  for (Integer J = 0; J < Args; ++J)
    if (static_cast<TfsParamItem*>(Item->EntryAt(J))->IsVarParam) return true;
  return false;
}

[[noreturn, gnu::cold]] void TooManyParams() { throw Exception("Too many actual parameters"); }
}  // namespace

inline Integer TfsDesignator::PassArgs(TfsProcVariable* Proc, TfsDesignatorItem* Step)
{
  Integer Args = Step->GetCount();
  if (Args > Proc->GetCount()) TooManyParams();
  if (Args == 1) {
    auto* P = static_cast<TfsCustomVariable*>(Proc->EntryAt(0));
    TfsCustomVariable* A = Step->ArgAt(0);
    if (typeid(*P) != typeid(TfsParamItem))
      P->SetValue(A->GetValue());
    else if (typeid(*A) == typeid(TfsExpression))
      static_cast<TfsExpression*>(A)->StoreInto(P->Value);
    else
      fs_iitems::MoveInto(P->Value, A->GetValue());
  } else if (Args > 1) {
    // Every argument is computed before any parameter is set: f(x, f(y, z)).
    std::vector<Variant> Values;
    Values.reserve(static_cast<std::size_t>(Args));
    for (Integer J = 0; J < Args; ++J) Values.push_back(Step->ArgAt(J)->GetValue());
    for (Integer J = 0; J < Args; ++J)
      static_cast<TfsCustomVariable*>(Proc->EntryAt(J))->SetValue(Values[static_cast<std::size_t>(J)]);
  }
  return Args;
}

Variant TfsDesignator::CallProc(TfsProcVariable* Proc, TfsDesignatorItem* Step)
{
  TfsActivation Activation(Proc);
  Integer Args = PassArgs(Proc, Step);
  Proc->NeedResult = NeedResult;
  Variant Result = Proc->Run(Activation.Saved());
  if (HasVarParams(Proc, Args)) WriteBack(Proc, Step, Args, Activation);
  return Result;
}

bool TfsDesignator::CallSingleProcInt(Integer& Out, TfsTempValue& Tmp)
{
  TfsDesignatorItem* Step = StepAt(0);
  auto* Proc = static_cast<TfsProcVariable*>(Step->StepItem);
  if (FCallForm == cfUnknown) {
    FCallForm = cfGeneral;
    if (Step->GetCount() == 1 && Proc->GetCount() >= 1) {
      auto* P = static_cast<TfsCustomVariable*>(Proc->EntryAt(0));
      TfsCustomVariable* A = Step->ArgAt(0);
      if (typeid(*P) == typeid(TfsParamItem) && !static_cast<TfsParamItem*>(P)->IsVarParam &&
          typeid(*A) == typeid(TfsExpression)) {
        FCallForm = cfOneValue;
        FOneArg = static_cast<TfsExpression*>(A);
        FOneParam = &P->Value;
      }
    }
  }
  TfsActivation Activation(Proc);
  Integer Args;
  if (FCallForm == cfOneValue) {
    FOneArg->StoreInto(*FOneParam);
    Args = 0;  // no var parameter to write back
  } else {
    Args = PassArgs(Proc, Step);
  }
  Proc->NeedResult = NeedResult;
  Proc->RunBodyInline();
  bool IsInt = false;
  if (!Proc->IsFunction) {
    Tmp.emplace(Variant::Null());
  } else {
    Variant& R = Proc->RefItem->Value;
    if (R.VarType() == varInteger) {
      Out = R.AsInteger();
      IsInt = true;
    } else if (Activation.Saved()) {
      Tmp.emplace(std::move(R));  // put back by the restore
    } else {
      Tmp.emplace(R);
    }
  }
  if (HasVarParams(Proc, Args)) WriteBack(Proc, Step, Args, Activation);
  return IsInt;
}

void TfsDesignator::SetValue(const Variant& AValue)
{
  if (DeferredIL) BuildDeferred();
  if (FBuiltLate && IsReadOnly) {
    // The compiler could not refuse it: the member became known only now.
    auto* M = dynamic_cast<TfsMethodHelper*>(StepAt(GetCount() - 1)->StepItem);
    if (!M || !M->IsIndexProp) throw Exception(fs_iconst::SLeftCantAssigned);
  }
  Walk(true, AValue);
}

Variant TfsDesignator::Walk(bool Setting, const Variant& NewValue)
{
  TfsCustomVariable* Prev = nullptr;
  Variant Cur = Variant::Null();
  Integer N = GetCount();
  for (Integer S = 0; S < N; ++S) {
    TfsDesignatorItem* Step = StepAt(S);
    TfsCustomVariable* Item = Step->StepItem;
    Byte IC = Item->ItemClass;
    if (IC & icDesignator) {
      Prev = Item;
      Cur = Item->GetValue();
      continue;
    }
    TfsActivation Activation((IC & icProc) ? static_cast<TfsProcVariable*>(Item) : nullptr);
    Integer Args = Step->GetCount();
    if (Args > Item->GetCount()) throw Exception("Too many actual parameters");
    if (Args == 1) {
      Variant V = Item->IsMacro ? Step->MacroArg(0) : Step->ArgAt(0)->GetValue();
      auto* P = static_cast<TfsCustomVariable*>(Item->EntryAt(0));
      if (typeid(*P) == typeid(TfsParamItem))
        P->Value = std::move(V);
      else
        P->SetValue(V);
    } else if (Args > 1) {
      // Every argument is computed before any parameter is set: f(x, f(y, z)).
      std::vector<Variant> Values;
      Values.reserve(static_cast<std::size_t>(Args));
      for (Integer J = 0; J < Args; ++J)
        Values.push_back(Item->IsMacro ? Step->MacroArg(J) : Step->ArgAt(J)->GetValue());
      for (Integer J = 0; J < Args; ++J)
        static_cast<TfsCustomVariable*>(Item->EntryAt(J))->SetValue(Values[static_cast<std::size_t>(J)]);
    }
    if (IC & icHelper) {
      auto* H = static_cast<TfsCustomHelper*>(Item);
      H->ParentRef = Prev;
      H->ParentValue = Cur;
      H->ProgramScript = BuildScript;
    }
    Prev = Item;
    bool LastStep = S == N - 1;
    if (Setting && LastStep) {
      Item->SetValue(NewValue);
    } else {
      Item->NeedResult = !LastStep || NeedResult;
      Cur = Item->GetValue();
    }
    if (HasVarParams(Item, Args)) WriteBack(Item, Step, Args, Activation);
  }
  return Cur;
}

namespace {
std::size_t CheckedIndex(const AnsiString& S, Integer I)
{
  if (I < 1 || static_cast<std::size_t>(I) > S.size())
    throw ERangeError("String index out of range (" + std::to_string(I) + ")");
  return static_cast<std::size_t>(I - 1);
}
}  // namespace

Variant TfsStringDesignator::GetValue()
{
  auto* V = static_cast<TfsStringVariable*>(RefItem);
  return Variant(AnsiString(1, V->StrValue[CheckedIndex(V->StrValue, IndexItem->GetValue().AsInteger())]));
}

void TfsStringDesignator::SetValue(const Variant& AValue)
{
  auto* V = static_cast<TfsStringVariable*>(RefItem);
  std::size_t I = CheckedIndex(V->StrValue, IndexItem->GetValue().AsInteger());
  AnsiString C = Variants::VarToStr(AValue);
  if (C.empty()) throw EConvertError("A character is required");
  V->StrValue[I] = C[0];
}

void TfsArrayDesignator::PrepareHelper()
{
  auto* H = static_cast<TfsCustomHelper*>(IndexItem);
  H->ParentRef = RefItem;
  Integer N = IndexList->GetCount();
  if (N > H->GetCount()) throw Exception("Too many actual parameters");
  for (Integer I = 0; I < N; ++I) H->ParamAt(I)->Value = IndexList->ArgAt(I)->GetValue();
}

Variant TfsArrayDesignator::GetValue()
{
  PrepareHelper();
  return IndexItem->GetValue();
}

void TfsArrayDesignator::SetValue(const Variant& AValue)
{
  PrepareHelper();
  IndexItem->SetValue(AValue);
}
