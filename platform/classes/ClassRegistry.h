// The registry of classes by name, through which stored forms (component streams, report
// files) create objects from a class name.
//
// Registering is idempotent: registering a class again does nothing. Registering another class
// under a name already taken raises EFilerError "A class named %s already exists". Names
// compare ignoring ASCII case. The registry holds class references only (they live for the
// run); Finalize empties it.
#pragma once

#include <functional>
#include <initializer_list>

#include "platform/classes/TypInfo.h"

class TComponent;

namespace Classes {

void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> AClasses);
// Registers AClass under another name as well (older stored names of a class).
void RegisterClassAlias(TClass AClass, const AnsiString& Alias);
// Not an error when the class is not registered.
void UnRegisterClass(TClass AClass);
// nullptr when no class of that name is registered.
TClass GetClass(const AnsiString& ClassName);
// Raises EClassNotFound "Class %s not found" when no class of that name is registered.
TClass FindClass(const AnsiString& ClassName);

// Global components (forms and data modules of the program) by name, for references between
// them in stored forms. A finder answers nullptr for a name it does not know; finders are
// asked in the order they were registered. Registering the same finder twice is not possible
// to detect for std::function, so each gets a key; registering a key again replaces it.
using TFindGlobalComponent = std::function<TComponent*(const AnsiString& Name)>;
void RegisterFindGlobalComponentProc(const AnsiString& Key, TFindGlobalComponent Proc);
void UnregisterFindGlobalComponentProc(const AnsiString& Key);
// nullptr when no finder knows the name.
TComponent* FindGlobalComponent(const AnsiString& Name);

// Registers the module's own streamable classes (TComponent's kin are abstract here, so only
// the collection classes); idempotent. Finalize empties the registries.
void Initialize();
void Finalize();

}  // namespace Classes
