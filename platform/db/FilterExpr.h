// The text of a dataset's Filter, parsed once and evaluated per record.
//   expr := term {OR term};  term := factor {AND factor};  factor := NOT factor | '(' expr ')' | cmp
//   cmp  := operand (= | <> | != | < | > | <= | >= | [NOT] LIKE) operand | operand IS [NOT] NULL
//   operand := field name (bare or [bracketed]) | 'text' | number | #date# | NULL | TRUE | FALSE
// Texts compare ignoring case; LIKE takes % or * for any run and _ or ? for one character.
// A comparison with Null is false ("= NULL" tests for Null).
#pragma once

#include <memory>

#include "platform/db/DB.h"

class TDataSet;

class TFilterExpression {
public:
  virtual ~TFilterExpression() = default;
  // Raises EDatabaseError naming the filter for malformed text.
  static std::unique_ptr<TFilterExpression> Parse(const AnsiString& Text);
  // Reads the fields of the dataset's active record; raises EDatabaseError for an unknown field.
  virtual bool Evaluate(TDataSet* DataSet) const = 0;
};

namespace FilterExpr {
// LIKE matching of CP936 texts, ignoring ASCII case.
bool MatchLike(const AnsiString& Text, const AnsiString& Pattern);
}  // namespace FilterExpr
