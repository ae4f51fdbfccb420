// Type rules and readers shared by the compiler and the libraries: the kind of a type name,
// type compatibility, the constants of the intermediate form and host declaration texts.
#pragma once

#include "platform/rtl/Variants.h"
#include "report/script/interp/fs_iitems.h"

namespace fs_itypes {

// The kind of the item named TypeName in Script or its parents; ikClass when there is none.
TfsItemKind KindOfType(const AnsiString& TypeName, const TfsScript* Script);
// Whether a value of the source kind/type may go where the target is expected.
bool TypesCompatible(TfsItemKind TargetKind, const AnsiString& TargetType, TfsItemKind SourceKind,
                     const AnsiString& SourceType);
// As TypesCompatible, but an Integer variable refuses a Float expression.
bool AssignCompatible(const TfsCustomVariable* Variable, const TfsCustomVariable* Expression);
// Empty gives Null; a quoted text its string; else a 64-bit integer ("$" for hex) or a float
// with "." as separator. Anything else raises EConvertError.
Variant ParseConstant(const AnsiString& Text);
// Reads "function Name(a, b: T = v; var c: U): R" (also procedure and macro forms) into a new
// item (owned by the caller) whose entries are TfsParamItem. Raises Exception for a bad text.
TfsCustomVariable* ParseDeclaration(const AnsiString& Text, const TfsScript* Script);

}  // namespace fs_itypes
