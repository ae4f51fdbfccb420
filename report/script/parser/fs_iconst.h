// The message texts of the script compiler. The texts that end in ": " are followed by the
// offending name in single quotes.
#pragma once

namespace fs_iconst {

inline constexpr const char* SLangNotFound = "Language '%s' not found";
inline constexpr const char* SInvalidLanguage = "Invalid language definition";
inline constexpr const char* SIdRedeclared = "Identifier redeclared: ";
inline constexpr const char* SUnknownType = "Unknown type: ";
inline constexpr const char* SIncompatibleTypes = "Incompatible types";
inline constexpr const char* SIdUndeclared = "Undeclared identifier: ";
inline constexpr const char* SClassRequired = "Class type required";
inline constexpr const char* SIndexRequired = "Index required";
inline constexpr const char* SStringError = "Strings doesn't have properties or methods";
inline constexpr const char* SClassError = "Class %s does not have a default property";
inline constexpr const char* SArrayRequired = "Array type required";
inline constexpr const char* SVarRequired = "Variable required";
inline constexpr const char* SNotEnoughParams = "Not enough actual parameters";
inline constexpr const char* STooManyParams = "Too many actual parameters";
inline constexpr const char* SLeftCantAssigned = "Left side cannot be assigned to";
inline constexpr const char* SForError = "For loop variable must be numeric variable";
inline constexpr const char* SEventError = "Event handler must be a procedure";
// Text behind what a language's program form reads, and a program that no form fits.
inline constexpr const char* SStatementExpected = "Statement expected";
// Array bounds that span more elements than a script may hold.
inline constexpr const char* SArrayTooLarge = "Array is too large";
// Nesting deeper than the parser walks; it guards the call stack.
inline constexpr const char* STooDeeplyNested = "Program is nested too deeply";
// A value computed while compiling (a constant, a bound, a default) whose code does not end.
inline constexpr const char* SEvalTooLong = "Expression cannot be computed at compile time: it runs too long";

}  // namespace fs_iconst
