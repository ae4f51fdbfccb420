// Expression trees: operands and operators arrive in source order and are arranged by
// priority; Complete checks the operand types once and marks the nodes that may use 32-bit
// integer arithmetic or Boolean short-circuit. Run-time faults (conversions, division by zero)
// are the Variant library's exceptions.
#pragma once

#include <cstdint>
#include <memory>

#include "report/script/interp/fs_idesignator.h"
#include "report/script/interp/fs_iitems.h"

namespace fs_iexpression {
// The operators of expression trees.
enum : Byte {
  opNone,
  opGreat,
  opLess,
  opLessEq,
  opGreatEq,
  opNonEq,
  opEq,
  opPlus,
  opMinus,
  opOr,
  opXor,
  opMul,
  opDivFloat,
  opDivInt,
  opMod,
  opAnd,
  opShl,
  opShr,
  opLeftBracket,
  opRightBracket,
  opNot,
  opUnMinus,
  opIn,
  opIs,
  opStrCat = 100  // shares code 7 with "+" in the tables; kept apart for evaluation
};
inline bool IsComparison(Byte Op) { return Op >= opGreat && Op <= opEq; }
inline bool CompareInts(Byte Op, Integer A, Integer B)
{
  switch (Op) {
    case opGreat: return A > B;
    case opLess: return A < B;
    case opLessEq: return A <= B;
    case opGreatEq: return A >= B;
    case opNonEq: return A != B;
    default: return A == B;
  }
}
// "div" and "mod"; a zero divisor raises EDivByZero.
[[gnu::noinline]] Integer IntDivide(Byte Op, Integer A, Integer B);
// Integer mode wraps at 32 bits.
inline Integer IntArith(Byte Op, Integer A, Integer B)
{
  switch (Op) {
    case opPlus: return static_cast<Integer>(static_cast<std::uint32_t>(A) + static_cast<std::uint32_t>(B));
    case opMinus: return static_cast<Integer>(static_cast<std::uint32_t>(A) - static_cast<std::uint32_t>(B));
    case opMul: return static_cast<Integer>(static_cast<std::uint32_t>(A) * static_cast<std::uint32_t>(B));
    default: return IntDivide(Op, A, B);
  }
}
}  // namespace fs_iexpression

// How the evaluators read a node without a virtual call (TfsExpressionNode::Fast).
enum : Byte {
  fkVirtual,     // through the node's own functions
  fkConst,       // the constant in Value (IntConst when HasInt)
  fkStored,      // the stored value of a variable or parameter, *Slot
  fkIntArith,    // an integer-mode arithmetic operator
  fkIntCompare,  // an integer-mode comparison
  fkProcCall,    // a designator node that is one call of a script procedure
  fkVarArith,    // "+", "-" or "*" of untyped operands, computed on integers while both are integers
  fkVarCompare   // a comparison of untyped operands, likewise
};

class TfsExpressionNode : public TfsCustomVariable {
public:
  TfsExpressionNode() : TfsCustomVariable("", ikVariant, "") {}
  ~TfsExpressionNode() override;
  virtual Integer Priority() const = 0;
  // The node's value without a copy where it is stored as it is; else computed into Tmp.
  virtual const Variant& ValueRef(TfsTempValue& Tmp) { return Tmp.emplace(GetValue()); }
  // The node's value as a plain integer (a varInteger) or Boolean without building a Variant.
  // When the value is of another type it is computed once into Tmp and the answer is false.
  // Tmp starts empty so that the fast path never builds or destroys a Variant.
  virtual bool IntValue(Integer& Out, TfsTempValue& Tmp) { return TakeInt(Tmp.emplace(GetValue()), Out); }
  virtual bool BoolValue(bool& Out, TfsTempValue& Tmp) { return TakeBool(Tmp.emplace(GetValue()), Out); }
  static bool TakeInt(const Variant& V, Integer& Out)
  {
    if (V.VarType() != varInteger) return false;
    Out = V.AsInteger();
    return true;
  }
  static bool TakeBool(const Variant& V, bool& Out)
  {
    if (V.VarType() != varBoolean) return false;
    Out = V.AsBoolean();
    return true;
  }
  std::unique_ptr<TfsExpressionNode> Left;
  std::unique_ptr<TfsExpressionNode> Right;
  TfsExpressionNode* Parent = nullptr;
  // Reading the node runs no code, so it cannot change a value read before it.
  bool IsPure = false;
  Byte Fast = fkVirtual;
  bool HasInt = false;  // a constant integer, kept unboxed in IntConst
  Integer IntConst = 0;
  const Variant* Slot = nullptr;  // fkStored: where the variable keeps its value
};

class TfsOperandNode : public TfsExpressionNode {
public:
  explicit TfsOperandNode(const Variant& AValue);
  Integer Priority() const override { return 0; }
  const Variant& ValueRef(TfsTempValue&) override { return Value; }
  bool IntValue(Integer& Out, TfsTempValue& Tmp) override
  {
    if (HasInt) {
      Out = IntConst;
      return true;
    }
    return TfsExpressionNode::IntValue(Out, Tmp);
  }
};

class TfsDesignatorNode : public TfsOperandNode {
public:
  explicit TfsDesignatorNode(std::unique_ptr<TfsDesignator> ADesignator);
  ~TfsDesignatorNode() override;
  Variant GetValue() override;
  const Variant& ValueRef(TfsTempValue& Tmp) override;
  bool IntValue(Integer& Out, TfsTempValue& Tmp) override;
  std::unique_ptr<TfsDesignator> Designator;
  TfsCustomVariable* Source;  // the variable of a plain variable designator, else the designator
  bool Stored;                // Source keeps its value in Value (a plain variable or parameter)
};

class TfsSetNode : public TfsOperandNode {
public:
  explicit TfsSetNode(std::unique_ptr<TfsSetExpression> ASet);
  ~TfsSetNode() override;
  Variant GetValue() override;
  const Variant& ValueRef(TfsTempValue& Tmp) override { return Tmp.emplace(GetValue()); }
  std::unique_ptr<TfsSetExpression> SetExpr;
};

class TfsOperatorNode : public TfsExpressionNode {
public:
  explicit TfsOperatorNode(Byte AOp);
  Integer Priority() const override;
  Variant GetValue() override;
  bool IntValue(Integer& Out, TfsTempValue& Tmp) override;
  bool BoolValue(bool& Out, TfsTempValue& Tmp) override;
  // The value of an integer-mode arithmetic node (fkIntArith) or comparison (fkIntCompare), as
  // IntValue and BoolValue give it.
  bool IntArithValue(Integer& Out, TfsTempValue& Tmp);
  bool IntCompareValue(bool& Out, TfsTempValue& Tmp);
  // The same for untyped operands (fkVarArith, fkVarCompare): a sum that leaves 32 bits is an
  // Int64, as the Variant operators give it.
  bool VarArithValue(Integer& Out, TfsTempValue& Tmp);
  bool VarCompareValue(bool& Out, TfsTempValue& Tmp);
  // The integer-mode and untyped shortcuts when an operand is more than a constant or variable
  // holding a plain integer.
  [[gnu::noinline]] bool SlowValue(Integer& Out, TfsTempValue& Tmp);
  [[gnu::noinline]] bool SlowCompare(bool& Out, TfsTempValue& Tmp);
  Byte Op;
  bool IntMode = false;
  bool BoolMode = false;

private:
  // Both operands of an integer-mode node; false when either is no plain integer, and then
  // both values are in TL and TR.
  bool IntOperands(Integer& A, Integer& B, TfsTempValue& TL, TfsTempValue& TR);
  // Both operands are constants or variables holding plain integers (see PureInt).
  bool PureOperands(Integer& A, Integer& B) const;
  // The operator applied to values already read.
  Variant Apply(const Variant& L, const Variant& R);
  // The value of a node outside integer mode (kept apart so the integer path stays small).
  [[gnu::noinline]] Variant VariantValue();
};

namespace fs_iexpression {
// A constant or stored variable holding a plain integer, read without any temporary. Such nodes
// run no code, so a caller that finds anything else can read them again the general way.
inline bool PureInt(const TfsExpressionNode* N, Integer& Out)
{
  if (N->Fast == fkConst) {
    Out = N->IntConst;
    return N->HasInt;
  }
  if (N->Fast == fkStored && N->Slot->VarType() == varInteger) {
    Out = N->Slot->AsInteger();
    return true;
  }
  return false;
}
// An untyped sum, difference or product of two plain integers: the Variant operators' result.
inline bool VarArith(Byte Op, Integer A, Integer B, Integer& Out, TfsTempValue& Tmp)
{
  Int64 R = Op == opPlus ? Int64(A) + B : Op == opMinus ? Int64(A) - B : Int64(A) * B;
  if (R >= INT32_MIN && R <= INT32_MAX) {
    Out = static_cast<Integer>(R);
    return true;
  }
  Tmp.emplace(static_cast<long long>(R));
  return false;
}
}  // namespace fs_iexpression

inline bool TfsOperatorNode::PureOperands(Integer& A, Integer& B) const
{
  return fs_iexpression::PureInt(Left.get(), A) && fs_iexpression::PureInt(Right.get(), B);
}

inline bool TfsOperatorNode::IntArithValue(Integer& Out, TfsTempValue& Tmp)
{
  Integer A, B;
  if (!PureOperands(A, B)) return SlowValue(Out, Tmp);
  Out = fs_iexpression::IntArith(Op, A, B);
  return true;
}

inline bool TfsOperatorNode::VarArithValue(Integer& Out, TfsTempValue& Tmp)
{
  Integer A, B;
  if (!PureOperands(A, B)) return SlowValue(Out, Tmp);
  return fs_iexpression::VarArith(Op, A, B, Out, Tmp);
}

// Integer-mode and untyped comparisons of two plain integers agree.
inline bool TfsOperatorNode::IntCompareValue(bool& Out, TfsTempValue& Tmp)
{
  Integer A, B;
  if (!PureOperands(A, B)) return SlowCompare(Out, Tmp);
  Out = fs_iexpression::CompareInts(Op, A, B);
  return true;
}

inline bool TfsOperatorNode::VarCompareValue(bool& Out, TfsTempValue& Tmp) { return IntCompareValue(Out, Tmp); }

namespace fs_iexpression {
// A node's value as IntValue gives it, without a virtual call for constants, variables and
// integer-mode arithmetic.
inline bool IntOf(TfsExpressionNode* N, Integer& Out, TfsTempValue& Tmp)
{
  switch (N->Fast) {
    case fkConst:
      if (N->HasInt) {
        Out = N->IntConst;
        return true;
      }
      break;
    case fkStored:
      if (N->Slot->VarType() == varInteger) {
        Out = N->Slot->AsInteger();
        return true;
      }
      Tmp.emplace(*N->Slot);
      return false;
    case fkIntArith: return static_cast<TfsOperatorNode*>(N)->IntArithValue(Out, Tmp);
    case fkVarArith: return static_cast<TfsOperatorNode*>(N)->VarArithValue(Out, Tmp);
    case fkProcCall: return static_cast<TfsDesignatorNode*>(N)->Designator->CallSingleProcInt(Out, Tmp);
    default: break;
  }
  return N->IntValue(Out, Tmp);
}
// A node's value as BoolValue gives it.
inline bool BoolOf(TfsExpressionNode* N, bool& Out, TfsTempValue& Tmp)
{
  if (N->Fast == fkIntCompare) return static_cast<TfsOperatorNode*>(N)->IntCompareValue(Out, Tmp);
  if (N->Fast == fkVarCompare) return static_cast<TfsOperatorNode*>(N)->VarCompareValue(Out, Tmp);
  return N->BoolValue(Out, Tmp);
}
// A node's value as ValueRef gives it.
inline const Variant& RefOf(TfsExpressionNode* N, TfsTempValue& Tmp)
{
  if (N->Fast == fkConst) return N->Value;
  if (N->Fast == fkStored) return *N->Slot;
  if (N->Fast == fkProcCall) return Tmp.emplace(static_cast<TfsDesignatorNode*>(N)->Designator->CallSingleProc());
  return N->ValueRef(Tmp);
}
}  // namespace fs_iexpression

class TfsExpression : public TfsCustomVariable {
public:
  explicit TfsExpression(TfsScript* AProgram);
  ~TfsExpression() override;
  void AddOperator(const AnsiString& OpText);
  void AddConst(const Variant& AValue);
  void AddDesignator(std::unique_ptr<TfsDesignator> ADesignator);
  void AddSet(std::unique_ptr<TfsSetExpression> ASet);
  // The position of the first operator whose operand types don't fit; empty when all fit.
  AnsiString Complete();
  Variant GetValue() override { return FRoot->GetValue(); }
  // Dst takes the value, as Dst = GetValue() would; an integer result is stored without a
  // Variant in between.
  [[gnu::always_inline]] void StoreInto(Variant& Dst)
  {
    Integer I;
    TfsTempValue Tmp;
    if (fs_iexpression::IntOf(FRoot.get(), I, Tmp))
      fs_iitems::IntInto(Dst, I);
    else
      fs_iitems::MoveInto(Dst, std::move(*Tmp));
  }
  // The value as a Boolean, read as GetValue().AsBoolean() would.
  bool IsTrue()
  {
    bool B;
    TfsTempValue Tmp;
    return fs_iexpression::BoolOf(FRoot.get(), B, Tmp) ? B : Tmp->AsBoolean();
  }
  void SetValue(const Variant& AValue) override;
  // '+', '-', '*', '/' when "x := x op y" was turned into an update of x by the rest; ' ' else.
  char FoldAssignment(TfsDesignator* Target);
  // The single operand (a variable, designator or constant node), or null.
  TfsCustomVariable* SingleOperand() const;

  AnsiString CurrentPos;
  AnsiString Source;

private:
  void AddNode(std::unique_ptr<TfsExpressionNode> Node);
  void Check(TfsExpressionNode* N, TfsItemKind& K, AnsiString& T, AnsiString& Err);

  std::unique_ptr<TfsExpressionNode> FRoot;
  TfsExpressionNode* FCurrent;  // where the next node goes, inside FRoot
  TfsScript* FProgram;
};
