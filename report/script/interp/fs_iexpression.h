// Expression trees: operands and operators arrive in source order and are arranged by
// priority; Complete checks the operand types once and marks the nodes that may use 32-bit
// integer arithmetic or Boolean short-circuit. Run-time faults (conversions, division by zero)
// are the Variant library's exceptions.
#pragma once

#include <memory>

#include "report/script/interp/fs_iitems.h"

class TfsDesignator;

class TfsExpressionNode : public TfsCustomVariable {
public:
  TfsExpressionNode() : TfsCustomVariable("", ikVariant, "") {}
  ~TfsExpressionNode() override;
  virtual Integer Priority() const = 0;
  // The node's value without a copy where it is stored as it is; else computed into Tmp.
  virtual const Variant& ValueRef(Variant& Tmp)
  {
    Tmp = GetValue();
    return Tmp;
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
  const Variant& ValueRef(Variant&) override { return Value; }
};

class TfsDesignatorNode : public TfsOperandNode {
public:
  explicit TfsDesignatorNode(TfsDesignator* ADesignator);  // takes ownership
  ~TfsDesignatorNode() override;
  Variant GetValue() override;
  const Variant& ValueRef(Variant& Tmp) override;
  TfsDesignator* Designator;
  TfsCustomVariable* Source;  // the variable of a plain variable designator, else the designator
  bool Stored;  // Source keeps its value in Value (a plain variable or parameter)
};

class TfsSetNode : public TfsOperandNode {
public:
  explicit TfsSetNode(TfsSetExpression* ASet);  // takes ownership
  ~TfsSetNode() override;
  Variant GetValue() override;
  const Variant& ValueRef(Variant& Tmp) override
  {
    Tmp = GetValue();
    return Tmp;
  }
  TfsSetExpression* SetExpr;
};

class TfsOperatorNode : public TfsExpressionNode {
public:
  explicit TfsOperatorNode(Byte AOp);
  Integer Priority() const override;
  Variant GetValue() override;
  Byte Op;
  bool IntMode = false;
  bool BoolMode = false;
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
