// Host class binding: the class item a script sees for a host class, its members (methods,
// properties, indexed and default properties, events) and the callbacks through which they
// reach host code. Published properties come through the type information of platform/classes.
//
// Objects travel as handles (fs_ihandles.h). Every member checks the object of the previous
// step for life and class before it calls the host: a nil, unknown, freed or foreign object
// raises EInvalidPointer or EInvalidCast, a script run-time error.
//
// Callbacks receive the upper-case member name (indexed properties with ".GET" / ".SET"),
// ClassType = the TClass of the class item the member was registered under, and Params = a
// Variant array of the parameter values (var parameters are written back from it). A
// constructor is called with Instance nil and ClassType = the class being constructed, and
// answers the new object's handle (fs_ihandles::Adopt).
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/TypInfo.h"
#include "report/script/interp/fs_iitems.h"

class TfsCustomEvent;
class TfsProcVariable;

using TfsPropGetCallback = std::function<Variant(TObject* Instance, const void* ClassType, const AnsiString& PropName)>;
using TfsPropSetCallback =
    std::function<void(TObject* Instance, const void* ClassType, const AnsiString& PropName, const Variant& Value)>;
// Makes the adapter of one event kind for (object, handler); the caller owns the result.
using TfsEventFactory = TfsCustomEvent* (*)(TObject* BoundObject, TfsProcVariable* HandlerProc);
// Whether an object is of the class an item stands for.
using TfsInstanceCheck = bool (*)(const TObject* Obj);

template <class T>
bool fsIsInstance(const TObject* Obj)
{
  return dynamic_cast<const T*>(Obj) != nullptr;
}

class TfsClassVariable : public TfsCustomVariable {
public:
  // Lists the published properties of AClassRef (events excepted) as members, by name.
  // Check decides which objects belong to the class; without it the type information does.
  TfsClassVariable(TClass AClassRef, const AnsiString& AAncestorName, TfsScript* AOwnerScript,
                   TfsInstanceCheck ACheck = nullptr);

  // The members stay owned by the class item; each Add answers the new member.
  TfsMethodHelper* AddMethod(const AnsiString& Syntax, TfsMethodCallback CallBack);
  // "constructor Create(...)": added as a function of type Constructor.
  TfsMethodHelper* AddConstructor(const AnsiString& Syntax, TfsMethodCallback CallBack);
  // Read-only when Setter is empty.
  TfsCustomHelper* AddProperty(const AnsiString& AName, const AnsiString& ATypeName, TfsPropGetCallback Getter,
                               TfsPropSetCallback Setter = nullptr);
  // IndexTypes is a comma list of type names.
  TfsMethodHelper* AddIndexProperty(const AnsiString& AName, const AnsiString& IndexTypes, const AnsiString& ResultType,
                                    TfsMethodCallback CallBack, bool ReadOnly = false);
  TfsMethodHelper* AddDefaultProperty(const AnsiString& AName, const AnsiString& IndexTypes,
                                      const AnsiString& ResultType, TfsMethodCallback CallBack, bool ReadOnly = false);
  // The published event property AName, handled by adapters that Factory makes.
  TfsCustomHelper* AddEvent(const AnsiString& AName, TfsEventFactory Factory);

  // The member of that name (ASCII case ignored) here or up the ancestor names; null when none.
  TfsCustomVariable* FindMember(const AnsiString& AName) const;
  Integer MemberCount() const { return Members.GetCount(); }
  TfsCustomVariable* MemberAt(Integer Index) const { return static_cast<TfsCustomVariable*>(Members.EntryAt(Index)); }
  // Whether Obj (not null) is an instance of this class.
  bool Accepts(const TObject* Obj) const;
  // The live object of V, checked for this class; nil raises too.
  TObject* InstanceOf(const Variant& V) const;

  // Without the cast argument: Null (a constructor follows); with it: the argument, checked.
  Variant GetValue() override;

  AnsiString AncestorName;
  TClass ClassRef;
  TfsCustomVariable* DefaultProperty = nullptr;
  TfsItemList Members;
  TfsScript* OwnerScript;
  TfsInstanceCheck Check;
};

class TfsPropertyHelper : public TfsCustomHelper {
public:
  TfsPropertyHelper(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName);
  Variant GetValue() override;
  void SetValue(const Variant& AValue) override;

  TfsClassVariable* OwnerClass = nullptr;
  bool IsPublished = false;
  TfsPropGetCallback Getter;
  TfsPropSetCallback Setter;
};

// An event member: assigning a procedure name binds it, assigning 0 (nil) clears the event.
// A handler already bound to that object and event is replaced and its adapter freed.
class TfsEventHelper : public TfsCustomHelper {
public:
  TfsEventHelper(const AnsiString& AName, TfsEventFactory AFactory);
  Variant GetValue() override { return Variant(AnsiString()); }
  // Raises Exception "Event handler must be a procedure" for a name that is no script procedure.
  void SetValue(const Variant& AValue) override;

  TfsClassVariable* OwnerClass = nullptr;
  TfsEventFactory Factory;
};
