// Rewrites a statement in the SQL Server (or Access) dialect into one PostgreSQL takes:
// "[name]" and "name" in double quotes become the folded name "name" (PostgreSQL folds unquoted
// names to lower case, so bracketed and bare spellings meet), "top N" becomes a LIMIT of its
// SELECT, the interval of DateDiff(d, ...) is quoted, ":Name" markers become numbered
// parameters, and in CREATE TABLE / ALTER TABLE the column types become the provider's types
// (texts case-insensitive, bits as small integers, identities, ...); "rowid" becomes the row's
// address (ctid) and "column is :value" matches Nulls too, as the datasets' write-back needs
// ("is not distinct from"). Values are never pasted
// into the text: parameters stay parameters.
// The functions the dialect calls (GetDate, DateDiff, Len, abs on bits, day arithmetic on
// dates) are created in the database by the provider.
#pragma once

#include <string>
#include <vector>

#include "platform/db/DB.h"

namespace PgDialect {

// A column a CREATE TABLE or ALTER TABLE ... ADD declares, with its spelling as written (the
// engine keeps the folded name) and the size of a text column (0 for others).
struct TDeclaredColumn {
  std::string Table;     // folded, UTF-8
  std::string Column;    // folded, UTF-8
  std::string Spelling;  // as written, UTF-8
  Integer Size = 0;
};

struct TRewritten {
  std::string Sql;                       // UTF-8
  std::vector<WideString> ParamNames;    // $N binds ParamNames[N-1]
  std::vector<TDeclaredColumn> Columns;  // for DDL only
  std::vector<std::string> Spellings;    // every bare or bracketed name as written, UTF-8
};

TRewritten Rewrite(const WideString& Sql);

// The provider's type names, created with the compatibility functions.
inline constexpr const char* TextType = "pelto_text";
inline constexpr const char* MemoType = "pelto_memo";
inline constexpr const char* BitType = "pelto_bit";

}  // namespace PgDialect
