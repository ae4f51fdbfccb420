// Interface queries. An interface here is an abstract class; an object supports it when its
// class derives from it. There is no reference counting: objects live as their owners decide
// (components by their owner, persistents by whoever holds them), as the classic
// non-counting implementations (answering -1 from AddRef and Release) behaved.
#pragma once

#include "platform/classes/Persistent.h"

namespace Classes {

// The object's implementation of I; nullptr when Obj is nullptr or does not support I.
template <class I, class T>
I* QueryInterface(T* Obj)
{
  return dynamic_cast<I*>(Obj);
}

template <class I, class T>
bool Supports(T* Obj)
{
  return QueryInterface<I>(Obj) != nullptr;
}

// Sets Intf to the object's implementation of I (nullptr when it has none).
template <class I, class T>
bool Supports(T* Obj, I*& Intf)
{
  Intf = QueryInterface<I>(Obj);
  return Intf != nullptr;
}

}  // namespace Classes

// A persistent that implements interfaces; it adds nothing else, counting no references.
class TInterfacedPersistent : public TPersistent {
  PELTO_CLASS(TInterfacedPersistent, TPersistent)
};
