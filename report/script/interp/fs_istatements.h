// The compiled statements of every script language. A TfsStatement is also the plain statement
// list: its entries are child statements run in order. Statements read and set the control
// flags of their OwnerScript; run-time errors are exceptions that pass through every list and
// loop (finally parts run on the way) up to the first try with except. A statement owns its
// expressions and designators; the variables it names (LoopVar, WithVar, the fast targets)
// belong to the script.
#pragma once

#include <memory>

#include "report/script/interp/fs_iitems.h"
#include "report/script/interp/fs_iscript.h"

class TfsDesignator;
class TfsExpression;

class TfsStatement : public TfsItemList {
public:
  TfsStatement(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName);
  virtual void Run();
  void RunLine()
  {
    if (TfsRunLineHandler::AnySet()) OwnerScript->NotifyRunLine(UnitName, SourcePos);
  }
  TfsStatement* StatementAt(Integer Index) const { return static_cast<TfsStatement*>(EntryAt(Index)); }
  // Runs the entries (the body of a compound statement or loop).
  void RunList();

  TfsScript* OwnerScript;
  AnsiString SourcePos;
  AnsiString UnitName;
};

class TfsAssignmentStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsAssignmentStmt() override;
  void Run() override;
  // Picks the fast target and source once Target and Source are set.
  void Prepare();
  std::unique_ptr<TfsDesignator> Target;
  std::unique_ptr<TfsExpression> Source;
  TfsCustomVariable* FastTarget = nullptr;
  TfsCustomVariable* FastSource = nullptr;
  // FastTarget stores what it is given as it is (a plain variable or parameter).
  bool PlainTarget = false;
  // FastSource is a plain variable or parameter, read from where it keeps its value.
  bool PlainSource = false;
};

class TfsAssignPlusStmt : public TfsAssignmentStmt {
public:
  using TfsAssignmentStmt::TfsAssignmentStmt;
  void Run() override;
};
class TfsAssignMinusStmt : public TfsAssignmentStmt {
public:
  using TfsAssignmentStmt::TfsAssignmentStmt;
  void Run() override;
};
class TfsAssignMulStmt : public TfsAssignmentStmt {
public:
  using TfsAssignmentStmt::TfsAssignmentStmt;
  void Run() override;
};
class TfsAssignDivStmt : public TfsAssignmentStmt {
public:
  using TfsAssignmentStmt::TfsAssignmentStmt;
  void Run() override;
};

class TfsCallStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsCallStmt() override;
  void Run() override;
  std::unique_ptr<TfsDesignator> Target;
  AnsiString IncDec;
};

// with X do ...: evaluates X once into a hidden variable through which the body's names reach
// X's members.
class TfsWithStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsWithStmt() override;
  void Run() override;
  std::unique_ptr<TfsDesignator> Target;
  TfsCustomVariable* WithVar = nullptr;
};

class TfsIfStmt : public TfsStatement {
public:
  TfsIfStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName);
  ~TfsIfStmt() override;
  void Run() override;
  std::unique_ptr<TfsExpression> Test;
  std::unique_ptr<TfsStatement> ElsePart;
};

class TfsCaseSelector : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsCaseSelector() override;
  bool Matches(const Variant& AValue);
  std::unique_ptr<TfsSetExpression> Labels;
};

class TfsCaseStmt : public TfsStatement {
public:
  TfsCaseStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName);
  ~TfsCaseStmt() override;
  void Run() override;
  std::unique_ptr<TfsExpression> Selector;
  std::unique_ptr<TfsStatement> ElsePart;
};

class TfsRepeatStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsRepeatStmt() override;
  void Run() override;
  std::unique_ptr<TfsExpression> Test;
  bool ExitOnFalse = false;
};

class TfsWhileStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsWhileStmt() override;
  void Run() override;
  std::unique_ptr<TfsExpression> Test;
};

class TfsForStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsForStmt() override;
  void Run() override;
  std::unique_ptr<TfsExpression> FirstValue;
  bool Downward = false;
  std::unique_ptr<TfsExpression> LastValue;
  TfsCustomVariable* LoopVar = nullptr;
};

class TfsVbForStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  ~TfsVbForStmt() override;
  void Run() override;
  std::unique_ptr<TfsExpression> FirstValue;
  std::unique_ptr<TfsExpression> LastValue;
  std::unique_ptr<TfsExpression> StepValue;
  TfsCustomVariable* LoopVar = nullptr;
};

class TfsCppForStmt : public TfsStatement {
public:
  TfsCppForStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName);
  ~TfsCppForStmt() override;
  void Run() override;
  std::unique_ptr<TfsStatement> InitPart;
  std::unique_ptr<TfsExpression> Test;
  std::unique_ptr<TfsStatement> StepPart;
};

class TfsTryStmt : public TfsStatement {
public:
  TfsTryStmt(TfsScript* Script, const AnsiString& ASourcePos, const AnsiString& AUnitName);
  void Run() override;
  bool ExceptMode = false;
  std::unique_ptr<TfsStatement> HandlerPart;
};

class TfsBreakStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  void Run() override;
};
class TfsContinueStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  void Run() override;
};
class TfsExitStmt : public TfsStatement {
public:
  using TfsStatement::TfsStatement;
  void Run() override;
};
