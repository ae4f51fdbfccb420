// Rewrites a statement in the Access dialect into one SQLite takes: "#yyyy-mm-dd#" and
// "#m/d/yyyy#" literals become day numbers, "[name]" becomes "name", "text" in double quotes
// becomes 'text', True/False become 1/0, a bare Now becomes Now(), "top N" becomes a LIMIT of
// its SELECT, Left( and Right( become jet_left( and jet_right( (SQLite reads them as join
// keywords), & becomes ||, ":Name" markers become numbered placeholders, and in CREATE TABLE
// text columns take the collation JETTEXT (code page 936 order, ignoring case; the provider
// registers it) and MEMO becomes LONGTEXT so SQLite keeps its values as text.
// The functions the dialect calls (Now, Date, DateDiff, Len, Left, ...) are registered by the
// provider on each connection.
#pragma once

#include <string>
#include <vector>

#include "platform/db/DB.h"

namespace JetDialect {

struct TRewritten {
  std::string Sql;                     // UTF-8
  std::vector<WideString> ParamNames;  // placeholder ?N binds ParamNames[N-1]
};

// Raises EOleException for a malformed date literal.
TRewritten Rewrite(const WideString& Sql);

// Day number of a literal's text ("2009-03-05", "2009-03-05 14:30:00", "3/5/2009"); false when
// the text is no date.
bool ParseDateLiteral(const WideString& Text, double& Days);

}  // namespace JetDialect
