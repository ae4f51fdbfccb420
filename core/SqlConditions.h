// Building the WHERE conditions of the business sets' searches. Every value a user typed becomes
// a parameter; LIKE patterns have their wildcards escaped with '!'.
#pragma once

#include <cstdio>

#include "core/Database.h"
#include "core/Hetong.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"

namespace SqlConditions {

// Whether a criterion was left empty (Null or an empty text).
inline bool Blank(const TField* F) { return F->IsNull() || F->GetAsWideString().empty(); }

inline Variant OrNull(const TField* F) { return F->IsNull() ? Variant::Null() : F->GetValue(); }

// An amount as an SQL literal with two decimals, whatever the locale's separator.
inline AnsiString Fixed2(double Value)
{
  char Buf[64];
  std::snprintf(Buf, sizeof Buf, "%.2f", Value);
  return Buf;
}

// Collects " and ..." conditions in Text and their values in Params (named P1, P2, ...).
struct TConditions {
  WideString Text;
  TDBParameters& Params;

  WideString Param(const Variant& Value)
  {
    AnsiString Name = "P" + SysUtils::IntToStr(static_cast<Int64>(Params.size()) + 1);
    Params.push_back(Database::MakeParam(Name, Value));
    return System::AnsiToWide(":" + Name);
  }
  void Add(const AnsiString& Cond) { Text += System::AnsiToWide(" and " + Cond); }
  void Equal(const AnsiString& Column, const Variant& Value)
  {
    Text += System::AnsiToWide(" and " + Column + "=") + Param(Value);
  }
  // Column contains the criterion's text (or, with Prefix, starts with it).
  void Like(const AnsiString& Column, const TField* F, bool Prefix = false)
  {
    if (Blank(F)) return;
    WideString Pattern = (Prefix ? u"" : u"%") + Hetong::EscapeLike(F->GetAsWideString()) + u"%";
    Text += System::AnsiToWide(" and " + Column + " like ") + Param(Pattern) + u" escape '!'";
  }
  // Dates compare by day: the upper bound takes in the whole day it names.
  void Dates(const AnsiString& Column, const TField* Low, const TField* High)
  {
    const TDatabase& Db = *Database::GlobalDB;
    if (!Low->IsNull()) Add(Column + ">=" + Db.DateLiteral(Low->GetAsDateTime()));
    if (!High->IsNull()) Add(Column + "<" + Db.DateLiteral(High->GetAsDateTime() + 1.0));
  }
  void Amounts(const AnsiString& Column, const TField* Low, const TField* High)
  {
    if (!Low->IsNull()) Add(Column + ">=" + Fixed2(Low->GetAsFloat()));
    if (!High->IsNull()) Add(Column + "<=" + Fixed2(High->GetAsFloat()));
  }
};

}  // namespace SqlConditions
