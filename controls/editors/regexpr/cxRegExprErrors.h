// Compile errors of a regular-expression mask: the collected list and the exception that
// reports it.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"

class TcxRegExprError {
public:
  TcxRegExprError(int ALine, int AColumn, const AnsiString& AMessage)
      : FLine(ALine), FColumn(AColumn), FMessage(AMessage)
  {}
  int GetLine() const { return FLine; }
  int GetColumn() const { return FColumn; }
  const AnsiString& GetMessage() const { return FMessage; }
  // "Line<n>, Char<c>: <message>"; the column part only when the column is above 0, the
  // whole prefix only when the line is. The words come from the localisable texts.
  AnsiString Text() const;

private:
  int FLine;
  int FColumn;
  AnsiString FMessage;
};

class TcxRegExprErrors {
public:
  void Add(int ALine, int AColumn, const AnsiString& AMessage) { FItems.emplace_back(ALine, AColumn, AMessage); }
  int Count() const { return static_cast<int>(FItems.size()); }
  const TcxRegExprError& Items(int Index) const { return FItems[Index]; }
  void Clear() { FItems.clear(); }

private:
  std::vector<TcxRegExprError> FItems;
};

// Raised by TcxRegExpr::Compile with every error found; its own message is empty.
// It holds its own copy of the errors, so it stays valid after the expression is gone.
class EcxRegExprError : public Exception {
public:
  explicit EcxRegExprError(const TcxRegExprErrors& AErrors)
      : Exception(AnsiString()), FErrors(std::make_shared<TcxRegExprErrors>(AErrors))
  {}
  const char* ClassName() const override { return "EcxRegExprError"; }
  const TcxRegExprErrors& GetErrors() const { return *FErrors; }

private:
  std::shared_ptr<const TcxRegExprErrors> FErrors;
};
