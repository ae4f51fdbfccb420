// Object handles: host objects reach scripts only as integer handles, never as addresses. A
// handle is checked for life (and, by the caller's test, for class) before every member call,
// cast or free, so a script cannot make the program touch freed or foreign memory.
//
// Handle 0 is nil. A handle stays known after its object is freed through the script (it then
// reads as dead); a number that was never a handle is unknown. Both raise EInvalidPointer.
// Components are watched: when one is deleted by its owner its handle dies with it. A plain
// object that the host frees itself must be forgotten first (Forget), else its handle keeps
// pointing at it; that is the host's contract.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

namespace fs_ihandles {

// The handle of Obj (0 for nullptr), made on first sight. Raises EInvalidPointer for an address
// that the script freed and that was not handed out again since (a stale pointer held by a host
// list).
Integer HandleOf(TObject* Obj);
Variant ToVariant(TObject* Obj);
// The live object of a handle held in V; nullptr for nil and Null. Raises EInvalidPointer
// "Invalid object reference" for an unknown number and "Object has been freed" for a dead
// handle; EConvertError for a value that is no number.
TObject* ObjectOf(const Variant& V);
// As ObjectOf, but nil raises too ("Object reference is nil").
TObject* LiveObjectOf(const Variant& V);
// The handle of Obj, an object that lives inside Owner (a bitmap's canvas, a control's font):
// it dies with Owner's handle, however Owner goes (freed by the script, by its owner, forgotten).
Variant ToVariantWithin(TObject* Obj, TObject* Owner);
// Obj, made by the script, must end before Owner (a metafile canvas recording into its
// metafile): releasing Owner first deletes Obj and kills its handle. Obj's own release undoes it.
void EndsBefore(TObject* Obj, TObject* Owner);
// The handle of an object just made by the script (its address may be one the script freed).
Variant Adopt(TObject* Obj);
// Whether Obj has a live handle made by Adopt.
bool CreatedByScript(TObject* Obj);
// Marks Obj's handle dead before the object is deleted; later uses of it raise.
void Released(TObject* Obj);
// As Released, for an object freed with its owner: nothing when it never had a handle.
void ReleasedWithOwner(TObject* Obj);
// The host forgets Obj: its handle dies, and its address may be handed out again freely.
void Forget(TObject* Obj);
// Drops every handle (the interpreter's finalization).
void Clear();

}  // namespace fs_ihandles
