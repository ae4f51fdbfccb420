// Expression trees: operands and operators arrive in source order and are arranged by
// priority; Complete checks the operand types once and marks the nodes that may use 32-bit
// integer arithmetic or Boolean short-circuit. Run-time faults (conversions, division by zero)
// are the Variant library's exceptions.
#pragma once

#include <memory>
#include <optional>

#include "report/script/interp/fs_iitems.h"

class TfsDesignator;

class TfsExpressionNode : public TfsCustomVariable {
public:
  TfsExpressionNode() : TfsCustomVariable("", ikVariant, "") {}
  ~TfsExpressionNode() override;
  virtual Integer Priority() const = 0;
  // The node's value without a copy where it is stored as it is; else computed into Tmp.
  virtual const Variant& ValueRef(std::optional<Variant>& Tmp) { return Tmp.emplace(GetValue()); }
  // The node's value as a plain integer (a varInteger) or Boolean without building a Variant.
  // When the value is of another type it is computed once into Tmp and the answer is false.
  // Tmp is optional so that the fast path never builds or destroys a Variant.
  virtual bool IntValue(Integer& Out, std::optional<Variant>& Tmp) { return TakeInt(Tmp.emplace(GetValue()), Out); }
  virtual bool BoolValue(bool& Out, std::optional<Variant>& Tmp) { return TakeBool(Tmp.emplace(GetValue()), Out); }
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
  TfsExpressionNode* Left = nullptr;  // owned
  TfsExpressionNode* Right = nullptr;  // owned
  TfsExpressionNode* Parent = nullptr;
  // Reading the node runs no code, so it cannot change a value read before it.
  bool IsPure = false;
};

class TfsOperandNode : public TfsExpressionNode {
public:
  explicit TfsOperandNode(const Variant& AValue);
  Integer Priority() const override { return 0; }
  const Variant& ValueRef(std::optional<Variant>&) override { return Value; }
  bool IntValue(Integer& Out, std::optional<Variant>& Tmp) override
  {
    if (HasInt) {
      Out = IntConst;
      return true;
    }
    return TfsExpressionNode::IntValue(Out, Tmp);
  }

private:
  bool HasInt = false;  // a constant integer, kept unboxed
  Integer IntConst = 0;
};

class TfsDesignatorNode : public TfsOperandNode {
public:
  explicit TfsDesignatorNode(TfsDesignator* ADesignator);  // takes ownership
  ~TfsDesignatorNode() override;
  Variant GetValue() override;
  const Variant& ValueRef(std::optional<Variant>& Tmp) override;
  bool IntValue(Integer& Out, std::optional<Variant>& Tmp) override;
  TfsDesignator* Designator;
  TfsCustomVariable* Source;  // the variable of a plain variable designator, else the designator
  bool Stored;  // Source keeps its value in Value (a plain variable or parameter)
};

class TfsSetNode : public TfsOperandNode {
public:
  explicit TfsSetNode(TfsSetExpression* ASet);  // takes ownership
  ~TfsSetNode() override;
  Variant GetValue() override;
  const Variant& ValueRef(std::optional<Variant>& Tmp) override { return Tmp.emplace(GetValue()); }
  TfsSetExpression* SetExpr;
};

class TfsOperatorNode : public TfsExpressionNode {
public:
  explicit TfsOperatorNode(Byte AOp);
  Integer Priority() const override;
  Variant GetValue() override;
  bool IntValue(Integer& Out, std::optional<Variant>& Tmp) override;
  bool BoolValue(bool& Out, std::optional<Variant>& Tmp) override;
  Byte Op;
  bool IntMode = false;
  bool BoolMode = false;

private:
  // Both operands of an integer-mode node; false when either is no plain integer, and then
  // both values are in TL and TR.
  bool IntOperands(Integer& A, Integer& B, std::optional<Variant>& TL, std::optional<Variant>& TR);
  // The operator applied to values already read.
  Variant Apply(const Variant& L, const Variant& R);
  // The value of a node outside integer mode (kept apart so the integer path stays small).
  [[gnu::noinline]] Variant VariantValue();
};

class TfsExpression : public TfsCustomVariable {
public:
  explicit TfsExpression(TfsScript* AProgram);
  ~TfsExpression() override;
  void AddOperator(const AnsiString& OpText);
  void AddConst(const Variant& AValue);
  void AddDesignator(TfsDesignator* ADesignator);  // takes ownership
  void AddSet(TfsSetExpression* ASet);  // takes ownership
  // The position of the first operator whose operand types don't fit; empty when all fit.
  AnsiString Complete();
  Variant GetValue() override { return FRoot->GetValue(); }
  // Dst takes the value, as Dst = GetValue() would; an integer result is stored without a
  // Variant in between.
  void StoreInto(Variant& Dst)
  {
    Integer I;
    std::optional<Variant> Tmp;
    if (FRoot->IntValue(I, Tmp)) fs_iitems::IntInto(Dst, I);
    else fs_iitems::MoveInto(Dst, std::move(*Tmp));
  }
  // The value as a Boolean, read as GetValue().AsBoolean() would.
  bool IsTrue()
  {
    bool B;
    std::optional<Variant> Tmp;
    return FRoot->BoolValue(B, Tmp) ? B : Tmp->AsBoolean();
  }
  void SetValue(const Variant& AValue) override;
  // '+', '-', '*', '/' when "x := x op y" was turned into an update of x by the rest; ' ' else.
  char FoldAssignment(TfsDesignator* Target);
  // The single operand (a variable, designator or constant node), or null.
  TfsCustomVariable* SingleOperand() const;

  AnsiString CurrentPos;
  AnsiString Source;

private:
  void AddNode(TfsExpressionNode* Node);
  void Check(TfsExpressionNode* N, TfsItemKind& K, AnsiString& T, AnsiString& Err);

  TfsExpressionNode* FCurrent;
  TfsExpressionNode* FRoot;
  TfsScript* FProgram;
};
