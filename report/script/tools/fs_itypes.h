// Type rules and readers shared by the compiler and the libraries: the kind of a type name,
// type compatibility, the constants of the intermediate form and host declaration texts.
#pragma once

#include "platform/rtl/Variants.h"
#include "report/script/interp/fs_iitems.h"

namespace fs_itypes {

// The kind of the item named TypeName in Script or its parents; ikClass when there is none.
TfsItemKind KindOfType(const AnsiString& TypeName, const TfsScript* Script);
// True when both names are host classes of Script and Derived is Base or descends from it.
bool ClassInherits(const AnsiString& BaseName, const AnsiString& DerivedName, const TfsScript* Script);
// Whether a value of the source kind/type may go where the target is expected. Classes are
// checked with ClassInherits when Script is given, else by equal names.
bool TypesCompatible(TfsItemKind TargetKind, const AnsiString& TargetType, TfsItemKind SourceKind,
                     const AnsiString& SourceType, const TfsScript* Script = nullptr);
// As TypesCompatible, but an Integer variable refuses a Float expression.
bool AssignCompatible(const TfsCustomVariable* Variable, const TfsCustomVariable* Expression,
                      const TfsScript* Script = nullptr);
// Empty gives Null; a quoted text its string; else a 64-bit integer ("$" for hex) or a float
// with "." as separator. Anything else raises EConvertError.
Variant ParseConstant(const AnsiString& Text);
// Reads "function Name(a, b: T = v; var c: U): R" (also procedure and macro forms) into a new
// item (owned by the caller) whose entries are TfsParamItem. Raises Exception for a bad text.
TfsCustomVariable* ParseDeclaration(const AnsiString& Text, const TfsScript* Script);

// "line:column" as X = column, Y = line; the empty text gives (0, 0). Raises EConvertError when
// either number is missing.
struct TfsPoint {
  Integer X = 0;
  Integer Y = 0;
};
TfsPoint PositionToPoint(const AnsiString& PosText);

}  // namespace fs_itypes
