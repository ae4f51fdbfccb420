// Declaring a class to the type information. A class declared in a header declares its class
// reference and published list there and defines them in its .cpp, so that they compile once
// rather than in every file that uses the class's type information:
//
//   class TFilterWrapper : public TComponent {          // FilterWrapper.h
//     PELTO_DECLARE_CLASS(TFilterWrapper, TComponent)
//   public:
//     ...
//     PELTO_PUBLISHED(p);
//   };
//
//   PELTO_DEFINE_CLASS(TFilterWrapper)                  // FilterWrapper.cpp
//   PELTO_PUBLISH(TFilterWrapper, p)
//   {
//     p.Property("Filter", &TFilterWrapper::GetFilter, &TFilterWrapper::SetFilter);
//     p.Property("Color", TypeInfo_TColor(), &TFilterWrapper::GetColor, &TFilterWrapper::SetColor)
//         .Default(0);
//   }
//
// A class declared in a .cpp (or a test) may keep both inline: PELTO_CLASS(TName, TBase) and
// PELTO_PUBLISHED(p) { ... }. scripts/publish-out-of-line.py turns the inline form into the split one.
//
// The class macros give the class its class reference (StaticClass, built on first use), and the
// overrides of TObject::ClassType and ClassName. The published list names the properties the
// class publishes, in order, after its ancestors'. A getter is a member function, a member
// field or a callable taking the object; a setter likewise, or nullptr for a read-only
// property. Properties of alias types ("TColor") name their type record explicitly.
//
// Construction from a class reference (TMetaClass::Create) uses the class's one-argument
// constructor when the class names that argument's type as TConstructArg (TComponent: the
// owner; TCollectionItem: the collection), else its default constructor; an abstract class
// cannot be created from its reference.
//
// Type records: PELTO_ENUM(Name, a, b, c) declares an enumeration with its element names;
// PELTO_SET(Name, Element) a Set<Element> named Name; PELTO_TYPE_ALIAS(Name, Base) an alias
// with its own record TypeInfo_Name(); PELTO_EVENT_TYPE(Name, Signature) an event type
// (std::function<Signature>) with TypeInfo_Name(). All at namespace scope.
#pragma once

#include <any>
#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exceptions.h"

template <class C>
class TPublisher;

namespace TypInfo {

template <class T>
concept ObjectPointer = std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>;

template <class T>
struct IsStdFunction : std::false_type {};
template <class S>
struct IsStdFunction<std::function<S>> : std::true_type {};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<Set<E>> : std::true_type {};

// Rounds to four decimals; a value beyond Currency's range (or NaN) raises EPropertyError
// "Invalid property value".
inline Currency ToCurrency(Extended v)
{
  Extended scaled = v * Currency::Scale;
  if (!(scaled > -9.2233720368547758e18L && scaled < 9.2233720368547758e18L))
    throw EPropertyError("Invalid property value");
  return Currency::FromRaw(static_cast<Int64>(scaled + (scaled < 0 ? -0.5L : 0.5L)));
}

// Converts a property value of type V to and from its kind's carrier.
template <class V>
struct Carrier {
  static constexpr bool Ordinal = std::is_integral_v<V> || std::is_enum_v<V> || IsSet<V>::value;
  static constexpr bool Float =
      std::is_floating_point_v<V> || std::is_same_v<V, TDateTime> || std::is_same_v<V, Currency>;
  static constexpr bool Object = ObjectPointer<V>;
  static constexpr bool Method = IsStdFunction<V>::value;

  static void Put(const V& v, void* out)
  {
    if constexpr (IsSet<V>::value)
      *static_cast<Int64*>(out) = static_cast<Int64>(v.Mask());
    else if constexpr (std::is_same_v<V, char>)
      *static_cast<Int64*>(out) = static_cast<unsigned char>(v);
    else if constexpr (Ordinal)
      *static_cast<Int64*>(out) = static_cast<Int64>(v);
    else if constexpr (std::is_same_v<V, Currency>)
      *static_cast<Extended*>(out) = static_cast<Extended>(v.Raw) / Currency::Scale;
    else if constexpr (std::is_same_v<V, TDateTime>)
      *static_cast<Extended*>(out) = v.Value;
    else if constexpr (Float)
      *static_cast<Extended*>(out) = v;
    else if constexpr (Object)
      *static_cast<TObject**>(out) = v;
    else if constexpr (Method)
      *static_cast<std::any*>(out) = v ? std::any(v) : std::any();
    else
      *static_cast<V*>(out) = v;  // AnsiString, WideString, Variant
  }
  static V Take(const void* in)
  {
    if constexpr (IsSet<V>::value)
      return V::FromMask(static_cast<std::uint64_t>(*static_cast<const Int64*>(in)));
    else if constexpr (std::is_same_v<V, bool>)
      return *static_cast<const Int64*>(in) != 0;
    else if constexpr (Ordinal)
      return static_cast<V>(*static_cast<const Int64*>(in));
    else if constexpr (std::is_same_v<V, Currency>)
      return ToCurrency(*static_cast<const Extended*>(in));
    else if constexpr (std::is_same_v<V, TDateTime>)
      return TDateTime(static_cast<double>(*static_cast<const Extended*>(in)));
    else if constexpr (Float)
      return static_cast<V>(*static_cast<const Extended*>(in));
    else if constexpr (Object) {
      TObject* o = *static_cast<TObject* const*>(in);
      if (!o) return nullptr;
      V cast = dynamic_cast<V>(o);
      if (!cast) throw EInvalidCast("Invalid class typecast");
      return cast;
    } else if constexpr (Method) {
      const std::any& a = *static_cast<const std::any*>(in);
      if (!a.has_value()) return V();
      const V* f = std::any_cast<V>(&a);
      if (!f) throw EInvalidCast("Invalid class typecast");
      return *f;
    } else
      return *static_cast<const V*>(in);
  }
};

// A member function or field of a class taken as one of TObject, which it always may be (TObject
// is the single root): the accessors of every class then share one converting function per value
// type, which keeps the code the published properties generate small. Anything else (a callable
// taking the object) stays as it is.
template <class G>
struct ObjectMember {
  using Type = void;
};
#define PELTO_OBJECT_MEMBER(Qualifiers)            \
  template <class R, class K, class... A>          \
  struct ObjectMember<R (K::*)(A...) Qualifiers> { \
    using Type = R (TObject::*)(A...) Qualifiers;  \
  };
PELTO_OBJECT_MEMBER()
PELTO_OBJECT_MEMBER(const)
PELTO_OBJECT_MEMBER(noexcept)
PELTO_OBJECT_MEMBER(const noexcept)
#undef PELTO_OBJECT_MEMBER
template <class R, class K>
struct ObjectMember<R K::*> {  // a member field
  using Type = R TObject::*;
};

template <class G>
auto OnObject(G Accessor)
{
  using M = typename ObjectMember<G>::Type;
  if constexpr (!std::is_void_v<M> && requires { static_cast<M>(Accessor); })
    return static_cast<M>(Accessor);
  else
    return Accessor;
}

template <class G>
constexpr bool IsObjectMember = std::is_same_v<typename ObjectMember<G>::Type, G>;

// The stored accessors. Those OnObject made members of TObject do not depend on the class, so
// one instance serves every class with accessors of that signature.
template <class V, class G>
std::function<void(const TObject*, void*)> ObjectGetter(G Getter)
{
  return
      [Getter](const TObject* obj, void* out) { Carrier<V>::Put(std::invoke(Getter, const_cast<TObject*>(obj)), out); };
}

template <class V, class S>
std::function<void(TObject*, const void*)> ObjectSetter(S Setter)
{
  return [Setter](TObject* obj, const void* in) {
    if constexpr (std::is_member_object_pointer_v<S>)
      obj->*Setter = Carrier<V>::Take(in);
    else
      std::invoke(Setter, obj, Carrier<V>::Take(in));
  };
}

template <class C, class V, class G>
std::function<void(const TObject*, void*)> MakeGetter(G Getter)
{
  if constexpr (IsObjectMember<G>)
    return ObjectGetter<V>(Getter);
  else
    return [Getter](const TObject* obj, void* out) {
      C* self = static_cast<C*>(const_cast<TObject*>(obj));
      Carrier<V>::Put(std::invoke(Getter, self), out);
    };
}

template <class C, class V, class S>
std::function<void(TObject*, const void*)> MakeSetter(S Setter)
{
  if constexpr (IsObjectMember<S>)
    return ObjectSetter<V>(Setter);
  else
    return [Setter](TObject* obj, const void* in) {
      C* self = static_cast<C*>(obj);
      if constexpr (std::is_member_object_pointer_v<S>)
        self->*Setter = Carrier<V>::Take(in);
      else
        std::invoke(Setter, self, Carrier<V>::Take(in));
    };
}

template <class T>
TClass ParentClassOf()
{
  if constexpr (std::is_same_v<T, TObject>)
    return ObjectClass();
  else if constexpr (requires { T::StaticClass(); })
    return T::StaticClass();
  else
    return TypeInfoFor(static_cast<T**>(nullptr))->ClassType;
}

template <class T>
TMetaClass::TFactory FactoryOf()
{
  if constexpr (std::is_abstract_v<T>) {
    return nullptr;
  } else if constexpr (requires { typename T::TConstructArg; }) {
    using A = typename T::TConstructArg;  // pointer to the argument's class
    if constexpr (std::is_constructible_v<T, A>)
      return [](TObject* arg) -> TObject* {
        A a = nullptr;
        if (arg) {
          a = dynamic_cast<A>(arg);
          if (!a) throw EInvalidCast("Invalid class typecast");
        }
        return new T(a);
      };
    else if constexpr (std::is_default_constructible_v<T>)
      return [](TObject*) -> TObject* { return new T(); };
    else
      return nullptr;
  } else if constexpr (std::is_default_constructible_v<T>) {
    return [](TObject*) -> TObject* { return new T(); };
  } else {
    return nullptr;
  }
}

template <class T, class Base>
TClass DefineClass(const char* Name)
{
  auto* meta = new TMetaClass(Name, ParentClassOf<Base>(), FactoryOf<T>());  // lives for the run
  // Visible before the properties are published: a class may have properties of its own type.
  ClassInBuilding<T>.store(meta);
  if constexpr (requires(TPublisher<T> & p) { T::Published(p); }) {
    TPublisher<T> p(meta);
    T::Published(p);
  }
  return meta;
}

// A class reference for a class of a lower layer that cannot use PELTO_CLASS (TStrings).
template <class T, class Base>
TClass ExternalClass(const char* Name)
{
  static const TClass meta = DefineClass<T, Base>(Name);
  return meta;
}

}  // namespace TypInfo

// Fluent settings of one property while it is published.
class TPropertyDef {
public:
  explicit TPropertyDef(TPropInfo* P) : FProp(P) {}
  // The declared default of an ordinal property (enumerations and sets by their ordinal or
  // mask); a property without one is always stored.
  template <class V>
  TPropertyDef& Default(V Value)
  {
    Int64 raw = 0;
    TypInfo::Carrier<V>::Put(Value, &raw);
    FProp->HasDefault = true;
    FProp->Default = raw;
    return *this;
  }
  TPropertyDef& NoDefault()
  {
    FProp->HasDefault = false;
    return *this;
  }
  TPropertyDef& Stored(bool Value)
  {
    FProp->StoredFlag = Value;
    FProp->StoredProc = nullptr;
    return *this;
  }
  // Pred is called with the object (as its own class) and answers whether to store.
  template <class F>
  requires std::invocable<F, const TObject*> TPropertyDef& StoredWhen(F Pred)
  {
    FProp->StoredProc = Pred;
    return *this;
  }
  TPropInfo* Info() const { return FProp; }

private:
  TPropInfo* FProp;
};

template <class C>
class TPublisher {
public:
  explicit TPublisher(TMetaClass* Meta) : FMeta(Meta) {}

  template <class G, class S>
  TPropertyDef Property(const char* Name, G Getter, S Setter)
  {
    using V = std::remove_cvref_t<std::invoke_result_t<G, C*>>;
    return Property(Name, TypInfo::TypeInfo<V>(), Getter, Setter);
  }

  template <class G, class S>
  TPropertyDef Property(const char* Name, const TTypeInfo* Type, G Getter, S Setter)
  {
    using V = std::remove_cvref_t<std::invoke_result_t<G, C*>>;
    auto p = std::make_unique<TPropInfo>();
    p->PropType = Type;
    p->Name = Name;
    p->DeclaringClass = FMeta;
    p->Getter = TypInfo::MakeGetter<C, V>(TypInfo::OnObject(Getter));
    if constexpr (!std::is_same_v<S, std::nullptr_t>) p->Setter = TypInfo::MakeSetter<C, V>(TypInfo::OnObject(Setter));
    return TPropertyDef(FMeta->AddProperty(std::move(p)));
  }

  // A stored rule taking the object as its class.
  template <class F>
  static auto When(F Pred)
  {
    return [Pred](const TObject* obj) { return Pred(static_cast<const C*>(obj)); };
  }

private:
  TMetaClass* FMeta;
};

#define PELTO_CLASS(Name, Base)                                          \
public:                                                                  \
  using inherited = Base;                                                \
  using ThisClass = Name;                                                \
  static TClass StaticClass()                                            \
  {                                                                      \
    static const TClass meta = TypInfo::DefineClass<Name, Base>(#Name);  \
    return meta;                                                         \
  }                                                                      \
  const TMetaClass* ClassType() const override { return StaticClass(); } \
  const char* ClassName() const override { return #Name; }               \
                                                                         \
private:

// The class macros of a header: StaticClass and ClassType are defined by PELTO_DEFINE_CLASS.
#define PELTO_DECLARE_CLASS(Name, Base)                    \
public:                                                    \
  using inherited = Base;                                  \
  using ThisClass = Name;                                  \
  static constexpr const char* StaticClassName = #Name;    \
  static TClass StaticClass();                             \
  const TMetaClass* ClassType() const override;            \
  const char* ClassName() const override { return #Name; } \
                                                           \
private:

#define PELTO_DEFINE_CLASS(Name)                                                                   \
  TClass Name::StaticClass()                                                                       \
  {                                                                                                \
    static const TClass meta = TypInfo::DefineClass<Name, Name::inherited>(Name::StaticClassName); \
    return meta;                                                                                   \
  }                                                                                                \
  const TMetaClass* Name::ClassType() const { return StaticClass(); }

// Followed by the list's body, or by a semicolon when the class's .cpp gives it (PELTO_PUBLISH).
#define PELTO_PUBLISHED(p) \
public:                    \
  static void Published(TPublisher<ThisClass>& p)

#define PELTO_PUBLISH(Name, p) void Name::Published(TPublisher<Name>& p)

#define PELTO_ENUM(Name, ...)                                                  \
  enum Name { __VA_ARGS__ };                                                   \
  inline const TTypeInfo* TypeInfoFor(Name*)                                   \
  {                                                                            \
    static const TTypeInfo* type = TypInfo::MakeEnumType(#Name, #__VA_ARGS__); \
    return type;                                                               \
  }

#define PELTO_SET(Name, Element)                                                              \
  using Name = Set<Element>;                                                                  \
  inline const TTypeInfo* TypeInfoFor(Name*)                                                  \
  {                                                                                           \
    static const TTypeInfo* type = TypInfo::MakeSetType(#Name, TypInfo::TypeInfo<Element>()); \
    return type;                                                                              \
  }

#define PELTO_TYPE_ALIAS(Name, Base)                                                         \
  using Name = Base;                                                                         \
  inline const TTypeInfo* TypeInfo_##Name()                                                  \
  {                                                                                          \
    static const TTypeInfo* type = TypInfo::MakeAliasType(#Name, TypInfo::TypeInfo<Base>()); \
    return type;                                                                             \
  }

#define PELTO_EVENT_TYPE(Name, Signature)                                    \
  using Name = std::function<Signature>;                                     \
  inline const TTypeInfo* TypeInfo_##Name()                                  \
  {                                                                          \
    static const TTypeInfo* type = TypInfo::MakeSimpleType(#Name, tkMethod); \
    return type;                                                             \
  }
