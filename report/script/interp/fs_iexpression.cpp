#include "report/script/interp/fs_iexpression.h"

#include <cstdint>
#include <typeinfo>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/interp/fs_idesignator.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tools/fs_itypes.h"

using namespace fs_iexpression;

namespace {

Integer PriorityOf(Byte Op)
{
  static const Integer P[] = {7, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 6, 5, 1, 1, 4, 4};
  if (Op == opStrCat) return 3;
  return Op <= opIs ? P[Op] : 0;
}

Byte OpOf(const AnsiString& Text, bool& Known)
{
  static const char* Names[] = {" ", ">",   "<",   "<=",  ">=",  "<>",  "=", "+", "-",   "OR",      "XOR", "*",
                                "/", "DIV", "MOD", "AND", "SHL", "SHR", "(", ")", "NOT", "UNMINUS", "IN",  "IS"};
  AnsiString U = SysUtils::UpperCase(Text);
  Known = true;
  if (U == "STRCAT") return opStrCat;
  for (Byte I = 0; I <= opIs; ++I)
    if (U == Names[I]) return I;
  Known = false;
  return 0;
}

// The value of an integer Variant that fits 32 bits.
bool AsInt32(const Variant& V, Int64& Out)
{
  switch (V.VarType()) {
    case varInteger:
    case varSmallint:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: Out = V.AsInt64(); break;
    default: return false;
  }
  return Out >= INT32_MIN && Out <= INT32_MAX;
}

TfsItemKind KindOfValue(const Variant& V)
{
  switch (V.VarType()) {
    case varBoolean: return ikBoolean;
    case varSingle:
    case varDouble:
    case varCurrency: return ikFloat;
    case varString:
    case varOleStr: return ikString;
    default: return ikInteger;
  }
}

}  // namespace

TfsExpressionNode::~TfsExpressionNode() = default;

TfsOperandNode::TfsOperandNode(const Variant& AValue)
{
  IsPure = true;
  Value = AValue;
  // Literals arrive as 64-bit integers; the ones that fit are kept as plain integers.
  Int64 I;
  if (AValue.VarType() == varInt64 && AsInt32(AValue, I)) Value = Variant(static_cast<int>(I));
  HasInt = TakeInt(Value, IntConst);
  Kind = KindOfValue(AValue);
  Fast = fkConst;
}

TfsDesignatorNode::TfsDesignatorNode(std::unique_ptr<TfsDesignator> Owned)
    : TfsOperandNode(Variant::Null()), Designator(std::move(Owned))
{
  TfsDesignator* ADesignator = Designator.get();
  Kind = ADesignator->Kind;
  TypeName = ADesignator->TypeName;
  Source = dynamic_cast<TfsVariableDesignator*>(ADesignator) ? ADesignator->RefItem : ADesignator;
  // A parameter named alone is read straight from its item, as the walk of its one step would.
  if (Source == ADesignator && ADesignator->GetCount() == 1 && ADesignator->StepAt(0)->GetCount() == 0 &&
      typeid(*ADesignator->StepAt(0)->StepItem) == typeid(TfsParamItem))
    Source = ADesignator->StepAt(0)->StepItem;
  Stored = (Source->ItemClass & (icVariable | icParam)) && !(Source->ItemClass & icStringVariable) &&
           typeid(*Source) != typeid(TfsProcVariable);
  IsPure = Stored;
  HasInt = false;
  Fast = Stored ? fkStored : fkVirtual;
  if (Stored) Slot = &Source->Value;
  if (Source == ADesignator && !ADesignator->DeferredIL && ADesignator->GetCount() == 1) {
    TfsCustomVariable* Item = ADesignator->StepAt(0)->StepItem;
    if ((Item->ItemClass & icProc) && !Item->IsMacro) Fast = fkProcCall;
  }
}

const Variant& TfsDesignatorNode::ValueRef(TfsTempValue& Tmp)
{
  if (Stored) return Source->Value;
  return Tmp.emplace(Source->GetValue());
}

bool TfsDesignatorNode::IntValue(Integer& Out, TfsTempValue& Tmp)
{
  if (!Stored) return TakeInt(Tmp.emplace(Source->GetValue()), Out);
  const Variant& V = Source->Value;
  if (TakeInt(V, Out)) return true;
  Tmp.emplace(V);
  return false;
}

TfsDesignatorNode::~TfsDesignatorNode() = default;

Variant TfsDesignatorNode::GetValue() { return Source->GetValue(); }

TfsSetNode::TfsSetNode(std::unique_ptr<TfsSetExpression> ASet)
    : TfsOperandNode(Variant::Null()), SetExpr(std::move(ASet))
{
  Kind = ikVariant;
  IsPure = false;
  HasInt = false;
  Fast = fkVirtual;
}

TfsSetNode::~TfsSetNode() = default;

Variant TfsSetNode::GetValue() { return SetExpr->GetValue(); }

TfsOperatorNode::TfsOperatorNode(Byte AOp) : Op(AOp) {}

Integer TfsOperatorNode::Priority() const { return PriorityOf(Op); }

Integer fs_iexpression::IntDivide(Byte Op, Integer A, Integer B)
{
  if (B == 0) throw EDivByZero("Division by zero");
  if (Op == opDivInt) return B == -1 ? static_cast<Integer>(0u - static_cast<std::uint32_t>(A)) : A / B;
  return B == -1 ? 0 : A % B;  // opMod
}

namespace {
Variant IntResult(Int64 V)
{
  if (V >= INT32_MIN && V <= INT32_MAX) return Variant(static_cast<int>(V));
  return Variant(static_cast<long long>(V));
}
}  // namespace

[[gnu::always_inline]] inline bool TfsOperatorNode::IntOperands(Integer& A, Integer& B, TfsTempValue& TL,
                                                                TfsTempValue& TR)
{
  bool LI = fs_iexpression::IntOf(Left.get(), A, TL);
  bool RI = fs_iexpression::IntOf(Right.get(), B, TR);
  if (LI && RI) return true;
  if (LI) TL.emplace(A);
  if (RI) TR.emplace(B);
  return false;
}

bool TfsOperatorNode::SlowValue(Integer& Out, TfsTempValue& Tmp)
{
  Integer A, B;
  TfsTempValue TL, TR;
  if (IntOperands(A, B, TL, TR)) {
    if (Fast == fkVarArith) return VarArith(Op, A, B, Out, Tmp);
    Out = IntArith(Op, A, B);
    return true;
  }
  return TakeInt(Tmp.emplace(Apply(*TL, *TR)), Out);
}

bool TfsOperatorNode::SlowCompare(bool& Out, TfsTempValue& Tmp)
{
  Integer A, B;
  TfsTempValue TL, TR;
  if (IntOperands(A, B, TL, TR)) {
    Out = CompareInts(Op, A, B);
    return true;
  }
  return TakeBool(Tmp.emplace(Apply(*TL, *TR)), Out);
}

bool TfsOperatorNode::IntValue(Integer& Out, TfsTempValue& Tmp)
{
  if (Fast == fkIntArith) return IntArithValue(Out, Tmp);
  if (Fast == fkVarArith) return VarArithValue(Out, Tmp);
  return TfsExpressionNode::IntValue(Out, Tmp);
}

bool TfsOperatorNode::BoolValue(bool& Out, TfsTempValue& Tmp)
{
  if (Fast == fkIntCompare) return IntCompareValue(Out, Tmp);
  if (Fast == fkVarCompare) return VarCompareValue(Out, Tmp);
  return TfsExpressionNode::BoolValue(Out, Tmp);
}

Variant TfsOperatorNode::GetValue()
{
  if (IntMode) {
    Integer A, B;
    TfsTempValue TL, TR;
    if (!IntOperands(A, B, TL, TR)) return Apply(*TL, *TR);
    return IsComparison(Op) ? Variant(CompareInts(Op, A, B)) : Variant(IntArith(Op, A, B));
  }
  if (Fast == fkVarArith) {
    Integer I;
    TfsTempValue T;
    if (VarArithValue(I, T)) return Variant(I);
    return std::move(*T);
  }
  if (Fast == fkVarCompare) {
    bool B;
    TfsTempValue T;
    if (VarCompareValue(B, T)) return Variant(B);
    return std::move(*T);
  }
  return VariantValue();
}

Variant TfsOperatorNode::VariantValue()
{
  TfsTempValue TmpL, TmpR;
  // The left value is read in place only when the right side cannot change it.
  const Variant& L = !Left                       ? TmpL.emplace(Variant::Null())
                     : (Right && !Right->IsPure) ? TmpL.emplace(Left->GetValue())
                                                 : fs_iexpression::RefOf(Left.get(), TmpL);
  switch (Op) {
    case opNone:
    case opLeftBracket: return L;
    case opNot: return Variants::UnaryOp(Variants::opNot, L);
    case opUnMinus: return Variants::UnaryOp(Variants::opNegate, L);
    case opAnd:
      if (BoolMode) return L.AsBoolean() ? Right->GetValue() : L;
      break;
    case opOr:
      if (BoolMode) return L.AsBoolean() ? L : Right->GetValue();
      break;
    default: break;
  }
  const Variant& R = Right ? fs_iexpression::RefOf(Right.get(), TmpR) : TmpR.emplace(Variant::Null());
  return Apply(L, R);
}

Variant TfsOperatorNode::Apply(const Variant& L, const Variant& R)
{
  // Two plain integers of untyped operands: the Variant operators' own results (a sum that
  // leaves 32 bits widens to Int64), without their general conversions.
  if (!IntMode && L.VarType() == varInteger && R.VarType() == varInteger) {
    Int64 A = L.AsInteger(), B = R.AsInteger();
    switch (Op) {
      case opPlus: return IntResult(A + B);
      case opMinus: return IntResult(A - B);
      case opMul: return IntResult(A * B);
      case opGreat: return Variant(A > B);
      case opLess: return Variant(A < B);
      case opLessEq: return Variant(A <= B);
      case opGreatEq: return Variant(A >= B);
      case opNonEq: return Variant(A != B);
      case opEq: return Variant(A == B);
      default: break;
    }
  }
  Int64 A64, B64;
  // Integer mode wraps at 32 bits; values beyond that range (a 64-bit constant, a Variant
  // holding more) take the Variant operators instead of overflowing.
  if (IntMode && AsInt32(L, A64) && AsInt32(R, B64)) {
    auto A = static_cast<Integer>(A64), B = static_cast<Integer>(B64);
    return IsComparison(Op) ? Variant(CompareInts(Op, A, B)) : Variant(IntArith(Op, A, B));
  }
  switch (Op) {
    case opGreat: return Variants::BinaryOp(Variants::opCmpGT, L, R);
    case opLess: return Variants::BinaryOp(Variants::opCmpLT, L, R);
    case opLessEq: return Variants::BinaryOp(Variants::opCmpLE, L, R);
    case opGreatEq: return Variants::BinaryOp(Variants::opCmpGE, L, R);
    case opNonEq: return Variants::BinaryOp(Variants::opCmpNE, L, R);
    case opEq: return Variants::BinaryOp(Variants::opCmpEQ, L, R);
    case opPlus: return L + R;
    case opStrCat:
      if (L.VarType() == varString) return Variant(L.AsString() + Variants::VarToStr(R));
      return L + R;
    case opMinus: return L - R;
    case opMul: return L * R;
    case opDivFloat: return L / R;
    case opDivInt: return Variants::BinaryOp(Variants::opIntDivide, L, R);
    case opMod: return L % R;
    case opAnd: return L & R;
    case opOr: return L | R;
    case opXor: return L ^ R;
    case opShl: return L << R;
    case opShr: return L >> R;
    case opIn: {
      auto* S = dynamic_cast<TfsSetNode*>(Right.get());
      return Variant(S ? S->SetExpr->Contains(L) : false);
    }
    default: return Variant::Null();  // "is" needs host classes
  }
}

TfsExpression::TfsExpression(TfsScript* AProgram)
    : TfsCustomVariable("", ikVariant, ""), FRoot(std::make_unique<TfsOperatorNode>(opNone)), FCurrent(FRoot.get()),
      FProgram(AProgram)
{}

TfsExpression::~TfsExpression() = default;

// The slot of Parent that holds Child.
static std::unique_ptr<TfsExpressionNode>& SlotOf(TfsExpressionNode* Parent, const TfsExpressionNode* Child)
{
  return Parent->Left.get() == Child ? Parent->Left : Parent->Right;
}

void TfsExpression::AddNode(std::unique_ptr<TfsExpressionNode> Node)
{
  Node->ItemPos = CurrentPos;
  Node->Parent = FCurrent;
  TfsExpressionNode* Added = Node.get();
  if (!FCurrent->Left)
    FCurrent->Left = std::move(Node);
  else if (!FCurrent->Right)
    FCurrent->Right = std::move(Node);
  else
    throw Exception("Expression error");
  FCurrent = Added;
}

void TfsExpression::AddOperator(const AnsiString& OpText)
{
  bool Known;
  Byte Op = OpOf(OpText, Known);
  if (!Known) return;
  if (Op == opRightBracket) {  // the bracket node gives its place to what it holds
    TfsExpressionNode* N = FCurrent;
    while (N->Priority() <= 5 && N->Parent) N = N->Parent;
    auto* B = dynamic_cast<TfsOperatorNode*>(N);
    if (!B || B->Op != opLeftBracket) throw Exception("Expression error");
    TfsExpressionNode* P = B->Parent;
    std::unique_ptr<TfsExpressionNode> Child = std::move(B->Left);
    TfsExpressionNode* Inner = Child.get();
    if (Child) Child->Parent = P;
    SlotOf(P, B) = std::move(Child);  // frees the bracket node
    FCurrent = Inner ? Inner : P;
    return;
  }
  auto Owned = std::make_unique<TfsOperatorNode>(Op);
  TfsOperatorNode* O = Owned.get();
  O->ItemPos = CurrentPos;
  if (Op == opLeftBracket || Op == opUnMinus || Op == opNot || FCurrent == FRoot.get()) {
    AddNode(std::move(Owned));
    return;
  }
  TfsExpressionNode* P = FCurrent;
  TfsExpressionNode* C = nullptr;
  if (!(dynamic_cast<TfsOperatorNode*>(P) && static_cast<TfsOperatorNode*>(P)->Op == opLeftBracket)) {
    C = P;
    P = P->Parent;
  }
  while (O->Priority() >= P->Priority() && P->Parent) {
    C = P;
    P = P->Parent;
  }
  if (C) {  // O takes C's place and C becomes its left operand
    std::unique_ptr<TfsExpressionNode>& Slot = SlotOf(P, C);
    O->Left = std::move(Slot);
    C->Parent = O;
    O->Parent = P;
    Slot = std::move(Owned);
    FCurrent = O;
  } else {
    AddNode(std::move(Owned));
  }
}

void TfsExpression::AddConst(const Variant& AValue) { AddNode(std::make_unique<TfsOperandNode>(AValue)); }

void TfsExpression::AddDesignator(std::unique_ptr<TfsDesignator> ADesignator)
{
  AddNode(std::make_unique<TfsDesignatorNode>(std::move(ADesignator)));
}

void TfsExpression::AddSet(std::unique_ptr<TfsSetExpression> ASet)
{
  AddNode(std::make_unique<TfsSetNode>(std::move(ASet)));
}

void TfsExpression::Check(TfsExpressionNode* N, TfsItemKind& K, AnsiString& T, AnsiString& Err)
{
  if (!N) {
    K = ikVariant;
    T.clear();
    return;
  }
  auto* O = dynamic_cast<TfsOperatorNode*>(N);
  if (!O) {
    K = N->Kind;
    T = N->TypeName;
    return;
  }
  TfsItemKind LK, RK;
  AnsiString LT, RT;
  Check(O->Left.get(), LK, LT, Err);
  Check(O->Right.get(), RK, RT, Err);
  // Prefix operators have one operand: it decides alone.
  if (O->Op == opNot || O->Op == opUnMinus || O->Op == opNone || O->Op == opLeftBracket) {
    O->Kind = LK;
    O->TypeName = LT;
    K = LK;
    T = LT;
    if (O->Op == opNot && LK != ikBoolean && LK != ikInteger && LK != ikVariant && Err.empty()) Err = O->ItemPos;
    if (O->Op == opUnMinus && LK != ikInteger && LK != ikFloat && LK != ikVariant && Err.empty()) Err = O->ItemPos;
    return;
  }
  Byte Op = O->Op == opStrCat ? static_cast<Byte>(opPlus) : O->Op;
  if (LK == ikInteger && RK == ikInteger) O->IntMode = true;
  if (LK == ikBoolean && RK == ikBoolean) O->BoolMode = true;
  bool Ok = true;
  if (O->Op == opStrCat) {
    // Joining converts both sides to text, so any operand kinds fit but arrays and classes.
    Ok = LK != ikArray && LK != ikClass && RK != ikArray && RK != ikClass;
    O->IntMode = O->BoolMode = false;
    K = Ok ? ikString : ikVariant;
    T.clear();
    if (!Ok && Err.empty()) Err = O->ItemPos;
    O->Kind = K;
    O->TypeName = T;
    return;
  }
  if (!(Op == opIs && LK == ikClass && RK == ikClass)) {
    // Objects of related classes compare either way round.
    Ok = fs_itypes::TypesCompatible(LK, LT, RK, RT, FProgram) || O->Op == opIn ||
         (LK == ikClass && RK == ikClass && fs_itypes::TypesCompatible(RK, RT, LK, LT, FProgram));
    if (Ok && LK == ikBoolean)
      Ok = Op == opNonEq || Op == opEq || Op == opOr || Op == opXor || Op == opAnd || Op == opNot;
    else if (Ok && (LK == ikChar || LK == ikString))
      Ok = (Op >= opGreat && Op <= opPlus) || Op == opIn;
    else if (Ok && (LK == ikClass || LK == ikArray))
      Ok = Op == opNonEq || Op == opEq;
  }
  // Operators the integer mode can't compute exactly stay on Variants.
  if (O->IntMode &&
      !(Op == opPlus || Op == opMinus || Op == opMul || Op == opDivInt || Op == opMod || (Op >= opGreat && Op <= opEq)))
    O->IntMode = false;
  if (O->IntMode)
    O->Fast = IsComparison(O->Op) ? fkIntCompare : fkIntArith;
  else if (O->BoolMode || !O->Left || !O->Right)
    O->Fast = fkVirtual;
  else if (IsComparison(O->Op))
    O->Fast = fkVarCompare;
  else if (O->Op == opPlus || O->Op == opMinus || O->Op == opMul)
    O->Fast = fkVarArith;
  else
    O->Fast = fkVirtual;
  if (Ok) {
    K = LK;
    T = LT;
    if ((LK == ikInteger && RK == ikFloat) || (LK == ikFloat && RK == ikInteger)) K = ikFloat;
    if (Op == opDivFloat && LK == ikInteger) K = ikFloat;
    if ((Op >= opGreat && Op <= opEq) || Op == opIn || Op == opIs) {
      K = ikBoolean;
      T.clear();
    }
  } else {
    K = ikVariant;
    T.clear();
    if (Err.empty()) Err = O->ItemPos;
  }
  O->Kind = K;
  O->TypeName = T;
}

AnsiString TfsExpression::Complete()
{
  // The start node held the whole expression as its left operand.
  std::unique_ptr<TfsExpressionNode> Top = std::move(FRoot->Left);
  FRoot = Top ? std::move(Top) : std::make_unique<TfsOperandNode>(Variant::Null());
  FRoot->Parent = nullptr;
  FCurrent = FRoot.get();
  AnsiString Err;
  TfsItemKind K;
  AnsiString T;
  Check(FRoot.get(), K, T, Err);
  Kind = K;
  TypeName = T;
  auto* D = dynamic_cast<TfsDesignatorNode*>(FRoot.get());
  IsReadOnly = !(D && !D->Designator->IsReadOnly);
  return Err;
}

void TfsExpression::SetValue(const Variant& AValue)
{
  if (IsReadOnly) return;
  static_cast<TfsDesignatorNode*>(FRoot.get())->Designator->SetValue(AValue);
}

char TfsExpression::FoldAssignment(TfsDesignator* Target)
{
  if (!dynamic_cast<TfsVariableDesignator*>(Target)) return ' ';
  auto* O = dynamic_cast<TfsOperatorNode*>(FRoot.get());
  if (!O) return ' ';
  char C;
  switch (O->Op) {
    case opPlus: C = '+'; break;
    case opMinus: C = '-'; break;
    case opMul: C = '*'; break;
    case opDivFloat: C = '/'; break;
    default: return ' ';
  }
  auto SameVar = [&](const std::unique_ptr<TfsExpressionNode>& N) {
    auto* D = dynamic_cast<TfsDesignatorNode*>(N.get());
    return D && dynamic_cast<TfsVariableDesignator*>(D->Designator.get()) && D->Designator->RefItem == Target->RefItem;
  };
  // The expression becomes its other operand; the operator node and the variable go.
  auto KeepOnly = [&](std::unique_ptr<TfsExpressionNode>& Operand) {
    std::unique_ptr<TfsExpressionNode> Rest = std::move(Operand);
    Rest->Parent = nullptr;
    FRoot = std::move(Rest);
    FCurrent = FRoot.get();
    return C;
  };
  if (SameVar(O->Left) && O->Right) return KeepOnly(O->Right);
  if ((C == '+' || C == '*') && SameVar(O->Right) && O->Left && Target->RefItem->Kind != ikString &&
      Target->RefItem->Kind != ikVariant)
    return KeepOnly(O->Left);
  return ' ';
}

TfsCustomVariable* TfsExpression::SingleOperand() const
{
  if (auto* D = dynamic_cast<TfsDesignatorNode*>(FRoot.get())) return D->Source;
  if (dynamic_cast<TfsOperandNode*>(FRoot.get())) return FRoot.get();
  return nullptr;
}
