// The classes library: objects, persistent objects, collections, pointer lists, string lists,
// streams and components for scripts, registered in the global script. Objects reach scripts as
// handles (host/fs_ihandles.h); every member checks its object and its object arguments.
//
// A script may free only what it created; freeing an object the program handed in (or one
// reached through another object) raises EInvalidOperation, since the program still holds it.
#pragma once

class TfsScript;
class TMetaClass;

namespace fs_iclassesrtti {

// Registers the constants, TDuplicates and the classes in Script, stamped with the library.
void Register(TfsScript* Script);
// Removes what Register entered.
void Unregister(TfsScript* Script);

// Class references of the run-time library's classes that do not declare their own.
const TMetaClass* ListClass();
const TMetaClass* StreamClass();
const TMetaClass* FileStreamClass();
const TMetaClass* MemoryStreamClass();

}  // namespace fs_iclassesrtti
