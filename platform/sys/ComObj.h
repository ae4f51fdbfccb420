// Automation objects by class name: a registry of the system's own late-bound objects and
// CreateOleObject, which answers one as a Variant (varDispatch) to be called by name through
// Variant::Exec, Get and Set.
#pragma once

#include <functional>

#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

namespace ComObj {

// Makes a new object; the Variant that receives it owns it.
using TOleObjectFactory = std::function<IDispatch*()>;

// Registers (or replaces) a class. Class names compare ignoring ASCII case.
void RegisterOleClass(const AnsiString& ClassName, TOleObjectFactory Factory);
// Removes a class; not an error when it is not registered.
void UnregisterOleClass(const AnsiString& ClassName);

// A new object of the class. Raises EOleSysError "Invalid class string" for a name that is
// not registered; an error of the factory propagates.
Variant CreateOleObject(const AnsiString& ClassName);

// Registers the built-in classes ("excel.application", "ADODB.Connection"). Idempotent.
void Initialize();
// Forgets every registered class.
void Finalize();

}  // namespace ComObj
