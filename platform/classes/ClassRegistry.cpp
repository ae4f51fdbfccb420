#include "platform/classes/ClassRegistry.h"

#include <mutex>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"

namespace Classes {
namespace {

struct TRegistry {
  std::vector<std::pair<AnsiString, TClass>> Classes;  // name (or alias) -> class
  std::vector<std::pair<AnsiString, TFindGlobalComponent>> Finders;
  std::recursive_mutex Lock;
};

// Created on first use, so that registering needs no start-up order.
TRegistry& Registry()
{
  static TRegistry registry;
  return registry;
}

TClass Lookup(TRegistry& r, const AnsiString& Name)
{
  for (auto& [name, cls] : r.Classes)
    if (SysUtils::SameText(name, Name)) return cls;
  return nullptr;
}

void Add(TClass AClass, const AnsiString& Name)
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  TClass existing = Lookup(r, Name);
  if (existing == AClass) return;
  if (existing) throw EFilerError("A class named " + Name + " already exists");
  r.Classes.emplace_back(Name, AClass);
}

}  // namespace

void RegisterClass(TClass AClass)
{
  if (AClass) Add(AClass, AClass->ClassName());
}

void RegisterClasses(std::initializer_list<TClass> AClasses)
{
  for (TClass c : AClasses) RegisterClass(c);
}

void RegisterClassAlias(TClass AClass, const AnsiString& Alias)
{
  if (AClass) Add(AClass, Alias);
}

void UnRegisterClass(TClass AClass)
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  std::erase_if(r.Classes, [AClass](const auto& e) { return e.second == AClass; });
}

TClass GetClass(const AnsiString& ClassName)
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  return Lookup(r, ClassName);
}

TClass FindClass(const AnsiString& ClassName)
{
  TClass c = GetClass(ClassName);
  if (!c) throw EClassNotFound("Class " + ClassName + " not found");
  return c;
}

void RegisterFindGlobalComponentProc(const AnsiString& Key, TFindGlobalComponent Proc)
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  for (auto& e : r.Finders)
    if (e.first == Key) {
      e.second = std::move(Proc);
      return;
    }
  r.Finders.emplace_back(Key, std::move(Proc));
}

void UnregisterFindGlobalComponentProc(const AnsiString& Key)
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  std::erase_if(r.Finders, [&](const auto& e) { return e.first == Key; });
}

TComponent* FindGlobalComponent(const AnsiString& Name)
{
  std::vector<TFindGlobalComponent> finders;
  {
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    for (auto& e : r.Finders) finders.push_back(e.second);
  }
  for (auto& f : finders)
    if (TComponent* c = f ? f(Name) : nullptr) return c;
  return nullptr;
}

void Initialize()
{
  RegisterClasses({TPersistent::StaticClass(), TComponent::StaticClass(), TCollection::StaticClass(),
                   TCollectionItem::StaticClass(), TOwnedCollection::StaticClass()});
}

void Finalize()
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  r.Classes.clear();
  r.Finders.clear();
}

}  // namespace Classes
