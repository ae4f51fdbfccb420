// The system library: conversion, formatting, date, string, mathematics and other functions,
// and the Variant type constants, registered in the global script.
#pragma once

#include <functional>

#include "platform/rtl/Variants.h"

class TfsScript;

namespace fs_isysrtti {

// Registers everything in Script, stamped with the library's own registrar.
void Register(TfsScript* Script);
// Removes what Register entered.
void Unregister(TfsScript* Script);

// Creates an automation object from its class name. Until the automation layer installs one,
// every name is refused with EOleError-like Exception "Invalid class string".
using TCreateOleObject = std::function<Variant(const AnsiString& ClassName)>;
// Installs a creator (empty restores the refusing default); answers the one it replaces.
TCreateOleObject SetCreateOleObject(TCreateOleObject Creator);

// Lays Value out through an edit mask "<mask>[;<save literals 0|1>[;<blank char>]]".
AnsiString FormatMaskText(const AnsiString& EditMask, const AnsiString& Value);

}  // namespace fs_isysrtti
